#include "platform/fonts/FontLocator.h"

#include <gtest/gtest.h>

using namespace vum::fonts;

// The tests' fontconfig file maps "Arial" to Liberation Sans and the Chinese
// families to WenQuanYi Zen Hei.
struct MatchCase {
    const char* family;
    bool bold;
    bool italic;
    const char* fileEnd;
};

TEST(FontLocator, FindsTheFaceOfFamilyAndStyle)
{
    const MatchCase cases[] = {
        {"Arial", false, false, "LiberationSans-Regular.ttf"},
        {"Arial", true, false, "LiberationSans-Bold.ttf"},
        {"Arial", false, true, "LiberationSans-Italic.ttf"},
        {"Arial", true, true, "LiberationSans-BoldItalic.ttf"},
        {"Liberation Serif", true, false, "LiberationSerif-Bold.ttf"},
        {"黑体", true, false, "wqy-zenhei.ttc"},
        {"宋体", false, false, "wqy-zenhei.ttc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family);
        auto where = FontLocator::match(c.family, c.bold, c.italic);
        ASSERT_TRUE(where);
        EXPECT_TRUE(where->file.ends_with(c.fileEnd)) << where->file;
        if (std::string(c.fileEnd).find("Liberation") != std::string::npos) {
            EXPECT_EQ(where->bold, c.bold);
            EXPECT_EQ(where->italic, c.italic);
        }
    }
    // The Chinese face has no bold design: bold must be made up when drawing.
    auto hei = FontLocator::match("黑体", true, false);
    ASSERT_TRUE(hei);
    EXPECT_FALSE(hei->bold);
    EXPECT_EQ(hei->family, "WenQuanYi Zen Hei");
    EXPECT_EQ(hei->index, 0);
}

TEST(FontLocator, FallsBackByCoverage)
{
    auto latin = FontLocator::matchCovering(U'Ł', "Arial", false, false);
    ASSERT_TRUE(latin);
    EXPECT_TRUE(latin->file.ends_with("LiberationSans-Regular.ttf")) << latin->file;

    auto chinese = FontLocator::matchCovering(U'图', "Arial", false, false);
    ASSERT_TRUE(chinese);
    EXPECT_TRUE(chinese->file.ends_with("wqy-zenhei.ttc")) << chinese->file;

    EXPECT_FALSE(FontLocator::matchCovering(0x10FFFD, "Arial", false, false));
}

TEST(FontLocator, SpellsInstalledFamiliesAsInstalled)
{
    EXPECT_EQ(FontLocator::installedFamilyName("liberation SANS"), "Liberation Sans");
    EXPECT_EQ(FontLocator::installedFamilyName("WenQuanYi Zen Hei"), "WenQuanYi Zen Hei");
    EXPECT_EQ(FontLocator::installedFamilyName("Arial"), "");
    EXPECT_EQ(FontLocator::installedFamilyName(""), "");
}
