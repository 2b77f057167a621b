#include "engine/paragraph/TextLayout.h"
#include "engine/paragraph/VisualOrder.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace vum;

namespace {

// Every character is 10 units wide (a Chinese one 20), lines are 20 high,
// the page 1000 high.
struct DrawnLine {
    int32_t x, y;
    std::string text;
    bool operator==(const DrawnLine&) const = default;
};

class FakeHost : public LayoutHost {
public:
    static int32_t CharWidth(char32_t c) { return c == U'\n' || c == U'\r' ? 0 : c > 0x2E80 ? 20 : 10; }
    int32_t MeasureWidth(const std::u32string& text) override
    {
        int32_t width = 0;
        for (char32_t c : text)
            width += CharWidth(c);
        measured += text.size();
        return width;
    }
    // Adds up as it goes, as the drawing surface does.
    void MeasurePrefixes(const std::u32string& text, size_t begin,
                         const std::function<bool(size_t, int32_t)>& each) override
    {
        int32_t width = 0;
        for (size_t k = 1; begin + k <= text.size(); ++k) {
            width += CharWidth(text[begin + k - 1]);
            ++measured;
            if (!each(k, width))
                return;
        }
    }
    size_t measured = 0;  // characters looked at by the measures
    int32_t LineHeight() override { return 20; }
    int ScriptMode() override { return 0; }
    bool IsRightToLeft() override { return false; }
    const LayoutStyle* CurrentLayoutStyle() override { return hasStyle ? &style : nullptr; }
    int32_t PageHeightUnits() override { return 1000; }
    void FeedPage() override
    {
        ++pages;
        CurrentY = 0;
    }
    void DrawLine(int32_t x, int32_t y, const std::string& utf8) override { drawn.push_back({x, y, utf8}); }
    void LinkLine(int32_t, int32_t, int32_t, int32_t, const std::string&) override {}
    void NameLine(int32_t, int32_t) override {}
    void Fail(const std::string& message) override { throw std::runtime_error(message); }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& d : drawn)
            out.push_back(d.text);
        return out;
    }

    bool hasStyle = false;
    LayoutStyle style;
    int pages = 1;
    std::vector<DrawnLine> drawn;
};

LayoutRequest Box(const std::string& text, int32_t right, int32_t bottom = 1000)
{
    LayoutRequest r;
    r.FirstX = -1;
    r.NextX = 0;
    r.Top = 1;
    r.Right = right;
    r.Bottom = bottom;
    r.StartX = -1;
    r.Text = text;
    return r;
}

} // namespace

struct BreakCase {
    const char* text;
    int32_t right;
    std::vector<std::string> lines;
};

TEST(TextLayout, BreaksLinesAtTheBreakCharacters)
{
    const BreakCase cases[] = {
        {"one two three", 80, {"one two ", "three"}},        // the blank stays at the line end
        {"one    two", 50, {"one  ", "two"}},                // blanks starting a line go
        {"a-b-c-d-e", 50, {"a-b-", "c-d-e"}},
        {"abcdefghij", 40, {"abcd", "efgh", "ij"}},         // a word too wide is cut
        {"x\r\ny\nz", 100, {"x", "y", "z"}},                // CR LF and LF end lines
        {"x\n\ny", 100, {"x", "", "y"}},                    // an empty line still counts
        {" abc def", 40, {" abc", "def"}},                  // no break at position 1
        {"图片集图片集", 60, {"图片集", "图片集"}},         // characters, never bytes
        {"Łódź Łódź", 50, {"Łódź ", "Łódź"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        FakeHost host;
        LayoutText(host, Box(c.text, c.right));
        EXPECT_EQ(host.texts(), c.lines);
        EXPECT_EQ(host.LeftoverCount, 0);
    }
}

TEST(TextLayout, AlignsPlacesAndCountsWhatIsLeftOver)
{
    FakeHost host;
    LayoutRequest r = Box("ab cd", 100);
    r.HAlign = 1;
    LayoutText(host, r);
    EXPECT_EQ(host.drawn, (std::vector<DrawnLine>{{50, 1, "ab cd"}}));

    host.drawn.clear();
    r.HAlign = 2;
    r.VAlign = 2;
    r.Bottom = 101;
    LayoutText(host, r);
    EXPECT_EQ(host.drawn, (std::vector<DrawnLine>{{25, 41, "ab cd"}}));
    EXPECT_EQ(host.CurrentY, 61);

    // Two lines fit into 45 units; 9 characters stay over.
    host.drawn.clear();
    const int32_t height = LayoutText(host, Box("aaa bbb ccc ddd", 40, 46));
    EXPECT_EQ(height, 40);
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"aaa ", "bbb "}));
    EXPECT_EQ(host.LeftoverCount, 7);

    // A rectangle lower than a line still shows one.
    host.drawn.clear();
    LayoutText(host, Box("aaa bbb", 40, 5));
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"aaa "}));
    EXPECT_EQ(host.LeftoverCount, 3);
}

