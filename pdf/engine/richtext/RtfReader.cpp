// A reader of rich text source: enough of the format for what word
// processors write as formatted text (fonts, colours, character attributes,
// alignment, indents, tab stops, bullets); pictures, fields' instructions,
// headers and other destinations are skipped.
#include "engine/richtext/CodePages.h"
#include "engine/richtext/RtfDocument.h"
#include "engine/util/VumError.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>

namespace vum {

namespace {

constexpr int kMaxDepth = 256;
constexpr long kMaxGroups = 1'000'000;

struct FontEntry {
    std::string Name;
    int Charset = 0;
};

struct GroupState {
    RtfCharFormat Char;
    int FontNumber = -1;
    int UnicodeSkip = 1;
    bool Skip = false;        // a destination whose text is not shown
    int Table = 0;            // 1 font table, 2 colour table
};

class RtfParser {
public:
    explicit RtfParser(std::string_view source) : src_(source) {}
    RtfDocument Parse();

private:
    [[noreturn]] void Unsupported() const { RaiseContextError("File format not supported"); }
    GroupState& State() { return stack_.back(); }
    void OpenGroup();
    void CloseGroup();
    void ControlWord(const std::string& word, bool hasParam, long param);
    void ControlSymbol(char c);
    void Literal(char c);
    void Text(const std::string& utf8);
    void FlushBytes();
    void EndParagraph();
    void Tab();
    int CodePage() const;
    void SetFont(int number);

