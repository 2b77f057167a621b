#pragma once

#include <cstdio>
#include <string>

namespace vum::platform {

struct FetchResult {
    bool ok = false;          // complete transfer with a success status
    long long bytes = 0;      // bytes written to the file
    std::string error;        // why it failed
};

// Downloads an http, https or ftp address into an open file. HTTP error
// statuses and broken transfers are failures.
FetchResult FetchUrl(const std::string& url, std::FILE* out);

} // namespace vum::platform
