#include "ToolRunner.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempDir.h"

extern char** environ;

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

ToolResult runTool(const std::vector<std::string>& args, const std::string& input)
{
    ToolResult result;
    if (args.empty())
        return result;
    TempDir io;
    const std::string inPath = io.file("in"), outPath = io.file("out"), errPath = io.file("err");
    writeFile(inPath, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return result;
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

bool haveTool(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && access((std::filesystem::path(dir) / program).c_str(), X_OK) == 0)
            return true;
    return false;
}

::testing::AssertionResult toolsInstalled(std::initializer_list<const char*> programs)
{
    std::string missing;
    for (const char* p : programs)
        if (!haveTool(p))
            missing += std::string(missing.empty() ? "" : ", ") + p;
    if (missing.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "missing test tool(s): " << missing
                                         << " (scripts/install-deps.sh installs them)";
}

std::string magickConvert(std::vector<std::string> args, const std::string& path)
{
    args.insert(args.begin(), "convert");
    args.push_back(path);
    const ToolResult r = runTool(args);
    EXPECT_EQ(r.exitCode, 0) << path << ": " << r.err;
    return path;
}
