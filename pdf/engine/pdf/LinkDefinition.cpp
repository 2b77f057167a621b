#include "engine/pdf/LinkDefinition.h"

#include "engine/document/VumDocument.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/VumError.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vum {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

// A name with a folder is looked up as it stands; a bare name beside the
// document's output file.
bool FileExists(const TPdfCanvas& canvas, const std::string& name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path path(name);
    if (!path.has_parent_path())
        path = fs::path(canvas.Document().OutputFileName()).parent_path() / path;
    return fs::is_regular_file(path, ec);
}

} // namespace

std::vector<std::string> LinkActionLines(TPdfCanvas& canvas, const std::string& link, int32_t number)
{
    for (const char* named : {"NextPage", "PrevPage", "FirstPage", "LastPage"})
        if (SameIgnoringCase(link, named))
            return {"/S/Named", std::string("/N/") + named};

    const size_t colon = link.find(':');
    if (colon != std::string::npos) {
        const std::string scheme = link.substr(0, colon);
        for (const char* s : {"HTTP", "HTTPS", "FTP", "MAILTO"})
            if (SameIgnoringCase(scheme, s))
                return {"/S/URI", "/URI" + canvas.EncodeString(link, number)};
    }

    const size_t bar = link.find('|');
    if (bar != std::string::npos) {
        const std::string file = link.substr(0, bar);
        const std::string extension = std::filesystem::path(file).extension().string();
        if (!SameIgnoringCase(extension, ".pdf") || !FileExists(canvas, file))
            RaiseContextError("Invalid link definition", link);
        return {"/S/GoToR", "/F" + canvas.EncodeString(file, number),
                "/D" + canvas.EncodeString(link.substr(bar + 1), number), "/NewWindow true"};
    }

    if (!link.empty() && FileExists(canvas, link)) {
        std::string slashed = link;
        std::replace(slashed.begin(), slashed.end(), '\\', '/');
        return {"/S/Launch/F" + canvas.EncodeString(slashed, number)};
    }
    canvas.ReferenceName(link);
    return {"/S/GoTo", "/D" + canvas.EncodeString(link, number)};
}

} // namespace vum
