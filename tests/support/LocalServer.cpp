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
    args.insert(args.begin(), {"-c", script});
    start(std::move(args));
}

LocalServer::LocalServer(const ScriptFile& script, std::vector<std::string> args) : portFile_(freshPortFile())
{
    args.insert(args.begin(), script.path);
    start(std::move(args));
}

void LocalServer::start(std::vector<std::string> args)
{
    args.insert(args.begin(), python());
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

// The mode argument of ftp_server.py.
std::string modeOf(FtpServer::Fault fault, const std::string& knobs)
{
    std::string name = "keep";
    switch (fault) {
    case FtpServer::Fault::HangUp:
        name = "drop";
        break;
    case FtpServer::Fault::CutShort:
        name = "cut";
        break;
    case FtpServer::Fault::Stall:
        name = "stall";
        break;
    case FtpServer::Fault::Slow:
        name = "slow";
        break;
    case FtpServer::Fault::StopsReading:
        name = "stop-reading";
        break;
    case FtpServer::Fault::NoFinalAnswer:
        name = "no-final-answer";
        break;
    case FtpServer::Fault::EndlessCwdReply:
        name = "endless-cwd";
        break;
    case FtpServer::Fault::StartInPwdReply:
        name = "start-in-pwd";
        break;
    case FtpServer::Fault::LoginBy202:
        name = "login-202";
        break;
    case FtpServer::Fault::LoginAtUser:
        name = "login-at-user";
        break;
    case FtpServer::Fault::NoSize:
        name = "no-size";
        break;
    case FtpServer::Fault::BigBuffer:
        name = "rcvbuf";
        break;
    case FtpServer::Fault::NoQuit:
        name = "no-quit";
        break;
    case FtpServer::Fault::QuitAfterData:
        name = "quit-after-data";
        break;
    case FtpServer::Fault::HangUpAfter226:
        name = "hang-up-after-226";
        break;
    case FtpServer::Fault::ExitAfter:
        name = "exit-after";
        break;
    case FtpServer::Fault::None:
        break;
    }
    return knobs.empty() ? name : name + "=" + knobs;
}

} // namespace

FtpServer::FtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
                     Fault fault, const std::string& knobs)
    : server_(LocalServer::ScriptFile{VIMO_FTP_SERVER_SCRIPT}, {root.string(), user, password, modeOf(fault, knobs)}),
      root_(root)
{
}

namespace {

std::string modeOf(const std::vector<std::pair<FtpServer::Fault, std::string>>& faults)
{
    // Appended in place: GCC 12 at -O3 takes the string operator+ makes of
    // "+" and a temporary for copies that overlap (-Wrestrict).
    std::string mode;
    for (const auto& [fault, knobs] : faults) {
        if (!mode.empty())
            mode += '+';
        mode += modeOf(fault, knobs);
    }
    return mode.empty() ? modeOf(FtpServer::Fault::None, {}) : mode;
}

} // namespace

FtpServer::FtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
                     const std::vector<std::pair<Fault, std::string>>& faults)
    : server_(LocalServer::ScriptFile{VIMO_FTP_SERVER_SCRIPT}, {root.string(), user, password, modeOf(faults)}),
      root_(root)
{
}

int FtpServer::uploadsAsked() const
{
    std::string root = root_.string();
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    std::ifstream noted(root + ".stors");
    int lines = 0;
    for (std::string line; std::getline(noted, line);)
        ++lines;
    return lines;
}

std::string FtpServer::hostAndPort() const
{
    return "127.0.0.1:" + std::to_string(port());
}
