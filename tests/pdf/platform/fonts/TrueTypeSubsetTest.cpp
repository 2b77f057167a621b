#include "platform/fonts/FontError.h"
#include "platform/fonts/Sfnt.h"
#include "platform/fonts/TrueTypeSubset.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

using namespace vum::fonts;

namespace {

// Outline size of a glyph as FreeType loads it, composites resolved.
struct OutlineShape {
    int points = -1;
    int contours = -1;
    bool operator==(const OutlineShape&) const = default;
};

class LoadedFont {
public:
    explicit LoadedFont(const std::string& bytes) : bytes_(bytes)
    {
        FT_Init_FreeType(&lib_);
        ok_ = FT_New_Memory_Face(lib_, reinterpret_cast<const FT_Byte*>(bytes_.data()),
                                 static_cast<FT_Long>(bytes_.size()), 0, &face_) == 0;
    }
    LoadedFont(const std::string& file, int index)
    {
        FT_Init_FreeType(&lib_);
        ok_ = FT_New_Face(lib_, file.c_str(), index, &face_) == 0;
    }
    ~LoadedFont()
    {
        if (face_)
            FT_Done_Face(face_);
        FT_Done_FreeType(lib_);
    }
    bool ok() const { return ok_; }
    long glyphCount() const { return face_->num_glyphs; }
    OutlineShape shape(uint32_t glyph) const
    {
        if (FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0)
            return {};
        return {face_->glyph->outline.n_points, face_->glyph->outline.n_contours};
    }
    long advance(uint32_t glyph) const
    {
        FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING);
        return face_->glyph->metrics.horiAdvance;
    }

private:
    std::string bytes_;
    FT_Library lib_ = nullptr;
    FT_Face face_ = nullptr;
    bool ok_ = false;
};

std::shared_ptr<FontFace> openFamily(const char* family)
{
    auto where = FontLocator::match(family, false, false);
    if (!where)
        throw FontError("no font");
    return FontFace::open(*where);
}

} // namespace

TEST(TrueTypeSubset, KeepsTheGlyphsUsedWithTheirNumbersAndDropsTheRest)
{
    for (const char* family : {"Arial", "黑体"}) {
        SCOPED_TRACE(family);
        auto face = openFamily(family);
        std::set<uint32_t> used;
        for (char32_t c : std::u32string(U"Vimo图片集 Łódź"))
            if (uint32_t g = face->glyphOf(c))
                used.insert(g);
        const std::string subset = subsetTrueType(*face, used);

        LoadedFont original(face->location().file, face->location().index);
        LoadedFont loaded(subset);
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded.glyphCount(), static_cast<long>(*used.rbegin()) + 1);
        for (uint32_t g : used) {
            EXPECT_EQ(loaded.shape(g), original.shape(g)) << "glyph " << g;
            EXPECT_EQ(loaded.advance(g), original.advance(g)) << "glyph " << g;
        }
        // A glyph that was not asked for is empty.
        uint32_t unused = 1;
        while (used.count(unused))
            ++unused;
        if (original.shape(unused).points > 0) {
            EXPECT_EQ(loaded.shape(unused).points, 0);
        }
        EXPECT_LT(subset.size(), face->standaloneFont().size());
    }
}

TEST(TrueTypeSubset, BringsAlongTheGlyphsThatCompositesAreBuiltOf)
{
    auto face = openFamily("Arial");
    auto glyf = face->table(sfntTag("glyf"));
    ASSERT_TRUE(glyf);
    LoadedFont original(face->location().file, 0);
    // Accented letters of Liberation Sans are composites of base and accent.
    int composites = 0;
    for (char32_t c : std::u32string(U"ÁÉÍÓÚáéíóúÄÖÜäöüĄąŻżŹźĆćŃńŚśĘęČčŠšŽž")) {
        const uint32_t glyph = face->glyphOf(c);
        const std::string subset = subsetTrueType(*face, {glyph});
        LoadedFont loaded(subset);
        ASSERT_TRUE(loaded.ok());
        EXPECT_EQ(loaded.shape(glyph), original.shape(glyph)) << "U+" << std::hex << uint32_t(c);
        EXPECT_GT(loaded.shape(glyph).points, 0);
        composites += loaded.glyphCount() > static_cast<long>(glyph) + 1 ||
                      original.shape(glyph).contours > 1;
    }
    EXPECT_GT(composites, 0);
}

TEST(TrueTypeSubset, RejectsDamagedTables)
{
    // A composite whose record is cut short yields only what is there.
    std::string composite;
    appendU16(composite, 0xFFFF); // numberOfContours -1
    composite.append(8, '\0');    // bounding box
    appendU16(composite, 0x0021); // words, more components
    appendU16(composite, 7);
    composite.append(4, '\0');
    appendU16(composite, 0x0000);
    appendU16(composite, 9);
    composite.append(2, '\0');
    EXPECT_EQ(compositeComponents(composite), (std::set<uint32_t>{7, 9}));
    EXPECT_EQ(compositeComponents(composite.substr(0, 16)), (std::set<uint32_t>{7}));
    EXPECT_TRUE(compositeComponents("").empty());
    EXPECT_THROW(readU16("x", 0), FontError);
}
