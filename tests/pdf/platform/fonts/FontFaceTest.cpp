#include "platform/fonts/FontFace.h"
#include "platform/fonts/FontError.h"
#include "platform/fonts/Sfnt.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using namespace vum::fonts;

namespace {

std::shared_ptr<FontFace> openFamily(const char* family, bool bold = false, bool italic = false)
{
    auto where = FontLocator::match(family, bold, italic);
    if (!where)
        throw FontError("no font");
    return FontFace::open(*where);
}

} // namespace

TEST(FontFace, ReadsTheMetricsDocumentsNeed)
{
    // Liberation Sans is metric-compatible with Arial, whose figures are well known.
    auto face = openFamily("Arial");
    const FaceMetrics& m = face->metrics();
    EXPECT_EQ(m.unitsPerEm, 2048);
    EXPECT_EQ(m.ascent, 1854);
    EXPECT_EQ(m.descent, 434);
    EXPECT_LT(m.underlinePosition, 0);
    EXPECT_GT(m.underlineThickness, 0);
    EXPECT_GT(m.strikeoutPosition, 0);
    EXPECT_GT(m.strikeoutThickness, 0);
    EXPECT_EQ(m.italicAngle, 0.0);
    EXPECT_FALSE(m.italic);
    EXPECT_FALSE(m.serif);
    EXPECT_TRUE(m.hasGlyfOutlines);
    EXPECT_EQ(face->advance(face->glyphOf(U'A')), 1366);
    EXPECT_EQ(face->advance(face->glyphOf(U' ')), 569);
    EXPECT_NE(face->glyphOf(U'Ł'), 0u);
    EXPECT_EQ(face->glyphOf(U'图'), 0u);
    EXPECT_EQ(face->postScriptName(), "LiberationSans");

    auto italic = openFamily("Arial", true, true);
    EXPECT_TRUE(italic->metrics().italic);
    EXPECT_TRUE(italic->metrics().bold);
    EXPECT_LT(italic->metrics().italicAngle, -5.0);

    EXPECT_TRUE(openFamily("Liberation Serif")->metrics().serif);
}

TEST(FontFace, ReadsTheChineseFaceInsideItsCollection)
{
    auto face = openFamily("黑体", true);
    EXPECT_TRUE(face->location().file.ends_with(".ttc"));
    EXPECT_TRUE(face->metrics().hasGlyfOutlines);
    for (char32_t c : std::u32string(U"Vimo图片集")) {
        const uint32_t glyph = face->glyphOf(c);
        EXPECT_NE(glyph, 0u);
        EXPECT_GT(face->advance(glyph), 0);
    }
}

TEST(FontFace, ExtractsAFaceOfACollectionAsAStandaloneFont)
{
    auto face = openFamily("宋体");
    const std::string font = face->standaloneFont();
    ASSERT_GE(font.size(), 12u);
    EXPECT_EQ(readU32(font, 0), 0x00010000u);

    TempDir dir;
    writeFile(dir.path() / "alone.ttf", font);
    auto alone = FontFace::open({dir.file("alone.ttf"), 0, "", false, false});
    EXPECT_EQ(alone->postScriptName(), face->postScriptName());
    EXPECT_EQ(alone->glyphCount(), face->glyphCount());
    EXPECT_EQ(alone->glyphOf(U'图'), face->glyphOf(U'图'));
    EXPECT_EQ(alone->table(sfntTag("glyf")), face->table(sfntTag("glyf")));

    // A plain .ttf is its own file.
    auto liberation = openFamily("Arial");
    EXPECT_EQ(liberation->standaloneFont(), readFile(liberation->location().file));
}

TEST(FontFace, RefusesFilesThatAreNoFonts)
{
    TempDir dir;
    writeFile(dir.path() / "bad.ttf", "not a font at all");
    EXPECT_THROW(FontFace::open({dir.file("bad.ttf"), 0, "", false, false}), FontError);
    EXPECT_THROW(FontFace::open({dir.file("missing.ttf"), 0, "", false, false}), FontError);
}
