#pragma once

#include <cstdio>
#include <string>

namespace vum::platform {

struct FetchResult {
    bool ok = false;          // complete transfer with a success status
    long long bytes = 0;      // bytes written to the file
    bool tooLarge = false;    // stopped at the size cap
    bool tooSlow = false;     // stopped at the time limit
    std::string error;        // why it failed
};

// What one download may take: a picture larger than the readers' caps is of
// no use, and no caller should wait for a server without end.
struct FetchLimits {
    long long maxBytes = 1LL << 30;
    long maxSeconds = 120;
};

// The process-wide limits (tests lower them).
FetchLimits& fetchLimits();

// Downloads an http, https or ftp address into an open file. HTTP error
// statuses, broken transfers and transfers past the limits are failures.
FetchResult FetchUrl(const std::string& url, std::FILE* out);

} // namespace vum::platform
