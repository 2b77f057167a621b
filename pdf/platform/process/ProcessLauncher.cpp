#include "platform/process/ProcessLauncher.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vum::platform {

int RunProgram(const std::vector<std::string>& args)
{
    if (args.empty())
        return -1;
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace vum::platform
