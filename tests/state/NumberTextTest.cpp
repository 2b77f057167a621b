#include <gtest/gtest.h>

#include "state/NumberText.h"

using namespace numtext;

TEST(NumberText, WholeNumbersInRange)
{
    struct Case {
        const char* text;
        std::optional<int> int16, byte;
    };
    const Case cases[] = {
        {"12", 12, 12},
        {" 7 ", 7, 7},
        {"+3", 3, 3},
        {"2.5", 2, 2},      // halves go to the even neighbour
        {"3.5", 4, 4},
        {"0,5", 0, 0},      // decimal comma
        {"-1", -1, std::nullopt},
        {"255", 255, 255},
        {"256", 256, std::nullopt},
        {"32767", 32767, std::nullopt},
        {"32768", std::nullopt, std::nullopt},
        {"-32768", -32768, std::nullopt},
        {"", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"12abc", std::nullopt, std::nullopt},
        {"1.2.3", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto i = toInt16(c.text);
        const auto b = toByte(c.text);
        EXPECT_EQ(i ? std::optional<int>(*i) : std::nullopt, c.int16);
        EXPECT_EQ(b ? std::optional<int>(*b) : std::nullopt, c.byte);
    }
    EXPECT_EQ(toInt32("16744512"), 16744512);
    EXPECT_EQ(toInt32("2147483648"), std::nullopt);
}

TEST(NumberText, BooleansAndFractions)
{
    EXPECT_EQ(toBool("True"), true);
    EXPECT_EQ(toBool("false"), false);
    EXPECT_EQ(toBool("-1"), true);
    EXPECT_EQ(toBool("0"), false);
    EXPECT_EQ(toBool("yes"), std::nullopt);
    EXPECT_EQ(toSingle("0.25"), 0.25f);
    EXPECT_EQ(toSingle("0,25"), 0.25f);
    EXPECT_EQ(toSingle("1e40"), std::nullopt);  // beyond single precision
    EXPECT_EQ(toDouble("1,000.5"), std::nullopt);
}

TEST(NumberText, LeadingNumberAndDecimalText)
{
    EXPECT_EQ(leadingNumber("80%"), 80);
    EXPECT_EQ(leadingNumber(" 640px"), 640);
    EXPECT_EQ(leadingNumber(" 12.5abc"), 12.5);
    EXPECT_EQ(leadingNumber("-3x"), -3);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(fromDouble(0.1), "0.1");
    EXPECT_EQ(fromDouble(0.0), "0");
    EXPECT_EQ(fromDouble(-1.5), "-1.5");
}
