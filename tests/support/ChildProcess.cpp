#include "ChildProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

uint64_t addressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

std::vector<std::function<void()>>& preparations()
{
    static std::vector<std::function<void()>> steps;
    return steps;
}

int threadsRunning()
{
    std::error_code ec;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/self/task", ec), end; !ec && it != end; it.increment(ec))
        ++count;
    return count;
}

// Ends the helper threads the preparations know of, then gives threads that
// end by themselves (a name lookup's, say) time to go: generous, since a
// loaded machine may not run them for a while; they are gone in
// milliseconds otherwise.
bool downToOneThread()
{
    for (const auto& prepare : preparations())
        prepare();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (threadsRunning() > 1) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void watchdog(int)
{
    static const char message[] = "the child did not finish in time: a hang\n";
    [[maybe_unused]] auto n = ::write(2, message, sizeof message - 1);
    std::_Exit(3);
}

[[noreturn]] void runChild(const std::function<std::string()>& work, unsigned seconds, int out)
{
    std::signal(SIGALRM, watchdog);
    ::alarm(seconds);
    std::string text;
    try {
        text = work();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "the child threw: %s\n", e.what());
        std::_Exit(4);
    } catch (...) {
        std::fputs("the child threw\n", stderr);
        std::_Exit(4);
    }
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(out, text.data() + done, text.size() - done);
        if (n <= 0)
            std::_Exit(5);
        done += std::size_t(n);
    }
    std::_Exit(0);
}

} // namespace

void addForkPreparation(std::function<void()> prepare)
{
    preparations().push_back(std::move(prepare));
}

ChildOutcome runInChild(const std::function<std::string()>& work, unsigned seconds)
{
    if (!downToOneThread()) {
        std::fprintf(stderr, "not forked: %d threads still run, and a child forked beside them may wait for ever\n",
                     threadsRunning());
        return {};
    }
    int ends[2];
    if (::pipe(ends) != 0)
        return {};
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(ends[0]);
        ::close(ends[1]);
        return {};
    }
    if (child == 0) {
        ::close(ends[0]);
        runChild(work, seconds, ends[1]);
    }
    ::close(ends[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;)
        outcome.text.append(buffer, std::size_t(n));
    ::close(ends[0]);
    while (::waitpid(child, &outcome.status, 0) < 0 && errno == EINTR) {
    }
    outcome.finished = WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0;
    return outcome;
}

bool capAddressSpace(uint64_t headroom)
{
    if (kSanitized)
        return false;
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = addressSpaceInUse() + headroom;
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}
