#include "LocalServer.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "TempDir.h"
#include "TestEnvironment.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Debian's interpreter, which has the python3-* packages that
// scripts/install-deps.sh installs, before any other on the PATH.
std::string python()
{
    return fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

const char* const kAnnounce = R"PY(
import os, sys
def announce(port, port_file):
    with open(port_file + '.tmp', 'w') as f:
        f.write(str(port))
    os.replace(port_file + '.tmp', port_file)
    print('ready', flush=True)
)PY";

const char* const kHttp = R"PY(
import functools, http.server, sys
root, port_file = sys.argv[1:3]
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(('127.0.0.1', 0), functools.partial(Quiet, directory=root))
announce(server.server_port, port_file)
server.serve_forever()
)PY";

const char* const kFtp = R"PY(
import logging, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer
root, port_file, user, password, mode = sys.argv[1:6]
config_logging(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm='elradfmwMT')
class Dropping(DTPHandler):
    def handle_read(self):
        DTPHandler.handle_read(self)
        self.cmd_channel.close()
    handle_read_event = handle_read
class Handler(FTPHandler):
    pass
Handler.authorizer = authorizer
Handler.auth_failed_timeout = 0
Handler.dtp_handler = Dropping if mode == 'drop' else DTPHandler
server = FTPServer(('127.0.0.1', 0), Handler)
announce(server.socket.getsockname()[1], port_file)
server.serve_forever()
)PY";

} // namespace

LocalServer::LocalServer(const std::string& script, const std::vector<std::string>& args)
{
    static int serial = 0;
    const fs::path scratch = testenv::scratchDir().empty() ? fs::temp_directory_path() : fs::path(testenv::scratchDir());
    const std::string portFile = (scratch / ("vimo-port-" + std::to_string(::getpid()) + "-" +
                                                               std::to_string(++serial))).string();
    fs::remove(portFile);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        problem_ = "no pipe";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    const std::string code = std::string(kAnnounce) + script;
    std::vector<std::string> argv{python(), "-c", code, args.front(), portFile};
    argv.insert(argv.end(), args.begin() + 1, args.end());
    std::vector<char*> raw;
    for (std::string& a : argv)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    const int spawned = posix_spawnp(&pid_, raw[0], &actions, nullptr, raw.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    output_ = pipeFds[0];
    if (spawned != 0) {
        pid_ = 0;
        problem_ = "cannot start " + argv[0];
        return;
    }
    // Blocks until the server has announced itself or has died.
    std::string said;
    char c = 0;
    while (said.find('\n') == std::string::npos && ::read(output_, &c, 1) == 1)
        said += c;
    if (said != "ready\n") {
        problem_ = "the server did not start (is python3-pyftpdlib installed? scripts/install-deps.sh)";
        return;
    }
    port_ = std::stoi(readFile(portFile));
    fs::remove(portFile);
}

LocalServer::~LocalServer()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0)
        ::close(output_);
}

std::unique_ptr<LocalServer> LocalServer::http(const fs::path& root)
{
    return std::unique_ptr<LocalServer>(new LocalServer(kHttp, {root.string()}));
}

std::unique_ptr<LocalServer> LocalServer::ftp(const fs::path& root, const std::string& user,
                                              const std::string& password, bool dropMidTransfer)
{
    return std::unique_ptr<LocalServer>(
        new LocalServer(kFtp, {root.string(), user, password, dropMidTransfer ? "drop" : "keep"}));
}

std::string LocalServer::url(const std::string& scheme, const std::string& path) const
{
    return scheme + "://127.0.0.1:" + std::to_string(port_) + "/" + path;
}
