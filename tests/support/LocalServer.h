#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// A server on 127.0.0.1 run by Python for the length of a test: it binds
// port 0, writes the port it got into a file and says "ready" on its output,
// which the constructor waits for (no polling: a server that dies before
// that ends the wait at once). The destructor stops it, however the test ends.
class LocalServer {
public:
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // Serves the files of `root` over HTTP; missing files answer 404.
    static std::unique_ptr<LocalServer> http(const std::filesystem::path& root);

    // An FTP server (pyftpdlib) whose one user has `root` as home and every
    // right there. With `dropMidTransfer` it hangs up on the client as soon as
    // the first bytes of an upload have arrived.
    static std::unique_ptr<LocalServer> ftp(const std::filesystem::path& root, const std::string& user,
                                            const std::string& password, bool dropMidTransfer = false);

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    // Why it is not running; "" when it is.
    const std::string& problem() const { return problem_; }
    std::string url(const std::string& scheme, const std::string& path = "") const;

private:
    LocalServer(const std::string& script, const std::vector<std::string>& args);

    pid_t pid_ = 0;
    int output_ = -1;
    int port_ = 0;
    std::string problem_;
};
