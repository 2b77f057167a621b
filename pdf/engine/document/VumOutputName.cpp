#include "engine/document/VumDocument.h"

#include "engine/util/TextLists.h"

#include <filesystem>

namespace vum {

namespace {

// The extension from the last "." of the file name part, dot included.
std::string ExtensionOf(const std::string& name)
{
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return name.substr(dot);
}

std::string SafeTitle(std::string title)
{
    for (char& c : title)
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return title;
}

// A relative name is taken from the working folder at the time the document
// starts, so that a later change of folder does not move the file that Show,
// PrintDoc and EmailDoc look for.
std::string FromWorkingFolder(const std::string& name)
{
    std::error_code error;
    const auto absolute = std::filesystem::absolute(name, error);
    return error ? name : absolute.string();
}

} // namespace

std::string TCustomVum::MakeOutputFileName(const std::string& folder, const std::string& name,
                                           const std::string& ownExtensions,
                                           const std::string& defaultExtension)
{
    std::string result = !name.empty() ? name : !outputFileName_.empty() ? outputFileName_ : fileName_;
    if (result.empty())
        result = title_.empty() ? "File" : SafeTitle(title_);
    if (result.back() == '.')
        result.pop_back();
    const std::string extension = AsciiUpper(ExtensionOf(result));
    if (extension.empty()) {
        result += defaultExtension;
    } else if (AsciiUpper(".pdf.jpg.jpeg.bmp.wmf.emf.vum").find(extension) != std::string::npos) {
        if (AsciiUpper(ownExtensions).find(extension) == std::string::npos)
            result = result.substr(0, result.size() - extension.size()) + defaultExtension;
    } else {
        result += defaultExtension;
    }
    if (!folder.empty()) {
        std::string base = std::filesystem::path(result).filename().string();
        result = folder + (folder.back() == '/' ? "" : "/") + base;
    } else {
        result = FromWorkingFolder(result);
    }
    outputFileName_ = result;
    return result;
}

} // namespace vum