    std::string_view src_;
    size_t pos_ = 0;
    std::vector<GroupState> stack_;
    long groups_ = 0;
    bool groupStart_ = false;      // the next control word is the first of its group
    std::string pendingBytes_;     // \'hh and literal bytes not yet converted
    int skipChars_ = 0;            // characters to drop after \uN
    int defaultFont_ = 0;
    int ansiCodePage_ = 1252;
    std::map<int, FontEntry> fonts_;
    std::vector<TColor> colours_;
    bool colourSet_ = false;
    int red_ = 0, green_ = 0, blue_ = 0;
    std::string fontName_;         // the font table entry being read
    int fontCharset_ = 0;
    int fontEntry_ = -1;
    RtfParaFormat para_;
    RtfDocument doc_;
    RtfParagraph current_;
};

int RtfParser::CodePage() const
{
    const GroupState& s = stack_.back();
    if (s.FontNumber >= 0) {
        const auto f = fonts_.find(s.FontNumber);
        if (f != fonts_.end() && f->second.Charset != 0 && f->second.Charset != 1)
            return CodePageOfCharset(f->second.Charset);
    }
    return ansiCodePage_;
}

void RtfParser::SetFont(int number)
{
    State().FontNumber = number;
    const auto f = fonts_.find(number);
    if (f != fonts_.end()) {
        State().Char.FontName = f->second.Name;
        State().Char.Charset = f->second.Charset;
    }
}

void RtfParser::FlushBytes()
{
    if (pendingBytes_.empty())
        return;
    const std::string bytes = std::move(pendingBytes_);
    pendingBytes_.clear();
    const GroupState& s = State();
    if (s.Table == 1) {
        fontName_ += CodePageToUtf8(bytes, fontCharset_ ? CodePageOfCharset(fontCharset_) : ansiCodePage_);
        return;
    }
    if (s.Skip || s.Table)
        return;
    Text(CodePageToUtf8(bytes, CodePage()));
}

void RtfParser::Text(const std::string& utf8)
{
    if (utf8.empty())
        return;
    const RtfCharFormat& ch = State().Char;
    if (current_.Runs.empty() || current_.Runs.back().EndsWithTab || !(current_.Runs.back().Char == ch))
        current_.Runs.push_back(RtfRun{{}, ch, false});
    current_.Runs.back().Text += utf8;
}

void RtfParser::Tab()
{
    FlushBytes();
    if (current_.Runs.empty() || current_.Runs.back().EndsWithTab)
        current_.Runs.push_back(RtfRun{{}, State().Char, false});
    current_.Runs.back().EndsWithTab = true;
}

void RtfParser::EndParagraph()
{
    FlushBytes();
    current_.Format = para_;
    doc_.Paragraphs.push_back(std::move(current_));
    current_ = RtfParagraph{};
}

void RtfParser::OpenGroup()
{
    FlushBytes();
    if (static_cast<int>(stack_.size()) >= kMaxDepth)
        throw RtfLimitError("Rich text nested too deeply");
    if (++groups_ > kMaxGroups)
        throw RtfLimitError("Rich text has too many groups");
    stack_.push_back(stack_.back());
    groupStart_ = true;
}

void RtfParser::CloseGroup()
{
    FlushBytes();
    if (State().Table == 1 && !State().Skip && fontEntry_ >= 0 && !fontName_.empty()) {
        // An entry in its own group ends here if its ";" was left out.
        fonts_[fontEntry_] = FontEntry{fontName_, fontCharset_};
        fontName_.clear();
    }
    stack_.pop_back();
    if (stack_.empty())
        stack_.push_back(GroupState{});  // a stray "}" closes nothing
    groupStart_ = false;
}

void RtfParser::Literal(char c)
{
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (State().Table == 1) {
        if (State().Skip)
            return;
        if (c == ';') {
            FlushBytes();
            if (fontEntry_ >= 0) {
                std::string name = fontName_;
                while (!name.empty() && name.back() == ' ')
                    name.pop_back();
                fonts_[fontEntry_] = FontEntry{name, fontCharset_};
            }
            fontName_.clear();
            return;
        }
        pendingBytes_ += c;
        return;
    }
    if (State().Table == 2) {
        if (c == ';') {
            colours_.push_back(colourSet_ ? RGB(uint8_t(red_), uint8_t(green_), uint8_t(blue_)) : ColorBlack);
            colourSet_ = false;
            red_ = green_ = blue_ = 0;
        }
        return;
    }
    if (State().Skip)
        return;
    pendingBytes_ += c;
}

void RtfParser::ControlSymbol(char c)
{
    switch (c) {
    case '\\': case '{': case '}': Literal(c); break;
    case '~': FlushBytes(); if (!State().Skip && !State().Table) Text(Utf8Of(0xA0)); break;
    case '_': FlushBytes(); if (!State().Skip && !State().Table) Text("-"); break;
    case '*': State().Skip = true; break;
    case '\n': case '\r': if (!State().Skip && !State().Table) EndParagraph(); break;
    default: break;  // \- optional hyphen and the rest: nothing to show
    }
}

void RtfParser::ControlWord(const std::string& w, bool hasParam, long p)
{
    const bool first = groupStart_;
    groupStart_ = false;
    if (w != "u")
        FlushBytes();
    GroupState& s = State();

    static const std::set<std::string> kSkipped = {
        "stylesheet", "info", "pict", "object", "header", "footer", "headerl", "headerr", "headerf",
        "footerl", "footerr", "footerf", "footnote", "listtable", "listoverridetable", "rsidtbl",
        "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore",
        "pntext", "listtext", "fldinst", "bkmkstart", "bkmkend", "revtbl", "filetbl", "nonshppict",
        "shppict", "template", "userprops", "mmathPr", "pgdsctbl", "xe", "tc", "atnid", "annotation"};
    if (first && kSkipped.count(w)) {
        s.Skip = true;
        return;
    }
    if (w == "fonttbl") { s.Table = 1; return; }
    if (w == "colortbl") { s.Table = 2; return; }

    if (s.Table == 1) {
        if (w == "f") { fontEntry_ = int(p); fontName_.clear(); fontCharset_ = 0; }
        else if (w == "fcharset") fontCharset_ = int(p);
        else if (w == "'") {}
        return;
    }
    if (s.Table == 2) {
        colourSet_ = true;
        if (w == "red") red_ = int(p);
        else if (w == "green") green_ = int(p);
        else if (w == "blue") blue_ = int(p);
        return;
    }
    if (w == "ansicpg" && hasParam) { ansiCodePage_ = int(p); return; }
    if (w == "deff") { defaultFont_ = int(p); SetFont(defaultFont_); return; }
    if (w == "uc") { s.UnicodeSkip = int(std::clamp(p, 0L, 10L)); return; }
    if (w == "u") {
        FlushBytes();
        long c = p < 0 ? p + 65536 : p;
        if (!s.Skip)
            Text(Utf8Of(uint32_t(c)));
        skipChars_ = s.UnicodeSkip;
        return;
    }
    if (s.Skip && w != "pnlvlblt")
        return;

    const auto on = [&] { return !hasParam || p != 0; };
    if (w == "par" || w == "line" || w == "sect" || w == "page") EndParagraph();
    else if (w == "tab") Tab();
    else if (w == "pard") para_ = RtfParaFormat{};
    else if (w == "plain") { const int font = defaultFont_; s.Char = RtfCharFormat{}; SetFont(font); }
    else if (w == "f") SetFont(int(p));
    else if (w == "fs") s.Char.FontSize = hasParam && p > 0 ? double(std::min(p, 3276L)) / 2 : 12;
    else if (w == "b") s.Char.Bold = on();
    else if (w == "i") s.Char.Italic = on();
    else if (w == "ul") s.Char.Underline = on();
    else if (w == "ulnone") s.Char.Underline = false;
    else if (w == "strike") s.Char.StrikeOut = on();
    else if (w == "cf") s.Char.Color = (p >= 0 && size_t(p) < colours_.size()) ? colours_[size_t(p)] : ColorBlack;
    else if (w == "ql" || w == "qj") para_.Alignment = 0;
    else if (w == "qr") para_.Alignment = 1;
    else if (w == "qc") para_.Alignment = 2;
    else if (w == "li") para_.LeftIndent = int32_t(std::clamp(p, -100000L, 100000L));
    else if (w == "ri") para_.RightIndent = int32_t(std::clamp(p, -100000L, 100000L));
    else if (w == "fi") para_.FirstIndent = int32_t(std::clamp(p, -100000L, 100000L));
    else if (w == "tx" && para_.Tabs.size() < 64) para_.Tabs.push_back(int32_t(std::clamp(p, 0L, 100000L)));
    else if (w == "pnlvlblt" || w == "ls") para_.Bullet = true;
    else if (w == "emdash") Text(Utf8Of(0x2014));
    else if (w == "endash") Text(Utf8Of(0x2013));
    else if (w == "bullet") Text(Utf8Of(0x2022));
    else if (w == "lquote") Text(Utf8Of(0x2018));
    else if (w == "rquote") Text(Utf8Of(0x2019));
    else if (w == "ldblquote") Text(Utf8Of(0x201C));
    else if (w == "rdblquote") Text(Utf8Of(0x201D));
}

RtfDocument RtfParser::Parse()
{
    if (!IsRtfSource(src_))
        Unsupported();
    stack_.push_back(GroupState{});
    while (pos_ < src_.size()) {
        const char c = src_[pos_++];
        if (c == '{') {
            OpenGroup();
        } else if (c == '}') {
            CloseGroup();
        } else if (c == '\\') {
            if (pos_ >= src_.size())
                break;
            const char n = src_[pos_];
            if (std::isalpha(static_cast<unsigned char>(n))) {
                std::string word;
                while (pos_ < src_.size() && std::isalpha(static_cast<unsigned char>(src_[pos_])) && word.size() < 32)
                    word += src_[pos_++];
                bool hasParam = false, negative = false;
                long param = 0;
                if (pos_ < src_.size() && src_[pos_] == '-') {
                    negative = true;
                    ++pos_;
                }
                int digits = 0;
                while (pos_ < src_.size() && std::isdigit(static_cast<unsigned char>(src_[pos_]))) {
                    if (digits++ < 10)
                        param = param * 10 + (src_[pos_] - '0');
                    hasParam = true;
                    ++pos_;
                }
                if (negative)
                    param = -param;
                if (pos_ < src_.size() && src_[pos_] == ' ')
                    ++pos_;
                ControlWord(word, hasParam, param);
            } else if (n == '\'') {
                ++pos_;
                groupStart_ = false;
                if (pos_ + 2 > src_.size())
                    break;
                const std::string hex(src_.substr(pos_, 2));
                pos_ += 2;
                char* end = nullptr;
                const long v = std::strtol(hex.c_str(), &end, 16);
                if (end == hex.c_str() + 2)
                    Literal(static_cast<char>(v));
            } else {
                ++pos_;
                groupStart_ = false;
                ControlSymbol(n);
            }
        } else if (c == '\r' || c == '\n') {
            continue;
        } else {
            groupStart_ = false;
            Literal(c);
        }
    }
    FlushBytes();
    if (!current_.Runs.empty())
        EndParagraph();
    return std::move(doc_);
}

} // namespace

bool IsRtfSource(std::string_view text)
{
    // "{\rtf" and the version number, ended by any delimiter (a blank, a
    // backslash, a brace...) or by the end of the text.
    constexpr std::string_view kHeader = "{\\rtf";
    if (text.substr(0, kHeader.size()) != kHeader)
        return false;
    size_t end = kHeader.size();
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    return end > kHeader.size();
}

RtfDocument ReadRtf(std::string_view source)
{
    return RtfParser(source).Parse();
}

RtfDocument ReadPlainText(std::string_view text)
{
    RtfDocument doc;
    RtfParagraph para;
    RtfRun run;
    const auto endRun = [&](bool tab) {
        if (!run.Text.empty() || tab) {
            run.EndsWithTab = tab;
            para.Runs.push_back(std::move(run));
        }
        run = RtfRun{};
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t') {
            endRun(true);
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRun(false);
            doc.Paragraphs.push_back(std::move(para));
            para = RtfParagraph{};
        } else {
            run.Text += c;
        }
    }
    endRun(false);
    if (!para.Runs.empty())
        doc.Paragraphs.push_back(std::move(para));
    return doc;
}

} // namespace vum
