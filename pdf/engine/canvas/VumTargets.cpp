#include "engine/canvas/VumTargets.h"

#include <algorithm>
#include <cctype>

namespace vum {

TCustomVumBookmark::TCustomVumBookmark(TCustomVumBookmark* parent, const TCustomTarget& at, std::string title,
                                       bool open)
    : TCustomTarget(at), Open(open), Parent(parent), Title(std::move(title))
{
}

TCustomVumBookmark::~TCustomVumBookmark()
{
    // One level at a time, not by recursion: outlines may nest as deep as a
    // caller makes them.
    std::vector<std::unique_ptr<TCustomVumBookmark>> pending = std::move(Children);
    while (!pending.empty()) {
        std::unique_ptr<TCustomVumBookmark> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->Children)
            pending.push_back(std::move(child));
        node->Children.clear();
    }
}

bool CaseBlindLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace vum
