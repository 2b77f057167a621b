#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// A helper server on 127.0.0.1 for tests: a Python script that binds port 0,
// writes the port it got into the file named by its last argument, then
// serves. Binding port 0 in the server itself means no other process can take
// the port between choosing and binding it. The server is stopped however the
// test ends; left running it would hold the test's output open.
class LocalServer {
public:
    struct ScriptFile {
        std::string path;
    };
    // The script's text, or the file that holds it, and its arguments.
    LocalServer(const std::string& script, std::vector<std::string> args);
    LocalServer(const ScriptFile& script, std::vector<std::string> args);
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // False when the server did not report its port within a minute.
    bool running() const { return port_ > 0; }
    int port() const { return port_; }

private:
    // Starts python with `args` and the port file.
    void start(std::vector<std::string> args);

    std::filesystem::path portFile_;
    pid_t pid_ = 0;
    int port_ = 0;
};

// An FTP server (pyftpdlib, support/ftp_server.py) whose one user has `root`
// as home and every right there, well behaved or with one fault. `knobs` are
// the fault's numbers, comma-separated; empty for its defaults.
class FtpServer {
public:
    enum class Fault {
        None,
        HangUp,           // hangs up on the client as soon as the first bytes of an upload have arrived
        CutShort,         // keeps the first knob bytes (1000) of an upload, closes the data connection and answers 226
        Stall,            // lets the user in, then never answers an upload's STOR
        Slow,             // takes an upload's bytes at knob bytes/s (100 KB), answering once it has them all
        StopsReading,     // stops reading an upload after knob bytes (100 KB) and never answers
        NoFinalAnswer,    // takes every byte of an upload, keeps it and never answers
        EndlessCwdReply,  // answers CWD with one more reply line every knob s (5), ending after knob lines (never)
        StartInPwdReply,  // puts a "150" line in a PWD reply it never ends, then holds commands knob s (for ever)
        LoginBy202,       // answers the right password with 202 (no password needed) instead of 230
        LoginAtUser,      // lets the user in at USER with 230, asking no password
        NoSize,           // refuses SIZE with the knob's code (550): an account that may store but not list
        BigBuffer,        // each data connection's system takes in knob bytes (4 MB) before the server reads them
        NoQuit,           // never answers QUIT
        QuitAfterData,    // answers QUIT only once its data connection has closed, after taking all that comes
        HangUpAfter226,   // closes the control connection right after its final answer to the data
        ExitAfter,        // ends after knob s (60), closing every connection: a guard against endless waits
    };
    FtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
              Fault fault = Fault::None, const std::string& knobs = {});
    // Several faults at once, each with its knobs.
    FtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
              const std::vector<std::pair<Fault, std::string>>& faults);
    bool running() const { return server_.running(); }
    int port() const { return server_.port(); }
    // "127.0.0.1:port", as a user types a server with its port.
    std::string hostAndPort() const;
    // The uploads (STOR) the server has been asked for.
    int uploadsAsked() const;

private:
    LocalServer server_;
    std::filesystem::path root_;
};

// python's http.server serving one folder.
class HttpServer {
public:
    explicit HttpServer(const std::filesystem::path& root);
    bool running() const { return server_.running(); }
    int port() const { return server_.port(); }
    std::string url(const std::string& path) const;

private:
    LocalServer server_;
};
