#include "PipeWatchdog.h"

#include <chrono>
#include <fcntl.h>
#include <unistd.h>

PipeWatchdog::PipeWatchdog(std::vector<std::string> pipes, std::string bytes)
    : pipes_(std::move(pipes)), bytes_(std::move(bytes)), thread_([this] { watch(); })
{
}

PipeWatchdog::~PipeWatchdog()
{
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool PipeWatchdog::fed() const
{
    const std::lock_guard lock(mutex_);
    return fed_;
}

void PipeWatchdog::watch()
{
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, std::chrono::minutes(1), [this] { return done_; }))
        return;
    fed_ = true;
    // A pipe can be opened for writing without waiting only while a reader
    // has it open; a reader may come back for more, so every pipe is fed
    // whenever one waits, until the test has ended.
    while (!done_) {
        for (const std::string& pipe : pipes_) {
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0)
                continue;
            [[maybe_unused]] const auto n = ::write(fd, bytes_.data(), bytes_.size());
            ::close(fd);
        }
        wake_.wait_for(lock, std::chrono::milliseconds(100), [this] { return done_; });
    }
}
