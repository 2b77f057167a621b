#include "engine/forms/LinkActions.h"

#include "engine/document/VumDocument.h"
#include "engine/forms/PdfField.h"
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

const char* ActionEventKey(uint8_t event)
{
    static const char* const keys[] = {"V", "E", "X", "F", "Fo", "K", "Bl", "D", "U"};
    return event < std::size(keys) ? keys[event] : "V";
}

std::vector<std::string> LinkActionLines(const TPdfCanvas& canvas, const std::string& link, int32_t number)
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
    return {"/S/GoTo", "/D" + canvas.EncodeString(link, number)};
}

std::vector<std::string> FieldActionLines(const TPdfCanvas& canvas, const TPdfAction& action,
                                          const std::vector<const TPdfField*>& fields)
{
    const int32_t n = action.ObjectNumber;
    switch (action.Kind) {
    case 0: return LinkActionLines(canvas, action.Text, n);
    case 1: return {"/S/Hide", "/T " + canvas.TextString(action.Text, n), "/H true"};
    case 2: return {"/S/Hide", "/T " + canvas.TextString(action.Text, n), "/H false"};
    case 3: {
        // The exported fields as literal strings: bare names are not valid
        // array entries.
        std::string names;
        for (const TPdfField* f : fields)
            if (f->CanExport)
                names += (names.empty() ? "" : " ") + canvas.TextString(f->Name, n);
        return {"/S/SubmitForm", "/F " + canvas.EncodeString(action.Text, n), "/Fields[" + names + "]",
                "/Flags 4"};
    }
    case 4: return {"/S/ResetForm"};
    case 5: return {"/S/ImportData", "/F " + canvas.EncodeString(action.Text, n)};
    case 6: return {"/S/JavaScript", "/JS " + canvas.TextString(action.Text, n)};
    default: RaiseContextError("Invalid method call", "SetAction");
    }
}

} // namespace vum
