#include "engine/paragraph/TextLayout.h"

#include "engine/fonts/FontEncodingTables.h"
#include "engine/util/Geometry.h"
#include "platform/fonts/Utf8.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace vum {

namespace {

constexpr int32_t kUnlimitedLines = INT32_MAX;

int32_t RoundHalfEven(double value)
{
    return RoundEven(value);
}

// Positions are summed in 64 bits and kept within 32: a box at the edge of
// the coordinate range or a very long text cannot overflow them.
int32_t Clamp32(int64_t value)
{
    return ClampToInt32(value);
}

struct Breaker {
    LayoutHost& host;
    const LayoutRequest& request;
    int scriptMode;

    bool Marked(char32_t c) const { return IsRightToLeftCharacter(scriptMode, c); }

    // 1-based index (from `begin`) of the character that ends the next
    // line; 0 when the line stays empty and the word moves whole to the next
    // one. Measures only as far as the break or the line's end.
    size_t FindLineBreak(const std::u32string& all, size_t begin, size_t linesSoFar) const
    {
        const int32_t indent = linesSoFar == 0 ? request.FirstX : request.NextX;
        const bool continued = request.StartX >= 0 && request.HAlign == 0 && linesSoFar == 0;
        const int64_t available = int64_t(request.Right) - (continued ? request.StartX : indent);
        const size_t size = all.size() - begin;
        auto at = [&](size_t i) { return all[begin + i]; };

        // Smallest J up to the first line end whose first J characters are
        // wider than the room; p the line end (1-based), or the text's end.
        size_t j = 0, p = size;
        host.MeasurePrefixes(all, begin, [&](size_t k, int32_t width) {
            if (width > available) {
                j = k;
                return false;
            }
            if (at(k - 1) == U'\r' || at(k - 1) == U'\n') {
                p = k;
                return false;
            }
            return true;
        });
        if (j == 0)
            return p;

        for (size_t k = j - 1; k >= 2; --k) {
            if (!IsBreakCharacter(at(k - 1)))
                continue;
            if (scriptMode == 0)
                return k;
            const bool before = Marked(at(k - 2));
            const bool after = k < size && Marked(at(k));
            if (before || after)
                return k;
        }
        if (scriptMode != 0 && j >= 2 && Marked(at(0)) != Marked(at(j - 2))) {
            const bool last = Marked(at(j - 2));
            for (size_t k = j - 2; k >= 1; --k)
                if (Marked(at(k - 1)) != last)
                    return k;
            return p;
        }
        if (linesSoFar == 0 && request.StartX > indent)
            return 0;
        // A line narrower than one character still takes one, so that the
        // text always comes to an end.
        return std::max<size_t>(j - 1, 1);
    }
};

// Cuts lines off the front of the text; what is left stays in `text`.
std::vector<std::u32string> SplitLines(const Breaker& breaker, std::u32string& text, int32_t limit)
{
    std::vector<std::u32string> lines;
    size_t begin = 0;
    while (limit > 0 && begin < text.size() && lines.size() < static_cast<size_t>(limit)) {
        const size_t index = breaker.FindLineBreak(text, begin, lines.size());
        if (index == 0) {
            lines.emplace_back();
            continue;
        }
        const char32_t at = text[begin + index - 1];
        if (at == U'\n' || at == U'\r') {
            lines.push_back(text.substr(begin, index - 1));
            size_t drop = index;
            if (at == U'\r' && begin + drop < text.size() && text[begin + drop] == U'\n')
                ++drop;
            begin += drop;
        } else {
            lines.push_back(text.substr(begin, index));
            begin += index;
            while (begin < text.size() && text[begin] == U' ')
                ++begin;
        }
    }
    text.erase(0, begin);
    return lines;
}

} // namespace

void LayoutHost::MeasurePrefixes(const std::u32string& text, size_t begin,
                                 const std::function<bool(size_t, int32_t)>& each)
{
    for (size_t k = 1; begin + k <= text.size(); ++k)
        if (!each(k, MeasureWidth(text.substr(begin, k))))
            return;
}

bool IsBreakCharacter(char32_t c)
{
    switch (c) {
    case U' ': case U'!': case U'*': case U'+': case U',': case U'-':
    case U'.': case U'/': case U':': case U';': case U'=': case U'?':
        return true;
    default:
        return false;
    }
}