TEST(TextLayout, ALineNarrowerThanOneCharacterStillEnds)
{
    FakeHost host;
    host.hasStyle = true;
    LayoutRequest r = Box("abc", 5, 0);
    r.AutoFeed = true;
    LayoutText(host, r);
    EXPECT_EQ(host.texts(), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(TextLayout, ContinuedLineMovesAWholeWordDown)
{
    FakeHost host;
    LayoutRequest r = Box("abcdef", 100);
    r.StartX = 60;
    r.FirstX = 0;
    LayoutText(host, r);
    EXPECT_EQ(host.drawn, (std::vector<DrawnLine>{{60, 1, ""}, {0, 21, "abcdef"}}));
    // The paragraph line stays open after its last line.
    EXPECT_EQ(host.CurrentY, 21);
    EXPECT_EQ(host.CurrentX, 60);
}

TEST(TextLayout, FeedsPagesWithAStyleThatAllowsIt)
{
    FakeHost host;
    host.hasStyle = true;
    LayoutRequest r = Box("", 100, 0);
    for (int i = 0; i < 200; ++i)
        r.Text += "word ";
    r.AutoFeed = true;
    r.Top = 0;
    LayoutText(host, r);
    // 100 lines; (1000 - 20) / 20 = 49 per page.
    EXPECT_EQ(host.drawn.size(), 100u);
    EXPECT_EQ(host.pages, 3);

    host.style.AutoPageFeed = false;
    r.Right = 5;
    EXPECT_THROW(LayoutText(host, r), std::runtime_error);
}

TEST(VisualOrder, TurnsRightToLeftLettersRoundAndKeepsOtherRuns)
{
    EXPECT_EQ(VisualOrder(U"אבג", 2), U"גבא");
    EXPECT_EQ(VisualOrder(U"אב cd", 2), U" cdבא");
    EXPECT_EQ(VisualOrder(U"abc", 2), U"abc");
    EXPECT_EQ(VisualOrder(U"אבג", 0), U"אבג");
    EXPECT_EQ(VisualOrder(U"اب", 1), U"با");
}

// However long the text, each character is measured a few times, not once
// per prefix: one long line, many short lines, many line ends.
TEST(TextLayout, MeasuringWorkGrowsWithTheTextNotItsSquare)
{
    const size_t n = 60000;
    const struct { const char* name; std::string text; int32_t right; } cases[] = {
        {"one line", std::string(n, 'a'), INT32_MAX / 2},
        {"words over many lines", [&] { std::string t; while (t.size() < n) t += "word "; return t; }(), 200},
        {"many line ends", [&] { std::string t; while (t.size() < n) t += "ab\r\n"; return t; }(), 1000},
        {"no break character", std::string(n, 'x'), 95},
    };
    for (const auto& c : cases) {
        FakeHost host;
        LayoutRequest r = Box(c.text, c.right);
        r.AutoFeed = true;
        r.Render = 1;
        LayoutText(host, r);
        EXPECT_LE(host.measured, 4 * n) << c.name;
        EXPECT_EQ(host.LeftoverCount, 0) << c.name;
    }
}
