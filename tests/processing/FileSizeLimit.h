#pragma once

#include <csignal>
#include <sys/resource.h>

// Caps the size of the files this process may write, which stands in for a
// full disk: a write past the cap fails as it would on a full disk. The old
// cap comes back when it goes out of scope, even when an assertion leaves the
// test early.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old_;
        small.rlim_cur = bytes;
        set_ = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool set() const { return set_; }

private:
    rlimit old_ {};
    void (*oldHandler_)(int) = nullptr;
    bool set_ = false;
};
