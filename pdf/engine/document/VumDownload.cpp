#include "engine/document/VumDocument.h"

#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"
#include "platform/net/UrlFetcher.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vum {

namespace {

// The extension of the address's last path segment when it is a plain one
// (1 to 8 letters or digits), "" otherwise: the address may hold "/", "?"
// or ".." that must never reach a file name.
std::string UrlExtension(const std::string& url)
{
    std::string path = url.substr(0, url.find_first_of("?#"));
    const size_t scheme = path.find("://");
    if (scheme != std::string::npos)
        path.erase(0, scheme + 3);
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    const std::string segment = path.substr(slash + 1);
    const size_t dot = segment.find_last_of('.');
    if (dot == std::string::npos)
        return {};
    const std::string extension = segment.substr(dot + 1);
    if (extension.empty() || extension.size() > 8)
        return {};
    for (const char c : extension)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return {};
    return "." + extension;
}

// Creates the first free "Download<n><ext>" exclusively; returns its name.
std::FILE* CreateFreshFile(const std::string& folder, const std::string& extension, std::string& name)
{
    for (int n = 1; n < 100000; ++n) {
        name = folder + "Download" + IntText(n) + extension;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            return ::fdopen(fd, "wb");
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

} // namespace

std::string TCustomVum::DownloadToTempFile(const std::string& url)
{
    if (!IsUrl(url))
        RaiseDocumentError("File not found", url);
    std::string name;
    std::FILE* file = CreateFreshFile(TempFolder(), UrlExtension(url), name);
    if (!file)
        RaiseDocumentError("Can't open file", TempFolder());
    const platform::FetchResult result = platform::FetchUrl(url, file);
    const bool closed = std::fclose(file) == 0;
    if (!result.ok || !closed || result.bytes == 0) {
        std::error_code ignored;
        std::filesystem::remove(name, ignored);
        if (result.tooLarge)
            RaiseDocumentError("Download larger than " + IntText(platform::fetchLimits().maxBytes) + " bytes", url);
        if (result.tooSlow)
            RaiseDocumentError("Download took longer than " + IntText(platform::fetchLimits().maxSeconds) + " seconds", url);
        RaiseDocumentError("File not found", url);
    }
    tempFiles_.push_back(name);
    return name;
}

} // namespace vum
