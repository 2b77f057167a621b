#include "engine/fonts/PdfTextFonts.h"
#include "engine/recorder/VumRecorder.h"

#include "engine/document/VumDocument.h"
#include "engine/fonts/PdfCidFont.h"
#include "engine/pdf/PdfCanvas.h"
#include "engine/util/PdfNumber.h"
#include "engine/util/TextLists.h"
#include "engine/util/VumError.h"
#include "platform/fonts/CodePages.h"
#include "platform/fonts/FontError.h"
#include "platform/fonts/FontLocator.h"
#include "platform/fonts/Utf8.h"

#include <algorithm>
#include <cmath>

namespace vum {

namespace {

// Character sets of Chinese, Japanese and Korean: no single-byte code page,
// all their text goes through Type0 fonts.
bool IsWideCharset(int charset)
{
    return charset == 128 || charset == 129 || charset == 134 || charset == 136;
}

// Linux's code page is UTF-8, which is no Windows ANSI code page, so the
// default set resolves to ANSI (0); text beyond it takes the Type0 path.
int ResolveCharset(int charset, const std::string& name)
{
    if (charset == 1)
        return 0;
    switch (charset) {
    case 0: case 161: case 162: case 177: case 178: case 186: case 204: case 238:
        return charset;
    default:
        if (IsWideCharset(charset))
            return charset;
        RaiseContextError("Font character set not supported", name);
    }
}

std::string StyleSuffix(bool bold, bool italic)
{
    if (bold && italic)
        return ",BoldItalic";
    if (bold)
        return ",Bold";
    return italic ? ",Italic" : "";
}

std::string FaceKey(const fonts::FaceLocation& where)
{
    return where.file + "|" + IntText(where.index);
}

} // namespace

int SingleByteCode(const FontChoice& choice, char32_t c)
{
    if (choice.Symbolic) {
        if (c < 0x100)
            return static_cast<int>(c);
        return c >= 0xF000 && c <= 0xF0FF ? static_cast<int>(c - 0xF000) : -1;
    }
    return choice.CodePage ? fonts::fromUnicode(choice.CodePage, c) : -1;
}

void DeclareSymbolicFont(TCustomVum& document, const std::string& name)
{
    if (document.Printing())
        document.RaiseDocumentError("Can't invoke this method when active", "DeclareSymbolicFont");
    if (TCustomVumDocument* recorder = document.Recorder()) {
        recorder->WriteOpcode(opDeclareSymbolicFont);
        recorder->WriteString(name);
    }
    auto& names = document.SymbolicFonts();
    for (const std::string& known : names)
        if (SameTextAscii(known, name))
            return;
    names.insert(std::lower_bound(names.begin(), names.end(), name), name);
}

PdfTextFonts::PdfTextFonts(TPdfCanvas& canvas) : canvas_(canvas) {}

PdfTextFonts::~PdfTextFonts() = default;

std::shared_ptr<fonts::FontFace> PdfTextFonts::OpenFace(const fonts::FaceLocation& where,
                                                        const std::string& name)
{
    auto& slot = faces_[FaceKey(where)];
    if (!slot) {
        try {
            slot = fonts::FontFace::open(where);
        } catch (const fonts::FontError&) {
            faces_.erase(FaceKey(where));
            RaiseContextError("This font is not TrueType", name);
        }
    }
    return slot;
}

const FontChoice& PdfTextFonts::Choice(const TVumFont& font)
{
    // A font that cannot be used stops the document, as every drawing error does.
    try {
        return MakeChoice(font);
    } catch (const VumError& error) {
        canvas_.RaiseMethodError(error.what());
    }
}

const FontChoice& PdfTextFonts::MakeChoice(const TVumFont& font)
{
    const bool bold = font.Style & fsBold;
    const bool italic = font.Style & fsItalic;
    const std::string installed = fonts::FontLocator::installedFamilyName(font.Name);
    const std::string base = (installed.empty() ? font.Name : installed) + StyleSuffix(bold, italic);
    const std::string key = FontKey(font.Charset, base);
    if (auto found = choices_.find(key); found != choices_.end())
        return found->second;

    FontChoice choice;
    choice.Key = key;
    choice.FaceName = font.Name;
    choice.BaseName = base;
    choice.Charset = ResolveCharset(font.Charset, font.Name);
    choice.CodePage = fonts::codePageOfCharset(IsWideCharset(choice.Charset) ? -1 : choice.Charset);
    choice.RightToLeftKind = choice.Charset == 178 ? 1 : choice.Charset == 177 ? 2 : 0;
    for (const std::string& symbolic : canvas_.Document().SymbolicFonts())
        choice.Symbolic = choice.Symbolic || SameTextAscii(symbolic, font.Name);
    choice.WantBold = bold;
    choice.WantItalic = italic;
    const auto where = fonts::FontLocator::match(font.Name, bold, italic);
    if (!where)
        RaiseContextError("This font is not TrueType", font.Name);
    choice.Face = OpenFace(*where, font.Name);
    return choices_.emplace(key, std::move(choice)).first->second;
}

bool PdfTextFonts::SingleBytePath(const FontChoice& choice, const std::u32string& text) const
{
    if (!choice.CodePage && !choice.Symbolic)
        return false;
    for (char32_t c : text)
        if (SingleByteCode(choice, c) < 0)
            return false;
    return true;
}

TPdfFont& PdfTextFonts::SingleByte(const FontChoice& choice)
{
    if (auto found = singleByte_.find(choice.Key); found != singleByte_.end())
        return *found->second;
    try {
        auto font = std::make_unique<TPdfFont>(choice);
        TPdfFont& ref = *font;
        canvas_.FontResources.emplace_back(choice.Key, std::move(font));
        singleByte_[choice.Key] = &ref;
        ref.WriteObjects(canvas_);
        return ref;
    } catch (const VumError& error) {
        canvas_.RaiseMethodError(error.what());
    } catch (const fonts::FontError& error) {
        canvas_.RaiseMethodError("Internal error", error.what());
    }
}

TPdfCidFont& PdfTextFonts::CidFontFor(const std::shared_ptr<fonts::FontFace>& face)
{
    const std::string key = "CID|" + FaceKey(face->location());
    if (auto found = cidFonts_.find(key); found != cidFonts_.end())
        return *found->second;
    auto font = std::make_unique<TPdfCidFont>(canvas_, face);
    TPdfCidFont& ref = *font;
    canvas_.FontResources.emplace_back(key, std::move(font));
    cidFonts_[key] = &ref;
    return ref;
}

std::shared_ptr<fonts::FontFace> PdfTextFonts::FaceForCharacter(const FontChoice& choice, char32_t c)
{
    if (choice.Face->glyphOf(c) != 0)
        return choice.Face;
    const std::string key = choice.Key + "|" + IntText(c);
    if (auto found = fallbacks_.find(key); found != fallbacks_.end())
        return found->second;
    // A face already taken for this font's other characters is asked first:
    // asking fontconfig for every character of a long Chinese text is slow.
    for (const auto& [other, taken] : fallbacks_)
        if (other.compare(0, choice.Key.size() + 1, choice.Key + "|") == 0 && taken != choice.Face &&
            taken->glyphOf(c) != 0)
            return fallbacks_[key] = taken;
    std::shared_ptr<fonts::FontFace> face = choice.Face;
    if (auto where = fonts::FontLocator::matchCovering(c, choice.FaceName, choice.WantBold, choice.WantItalic)) {
        try {
            auto candidate = OpenFace(*where, choice.FaceName);
            if (candidate->metrics().hasGlyfOutlines && candidate->glyphOf(c) != 0)
                face = candidate;
        } catch (const VumError&) {
            // Not usable: the character stays with the requested face.
        }
    }
    fallbacks_[key] = face;
    return face;
}

std::vector<PdfTextFonts::Run> PdfTextFonts::Runs(const TVumFont& font, const std::string& utf8)
{
    const FontChoice& choice = Choice(font);
    const std::u32string text = fonts::decodeUtf8(utf8);
    if (SingleBytePath(choice, text)) {
        TPdfFont& single = SingleByte(choice);
        return {{&single, TPdfCanvas::LiteralString(single.EncodeBytes(text)), false}};
    }
    std::vector<Run> runs;
    TPdfCidFont* current = nullptr;
    std::u32string pending;
    auto flush = [&] {
        if (current && !pending.empty())
            runs.push_back({current, current->ShowGlyphs(pending),
                            choice.WantBold && !current->Face().metrics().bold});
        pending.clear();
    };
    for (char32_t c : text) {
        if (c < 0x20)
            continue; // control characters have no glyph to show
        TPdfCidFont& cid = CidFontFor(FaceForCharacter(choice, c));
        if (&cid != current) {
            flush();
            current = &cid;
        }
        pending.push_back(c);
    }
    flush();
    if (runs.empty()) {
        TPdfCidFont& cid = CidFontFor(choice.Face);
        runs.push_back({&cid, "<>", false});
    }
    runs.front().FakeItalic = choice.WantItalic && !choice.Face->metrics().italic;
    return runs;
}

double PdfTextFonts::Width1000(const TVumFont& font, const std::string& utf8, int32_t& counted)
{
    const FontChoice& choice = Choice(font);
    const std::u32string text = fonts::decodeUtf8(utf8);
    counted = 0;
    double width = 0;
    if (SingleBytePath(choice, text)) {
        const TPdfFont& single = SingleByte(choice);
        for (char32_t c : text) {
            const int code = SingleByteCode(choice, c);
            if (code < single.FirstChar())
                continue;
            ++counted;
            width += single.CodeWidth(code);
        }
        return width;
    }
    for (char32_t c : text) {
        if (c < 0x20)
            continue;
        const auto face = FaceForCharacter(choice, c);
        ++counted;
        width += std::nearbyint(face->advance(face->glyphOf(c)) * 1000.0 / face->metrics().unitsPerEm);
    }
    return width;
}

void PdfTextFonts::PrefixWidths1000(const TVumFont& font, const std::u32string& text, size_t begin,
                                    const std::function<bool(size_t, double, int32_t)>& each)
{
    const FontChoice& choice = Choice(font);
    // A prefix is set in the single-byte font while all its characters have
    // a code there; from the first that has none on, in the Type0 font.
    const bool singleFirst = (choice.CodePage || choice.Symbolic) && begin < text.size() &&
                             SingleByteCode(choice, text[begin]) >= 0;
    double width = 0;
    int32_t counted = 0;
    size_t k = 1;
    if (singleFirst) {
        const TPdfFont& single = SingleByte(choice);
        for (; begin + k <= text.size(); ++k) {
            const int code = SingleByteCode(choice, text[begin + k - 1]);
            if (code < 0)
                break;
            if (code >= single.FirstChar()) {
                ++counted;
                width += single.CodeWidth(code);
            }
            if (!each(k, width, counted))
                return;
        }
        if (begin + k > text.size())
            return;
        // The Type0 widths of the characters before this one.
        width = 0;
        counted = 0;
        for (size_t i = begin; i + 1 < begin + k; ++i)
            if (text[i] >= 0x20) {
                const auto face = FaceForCharacter(choice, text[i]);
                ++counted;
                width += std::nearbyint(face->advance(face->glyphOf(text[i])) * 1000.0 / face->metrics().unitsPerEm);
            }
    }
    for (; begin + k <= text.size(); ++k) {
        const char32_t c = text[begin + k - 1];
        if (c >= 0x20) {
            const auto face = FaceForCharacter(choice, c);
            ++counted;
            width += std::nearbyint(face->advance(face->glyphOf(c)) * 1000.0 / face->metrics().unitsPerEm);
        }
        if (!each(k, width, counted))
            return;
    }
}

PdfFontResource& PdfTextFonts::Primary(const TVumFont& font)
{
    const FontChoice& choice = Choice(font);
    if (choice.CodePage || choice.Symbolic)
        return SingleByte(choice);
    return CidFontFor(choice.Face);
}

double PdfTextFonts::AscentPerPoint(const TVumFont& font)
{
    const auto& m = Choice(font).Face->metrics();
    return double(m.ascent) / m.unitsPerEm;
}

double PdfTextFonts::DescentPerPoint(const TVumFont& font)
{
    const auto& m = Choice(font).Face->metrics();
    return double(m.descent) / m.unitsPerEm;
}

int PdfTextFonts::RightToLeftKind(const TVumFont& font)
{
    return Choice(font).RightToLeftKind;
}

void PdfTextFonts::WriteDeferredObjects()
{
    for (auto& entry : canvas_.FontResources)
        if (auto* cid = dynamic_cast<TPdfCidFont*>(entry.second.get()))
            cid->WriteDeferredObjects(canvas_);
}

} // namespace vum
