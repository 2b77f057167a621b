#include "engine/util/TextLists.h"

#include <algorithm>

namespace vum {

std::string AsciiUpper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool SameTextAscii(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

std::string Trim(const std::string& text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ')
        ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ')
        --end;
    return text.substr(begin, end - begin);
}

int AlignmentFromText(const std::string& text)
{
    const std::string upper = AsciiUpper(text);
    if (upper == "CENTER")
        return 2;
    if (upper == "RIGHT")
        return 1;
    return 0;
}

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

} // namespace

std::vector<std::string> SplitList(const std::string& text, char separator)
{
    std::vector<std::string> items = SplitLines(text);
    if (items.size() != 1)
        return items;
    items.clear();
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            items.push_back(text.substr(start));
            return items;
        }
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::vector<std::string> SetStringsFromList(const std::string& text)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos)
            end = text.size();
        items.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

std::string JoinStrings(const std::vector<std::string>& items, char separator)
{
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            joined += separator;
        joined += items[i];
    }
    return joined;
}

bool IsUrl(const std::string& text)
{
    const std::string upper = AsciiUpper(text.substr(0, 8));
    return upper.starts_with("HTTP://") || upper.starts_with("HTTPS://") || upper.starts_with("FTP://");
}

} // namespace vum
