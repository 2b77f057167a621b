#include "platform/fonts/TrueTypeSubset.h"

#include "platform/fonts/FontError.h"
#include "platform/fonts/Sfnt.h"

#include <algorithm>
#include <vector>

namespace vum::fonts {

namespace {

constexpr uint16_t kArgsAreWords = 0x0001;
constexpr uint16_t kHaveScale = 0x0008;
constexpr uint16_t kMoreComponents = 0x0020;
constexpr uint16_t kHaveXYScale = 0x0040;
constexpr uint16_t kHaveTwoByTwo = 0x0080;

std::string requireTable(const FontFace& face, const char (&name)[5])
{
    auto data = face.table(sfntTag(name));
    if (!data)
        throw FontError(std::string("font has no '") + name + "' table");
    return *data;
}

// Glyph offsets of the 'loca' table, numGlyphs + 1 of them, checked to be in
// order and inside 'glyf'.
std::vector<uint32_t> readLoca(const std::string& loca, bool longOffsets, uint32_t numGlyphs,
                               size_t glyfSize)
{
    std::vector<uint32_t> offsets(numGlyphs + 1);
    for (uint32_t i = 0; i <= numGlyphs; ++i) {
        offsets[i] = longOffsets ? readU32(loca, 4 * size_t(i)) : 2u * readU16(loca, 2 * size_t(i));
        if (offsets[i] > glyfSize || (i && offsets[i] < offsets[i - 1]))
            throw FontError("damaged 'loca' table");
    }
    return offsets;
}

class GlyphSource {
public:
    explicit GlyphSource(const FontFace& face)
        : head_(requireTable(face, "head")), glyf_(requireTable(face, "glyf"))
    {
        const std::string maxp = requireTable(face, "maxp");
        numGlyphs_ = readU16(maxp, 4);
        const bool longOffsets = readS16(head_, 50) != 0;
        loca_ = readLoca(requireTable(face, "loca"), longOffsets, numGlyphs_, glyf_.size());
    }

    uint32_t numGlyphs() const { return numGlyphs_; }
    std::string_view glyph(uint32_t id) const
    {
        if (id >= numGlyphs_)
            return {};
        return std::string_view(glyf_).substr(loca_[id], loca_[id + 1] - loca_[id]);
    }
    const std::string& head() const { return head_; }

private:
    std::string head_;
    std::string glyf_;
    std::vector<uint32_t> loca_;
    uint32_t numGlyphs_ = 0;
};

// Adds to the set every glyph that a glyph in it is built of, at any depth.
void closeOverComponents(const GlyphSource& source, std::set<uint32_t>& glyphs)
{
    std::vector<uint32_t> pending(glyphs.begin(), glyphs.end());
    while (!pending.empty()) {
        const uint32_t id = pending.back();
        pending.pop_back();
        for (uint32_t part : compositeComponents(source.glyph(id)))
            if (part < source.numGlyphs() && glyphs.insert(part).second)
                pending.push_back(part);
    }
}

std::string subsetHmtx(const FontFace& face, uint32_t newCount, uint16_t& newMetrics)
{
    const std::string hhea = requireTable(face, "hhea");
    const std::string hmtx = requireTable(face, "hmtx");
    const uint32_t longMetrics = std::max<uint32_t>(1, readU16(hhea, 34));
    newMetrics = static_cast<uint16_t>(std::min(longMetrics, newCount));
    // Full metrics, then bare side bearings: the same layout as the source, so
    // the subset is a prefix of it.
    const size_t size = 4 * size_t(newMetrics) + 2 * size_t(newCount - newMetrics);
    std::string out = hmtx.substr(0, std::min(size, hmtx.size()));
    out.resize(size, '\0');
    return out;
}

std::string versionThreePost(const FontFace& face)
{
    std::string post = face.table(sfntTag("post")).value_or(std::string(32, '\0'));
    post.resize(32, '\0');
    writeU32(post, 0, 0x00030000); // no glyph names: the glyphs are reached by number
    return post;
}

} // namespace

std::set<uint32_t> compositeComponents(std::string_view glyph)
{
    std::set<uint32_t> parts;
    if (glyph.size() < 10 || readS16(glyph, 0) >= 0)
        return parts;
    size_t at = 10;
    uint16_t flags = kMoreComponents;
    while ((flags & kMoreComponents) && at + 4 <= glyph.size()) {
        flags = readU16(glyph, at);
        parts.insert(readU16(glyph, at + 2));
        at += 4 + ((flags & kArgsAreWords) ? 4 : 2);
        if (flags & kHaveScale)
            at += 2;
        else if (flags & kHaveXYScale)
            at += 4;
        else if (flags & kHaveTwoByTwo)
            at += 8;
    }
    return parts;
}

std::string subsetTrueType(const FontFace& face, std::set<uint32_t> glyphs)
{
    if (!face.metrics().hasGlyfOutlines)
        throw FontError("font has no TrueType outlines");
    const GlyphSource source(face);
    glyphs.insert(0);
    closeOverComponents(source, glyphs);
    while (!glyphs.empty() && *glyphs.rbegin() >= source.numGlyphs())
        glyphs.erase(std::prev(glyphs.end()));
    const uint32_t newCount = glyphs.empty() ? 1 : *glyphs.rbegin() + 1;

    std::string glyf, loca;
    for (uint32_t id = 0; id < newCount; ++id) {
        appendU32(loca, static_cast<uint32_t>(glyf.size()));
        if (glyphs.count(id)) {
            glyf += source.glyph(id);
            glyf.append((4 - glyf.size() % 4) % 4, '\0');
        }
    }
    appendU32(loca, static_cast<uint32_t>(glyf.size()));

    std::string head = source.head();
    writeU16(head, 50, 1); // long 'loca' offsets
    std::string maxp = requireTable(face, "maxp");
    writeU16(maxp, 4, static_cast<uint16_t>(newCount));
    uint16_t longMetrics = 0;
    std::string hmtx = subsetHmtx(face, newCount, longMetrics);
    std::string hhea = requireTable(face, "hhea");
    writeU16(hhea, 34, longMetrics);

    std::vector<SfntTable> tables = {
        {sfntTag("head"), std::move(head)}, {sfntTag("hhea"), std::move(hhea)},
        {sfntTag("maxp"), std::move(maxp)}, {sfntTag("hmtx"), std::move(hmtx)},
        {sfntTag("loca"), std::move(loca)}, {sfntTag("glyf"), std::move(glyf)},
        {sfntTag("post"), versionThreePost(face)},
    };
    // Hinting programs and the metrics tables that renderers consult.
    for (uint32_t tag : {sfntTag("cvt "), sfntTag("fpgm"), sfntTag("prep"), sfntTag("OS/2"), sfntTag("name")}) {
        if (auto data = face.table(tag))
            tables.push_back({tag, std::move(*data)});
    }
    return buildSfnt(std::move(tables));
}

} // namespace vum::fonts
