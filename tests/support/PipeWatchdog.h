#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// For a test that must not open a named pipe: opening one that nobody writes
// waits for ever. Should the test still be running after a minute, the
// watchdog feeds every pipe `bytes` and closes it, so whatever waited goes
// on with that content (which the test can then see, and fail). The minute
// only catches a hang; the pipes are fed again each time a reader waits on
// one. Ends when it goes out of scope.
class PipeWatchdog {
public:
    PipeWatchdog(std::vector<std::string> pipes, std::string bytes);
    ~PipeWatchdog();
    PipeWatchdog(const PipeWatchdog&) = delete;
    PipeWatchdog& operator=(const PipeWatchdog&) = delete;

    // Whether the test ran past the minute and the pipes were fed.
    bool fed() const;

private:
    void watch();

    std::vector<std::string> pipes_;
    std::string bytes_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    bool fed_ = false;
    std::thread thread_;
};
