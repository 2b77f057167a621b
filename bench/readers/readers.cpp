// Loads every crafted reader file in a child process of its own and prints the
// file's size, the wall time and the child's peak memory, and what came of it.
// A child that runs past the limit (READERS_BENCH_LIMIT seconds, default 300)
// is stopped and reported as such.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "crafted/CraftedFiles.h"
#include "imaging/PictureLoader.h"

namespace {

[[noreturn]] void load(const std::string& file, int out)
{
    std::string text;
    try {
        vum::TGraphicClassRef graphicClass = vum::FindPictureClass(file);
        if (!graphicClass) {
            text = "no reader";
        } else {
            auto picture = vum::LoadPictureFile(file, graphicClass);
            text = "loaded " + std::to_string(picture->Width()) + "x" + std::to_string(picture->Height());
        }
    } catch (const std::exception& e) {
        text = std::string("error: ") + e.what();
    }
    [[maybe_unused]] auto n = ::write(out, text.data(), text.size());
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv)
{
    std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "reader-bench";
    std::filesystem::create_directories(folder);
    const char* limitText = std::getenv("READERS_BENCH_LIMIT");
    unsigned limit = limitText ? unsigned(std::atoi(limitText)) : 300;
    std::printf("%-40s %10s %9s %9s  %s\n", "case", "bytes", "seconds", "peak MB", "result");
    for (const CraftedCase& c : craftedCases()) {
        std::string file = writeCrafted(folder.string(), c);
        int ends[2];
        if (::pipe(ends) != 0)
            return 1;
        std::fflush(nullptr);
        auto start = std::chrono::steady_clock::now();
        pid_t child = ::fork();
        if (child == 0) {
            ::close(ends[0]);
            ::alarm(limit);
            load(file, ends[1]);
        }
        ::close(ends[1]);
        std::string text;
        char buffer[256];
        for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, std::size_t(n));
        ::close(ends[0]);
        int status = 0;
        rusage usage{};
        ::wait4(child, &status, 0, &usage);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (WIFSIGNALED(status))
            text = WTERMSIG(status) == SIGALRM ? "stopped after " + std::to_string(limit) + " s" : "crashed";
        std::printf("%-40s %10zu %9.2f %9.1f  %s\n", c.name.c_str(), std::filesystem::file_size(file), seconds,
                    double(usage.ru_maxrss) / 1024, text.c_str());
        std::filesystem::remove(file);
        std::error_code ignored;
        std::filesystem::remove(std::filesystem::path(file).replace_extension(".pal"), ignored);
    }
    return 0;
}
