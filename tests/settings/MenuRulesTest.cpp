#include <QDateTime>
#include <gtest/gtest.h>

#include "settings/OptionValues.h"
#include "settings/menus/AboutText.h"
#include "settings/menus/PrefixPreset.h"
#include "settings/menus/StartPointAnswer.h"

namespace {

TEST(StartPointAnswer, OnlyTwoNumbersOfZeroOrMoreCount)
{
    const struct {
        const char* answer;
        bool used;
        double x, y;
    } cases[] = {
        {"100,120", true, 100, 120},
        {"0,0", true, 0, 0},
        {"1.5,2", true, 1.5, 2},
        {" 7 , 8 ,9", true, 7, 8},  // further parts are ignored
        {"5", false, 0, 0},         // too short
        {"5,", false, 0, 0},        // too short
        {"55,", false, 0, 0},       // no second number
        {"-1,3", false, 0, 0},
        {"3,-1", false, 0, 0},
        {"", false, 0, 0},
        {"100 120", false, 0, 0},   // no comma
        {"a,12", false, 0, 0},
        {"1e40,1", false, 0, 0},    // beyond single precision
    };
    for (const auto& c : cases) {
        const auto p = parseStartPoint(QString::fromUtf8(c.answer));
        ASSERT_EQ(p.has_value(), c.used) << c.answer;
        if (p) {
            EXPECT_DOUBLE_EQ(p->x(), c.x) << c.answer;
            EXPECT_DOUBLE_EQ(p->y(), c.y) << c.answer;
        }
    }
    EXPECT_EQ(startPointText(12.5f, 0), QStringLiteral("12.5,0"));
}

TEST(PrefixPreset, EachCaptionGivesItsStamp)
{
    const QDateTime at(QDate(2026, 3, 7), QTime(9, 5, 4));
    const struct {
        const char* caption;
        const char* prefix;
    } cases[] = {
        {"#当前日期#", "20260307_"},
        {"#当前时间#", "090504_"},
        {"#日期和时间#", "20260307090504_"},
        {"#不要前缀#", ""},
        {"#别的#", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(prefixPreset(QString::fromUtf8(c.caption), at), QString::fromUtf8(c.prefix)) << c.caption;
}

TEST(AboutText, NameVersionBlanksAndDateLine)
{
    EXPECT_EQ(aboutText(QStringLiteral("5.9.0"), QStringLiteral("2026-12-10")),
              QStringLiteral("Vimo图片批处理5.9.0     \n\n发布日期:2026-12-10   "));
    EXPECT_EQ(aboutText(QStringLiteral("5.10.3"), QStringLiteral("d")),
              QStringLiteral("Vimo图片批处理5.10.3     \n\n发布日期:d   "));
}

} // namespace
