#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vum {

// A position on a page of the document: page number (1-based) and a point
// in length units.
struct TCustomTarget {
    int32_t PageNumber = 0;
    int32_t X = 0;
    int32_t Y = 0;
};

// A position that links can name.
struct TCustomNameTarget : TCustomTarget {
    std::string Name;
};

// An entry of the outline tree. The root has no parent and no title; a
// node owns its children, in insertion order.
class TCustomVumBookmark : public TCustomTarget {
public:
    TCustomVumBookmark() = default;
    TCustomVumBookmark(TCustomVumBookmark* parent, const TCustomTarget& at, std::string title, bool open);
    virtual ~TCustomVumBookmark();
    TCustomVumBookmark(const TCustomVumBookmark&) = delete;
    TCustomVumBookmark& operator=(const TCustomVumBookmark&) = delete;

    std::vector<std::unique_ptr<TCustomVumBookmark>> Children;
    bool Open = true;
    TCustomVumBookmark* Parent = nullptr;
    std::string Title;
};

// Orders names ignoring ASCII letter case.
struct CaseBlindLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

using TNameTargets = std::map<std::string, std::unique_ptr<TCustomNameTarget>, CaseBlindLess>;
// Names used by links, as each link spelled them.
using TReferencedNames = std::set<std::string>;

} // namespace vum