int32_t LayoutText(LayoutHost& host, const LayoutRequest& in)
{
    host.LeftoverCount = 0;
    if (in.Text.empty() && !in.EmptyLine)
        return 0;
    LayoutRequest r = in;
    if (r.FirstX < 0)
        r.FirstX = r.NextX;
    if (r.Top == 0)
        r.Top = host.CurrentY;
    const int32_t lineHeight = std::max(host.LineHeight(), 1);
    const LayoutStyle* style = host.CurrentLayoutStyle();
    const bool styled = style && !r.IgnoreStyle;

    int32_t limit = 0;
    if (!styled) {
        if (r.Bottom == 0)
            r.Bottom = host.PageHeightUnits();
        limit = r.AutoFeed ? kUnlimitedLines
                           : Clamp32(std::max<int64_t>((int64_t(r.Bottom) - r.Top) / lineHeight, 1));
    } else {
        if (r.Bottom == 0)
            r.Bottom = Clamp32(int64_t(host.PageHeightUnits()) - style->BottomMargin - lineHeight - style->SpaceAfter);
        limit = (r.AutoFeed && style->AutoPageFeed) ? kUnlimitedLines
                                                     : Clamp32((int64_t(r.Bottom) - r.Top) / lineHeight);
    }
    std::u32string text = fonts::decodeUtf8(r.Text);
    // What cannot be placed at all: counted as left over where the text may
    // simply not fit, an error of the style's margins otherwise. An empty
    // line loses nothing, so it never fails.
    const auto leaveAll = [&] {
        host.LeftoverCount = text.empty() ? 1 : static_cast<int32_t>(text.size());
        return 0;
    };
    if (style) {
        const int64_t widthA = host.MeasureWidth(U"A");
        const bool noWidth = widthA + r.FirstX > r.Right;
        const bool noHeight = r.Top > r.Bottom;
        if (r.NoRoomLeavesText && (noWidth || widthA + r.NextX > r.Right || (!style->AutoPageFeed && noHeight)))
            return leaveAll();
        if (!style->AutoPageFeed && (noWidth || noHeight)) {
            if (text.empty())
                return leaveAll();
            host.Fail("Invalid style sheet margins: no space left on paper sheet");
        }
    }

    const Breaker breaker{host, r, host.ScriptMode()};
    std::vector<std::u32string> lines;
    if (text.empty()) {
        if (limit <= 0)
            return leaveAll();
        lines.emplace_back();
    } else {
        lines = SplitLines(breaker, text, limit);
    }
    const auto count = static_cast<int32_t>(lines.size());
    const int32_t result = Clamp32(int64_t(count) * lineHeight);
    if (r.Render == 0) {
        host.LeftoverCount = static_cast<int32_t>(text.size());
        return result;
    }

    switch (r.VAlign) {
    case 0: host.CurrentY = r.Top; break;
    case 1: host.CurrentY = Clamp32(int64_t(r.Bottom) - result); break;
    case 2: host.CurrentY = RoundHalfEven(r.Top + (double(r.Bottom) - r.Top - result) / 2); break;
    default: break;
    }
    host.CurrentY = std::max(host.CurrentY, r.Top);

    const bool rightToLeft = host.IsRightToLeft();
    for (int32_t i = 0; i < count; ++i) {
        const int32_t indent = i == 0 ? r.FirstX : r.NextX;
        const int32_t width = host.MeasureWidth(lines[i]);
        if (styled && host.CurrentY >= r.Bottom && r.Render == 2)
            host.FeedPage();
        int32_t x = 0;
        switch (r.HAlign) {
        case 0: x = (i == 0 && r.StartX > indent) ? r.StartX : indent; break;
        case 1: x = Clamp32(int64_t(r.Right) - width); break;
        case 2: x = RoundHalfEven(indent + (double(r.Right) - indent - width) / 2); break;
        default: x = 0; break;
        }
        if (i == 0) {
            if (!r.Link.empty())
                host.LinkLine(x, host.CurrentY, Clamp32(int64_t(x) + width),
                              Clamp32(int64_t(host.CurrentY) + lineHeight), r.Link);
            host.NameLine(x, host.CurrentY);
        }
        if (rightToLeft) {
            x = Clamp32(int64_t(x) + width);
            host.CurrentX = x;
        } else {
            host.CurrentX = Clamp32(int64_t(x) + width);
        }
        x = std::max(x, indent);
        // An empty paragraph's line has nothing to draw.
        if (r.Render == 2 && !(r.EmptyLine && lines[i].empty()))
            host.DrawLine(x, host.CurrentY, fonts::encodeUtf8(lines[i]));
        if (!(i == count - 1 && r.StartX >= 0))
            host.CurrentY = Clamp32(int64_t(host.CurrentY) + lineHeight);
    }
    host.LeftoverCount = static_cast<int32_t>(text.size());
    return result;
}

} // namespace vum
