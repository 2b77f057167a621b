#include "platform/net/UrlFetcher.h"

#include <curl/curl.h>
#include <mutex>

namespace vum::platform {

namespace {

struct Sink {
    std::FILE* file;
    long long bytes;
    long long maxBytes;
    bool tooLarge;
};

size_t WriteChunk(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const size_t total = size * count;
    if (static_cast<long long>(total) > sink->maxBytes - sink->bytes) {
        sink->tooLarge = true;
        return 0;
    }
    if (std::fwrite(data, 1, total, sink->file) != total)
        return 0; // makes curl stop with a write error
    sink->bytes += static_cast<long long>(total);
    return total;
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

FetchLimits& fetchLimits()
{
    static FetchLimits limits;
    return limits;
}

FetchResult FetchUrl(const std::string& url, std::FILE* out)
{
    InitCurlOnce();
    FetchResult result;
    CURL* curl = curl_easy_init();
    if (!curl) {
        result.error = "no transfer handle";
        return result;
    }
    const FetchLimits limits = fetchLimits();
    Sink sink{out, 0, limits.maxBytes, false};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
    // Give up on a stalled transfer instead of hanging the caller.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.maxSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "libPDF");
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    result.bytes = sink.bytes;
    result.tooLarge = sink.tooLarge || code == CURLE_FILESIZE_EXCEEDED;
    result.tooSlow = code == CURLE_OPERATION_TIMEDOUT;
    result.ok = code == CURLE_OK && std::fflush(out) == 0;
    if (!result.ok)
        result.error = curl_easy_strerror(code);
    return result;
}

} // namespace vum::platform
