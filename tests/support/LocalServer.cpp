#include "LocalServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

std::filesystem::path freshPortFile()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vimo-port-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd >= 0)
        ::close(fd);
    return pattern;
}

// Debian's interpreter, which has the python3-* modules that
// scripts/install-deps.sh installs, before any other on the PATH.
std::string python()
{
    return ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

int readPort(const std::filesystem::path& file)
{
    std::ifstream in(file);
    int port = 0;
    in >> port;
    return in ? port : 0;
}

} // namespace

LocalServer::LocalServer(const std::string& script, std::vector<std::string> args)
    : portFile_(freshPortFile())
{
    args.insert(args.begin(), {python(), "-c", script});
    args.push_back(portFile_.string());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        pid_ = 0;
        return;
    }
    // A loaded machine can take seconds to start python; the minute only
    // catches a server that never comes up.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while ((port_ = readPort(portFile_)) == 0 && std::chrono::steady_clock::now() < giveUp) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

LocalServer::~LocalServer()
{
    if (pid_) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    std::error_code ec;
    std::filesystem::remove(portFile_, ec);
}

namespace {

// The port is written only once the socket listens, so a client that reads it
// can connect at once.
const char* const kHttpScript =
    "import http.server,functools,sys\n"
    "h=functools.partial(http.server.SimpleHTTPRequestHandler,directory=sys.argv[1])\n"
    "s=http.server.ThreadingHTTPServer(('127.0.0.1',0),h)\n"
    "p=sys.argv[2]\n"
    "open(p+'.tmp','w').write(str(s.server_port))\n"
    "import os; os.replace(p+'.tmp',p)\n"
    "s.serve_forever()\n";

} // namespace

HttpServer::HttpServer(const std::filesystem::path& root) : server_(kHttpScript, {root.string()}) {}

std::string HttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(port()) + "/" + path;
}

namespace {

// The handler's own read is bound to the read event too, so the dropping
// handler binds both.
const char* const kFtpScript = R"PY(
import logging, os, sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import FTPServer
root, user, password, mode_name, port_file = sys.argv[1:6]
config_logging(level=logging.CRITICAL)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm='elradfmwMT')
class Dropping(DTPHandler):
    def handle_read(self):
        DTPHandler.handle_read(self)
        self.cmd_channel.close()
    handle_read_event = handle_read
class Cutting(DTPHandler):
    ac_in_buffer_size = 1000
    def handle_read(self):
        DTPHandler.handle_read(self)
        self.handle_close()
    handle_read_event = handle_read
class Slow(ThrottledDTPHandler):
    read_limit = 100 * 1024
class Handler(FTPHandler):
    # A stalling server notes the upload it was asked for, then never answers.
    def ftp_STOR(self, file, mode='w'):
        if mode_name != 'stall':
            return FTPHandler.ftp_STOR(self, file, mode)
        with open(root.rstrip('/') + '.stalled', 'a') as noted:
            noted.write(file + '\n')
Handler.authorizer = authorizer
Handler.auth_failed_timeout = 0
Handler.dtp_handler = {'drop': Dropping, 'cut': Cutting, 'slow': Slow}.get(mode_name, DTPHandler)
server = FTPServer(('127.0.0.1', 0), Handler)
open(port_file + '.tmp', 'w').write(str(server.socket.getsockname()[1]))
os.replace(port_file + '.tmp', port_file)
server.serve_forever()
)PY";

std::string modeName(FtpServer::Fault fault)
{
    switch (fault) {
    case FtpServer::Fault::HangUp:
        return "drop";
    case FtpServer::Fault::CutShort:
        return "cut";
    case FtpServer::Fault::Stall:
        return "stall";
    case FtpServer::Fault::Slow:
        return "slow";
    case FtpServer::Fault::None:
        break;
    }
    return "keep";
}

} // namespace

FtpServer::FtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
                     Fault fault)
    : server_(kFtpScript, {root.string(), user, password, modeName(fault)}), root_(root)
{
}

int FtpServer::stalledUploads() const
{
    std::string root = root_.string();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    std::ifstream noted(root + ".stalled");
    int lines = 0;
    for (std::string line; std::getline(noted, line);)
        ++lines;
    return lines;
}

std::string FtpServer::hostAndPort() const
{
    return "127.0.0.1:" + std::to_string(port());
}
