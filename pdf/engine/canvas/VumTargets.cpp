#include "engine/canvas/VumTargets.h"

#include <algorithm>
#include <cctype>

namespace vum {

TCustomVumBookmark::TCustomVumBookmark(TCustomVumBookmark* parent, const TCustomTarget& at, std::string title,
                                       bool open)
    : TCustomTarget(at), Open(open), Parent(parent), Title(std::move(title))
{
}

TCustomVumBookmark::~TCustomVumBookmark() = default;

bool CaseBlindLess::operator()(const std::string& a, const std::string& b) const
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace vum
