#include "platform/fonts/FontLocator.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <vector>

namespace vum::fonts {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct CharSetDeleter {
    void operator()(FcCharSet* s) const { FcCharSetDestroy(s); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSet = std::unique_ptr<FcFontSet, FontSetDeleter>;
using CharSet = std::unique_ptr<FcCharSet, CharSetDeleter>;

FcConfig* config()
{
    // FcInit reads FONTCONFIG_FILE, so tests and users can pin the fonts.
    static const bool ready = FcInit();
    return ready ? FcConfigGetCurrent() : nullptr;
}

std::string asciiLower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

Pattern requestPattern(const std::string& family, bool bold, bool italic)
{
    Pattern pattern(FcPatternCreate());
    if (!family.empty())
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    return pattern;
}

std::optional<FaceLocation> locationOf(FcPattern* font)
{
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file)
        return std::nullopt;
    FaceLocation where;
    where.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch)
        where.index = index & 0xFFFF; // the high bits select named instances of variable fonts
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family)
        where.family = reinterpret_cast<const char*>(family);
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) == FcResultMatch)
        where.bold = weight >= FC_WEIGHT_DEMIBOLD;
    int slant = FC_SLANT_ROMAN;
    if (FcPatternGetInteger(font, FC_SLANT, 0, &slant) == FcResultMatch)
        where.italic = slant != FC_SLANT_ROMAN;
    // The desktop's rules may ask to embolden or slant a face that has no such
    // design; the face itself is then regular and the style is to be made up.
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden)
        where.bold = false;
    FcMatrix* matrix = nullptr;
    if (FcPatternGetMatrix(font, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix && matrix->xy != 0)
        where.italic = false;
    return where;
}

bool isTrueTypeFormat(FcPattern* font)
{
    FcChar8* format = nullptr;
    return FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch && format &&
           std::string(reinterpret_cast<const char*>(format)) == "TrueType";
}

bool covers(FcPattern* font, char32_t character)
{
    FcCharSet* charset = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch && charset &&
           FcCharSetHasChar(charset, character);
}

const std::vector<std::string>& installedFamilies()
{
    static const std::vector<std::string> families = [] {
        std::vector<std::string> names;
        FcConfig* cfg = config();
        if (!cfg)
            return names;
        Pattern all(FcPatternCreate());
        FcObjectSet* wanted = FcObjectSetBuild(FC_FAMILY, nullptr);
        FontSet list(FcFontList(cfg, all.get(), wanted));
        FcObjectSetDestroy(wanted);
        for (int i = 0; list && i < list->nfont; ++i) {
            FcChar8* name = nullptr;
            for (int k = 0; FcPatternGetString(list->fonts[i], FC_FAMILY, k, &name) == FcResultMatch; ++k)
                names.emplace_back(reinterpret_cast<const char*>(name));
        }
        return names;
    }();
    return families;
}

} // namespace

std::optional<FaceLocation> FontLocator::match(const std::string& family, bool bold, bool italic)
{
    FcConfig* cfg = config();
    if (!cfg)
        return std::nullopt;
    Pattern pattern = requestPattern(family, bold, italic);
    FcConfigSubstitute(cfg, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern font(FcFontMatch(cfg, pattern.get(), &result));
    if (!font)
        return std::nullopt;
    return locationOf(font.get());
}

std::optional<FaceLocation> FontLocator::matchCovering(char32_t character, const std::string& family,
                                                      bool bold, bool italic)
{
    FcConfig* cfg = config();
    if (!cfg)
        return std::nullopt;
    Pattern pattern = requestPattern(family, bold, italic);
    CharSet wanted(FcCharSetCreate());
    FcCharSetAddChar(wanted.get(), character);
    FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
    FcConfigSubstitute(cfg, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    FontSet sorted(FcFontSort(cfg, pattern.get(), FcFalse, nullptr, &result));
    for (int i = 0; sorted && i < sorted->nfont; ++i) {
        FcPattern* font = sorted->fonts[i];
        if (covers(font, character) && isTrueTypeFormat(font))
            return locationOf(font);
    }
    return std::nullopt;
}

std::string FontLocator::installedFamilyName(const std::string& family)
{
    // Asked for every measured string: the answers are kept.
    static std::map<std::string, std::string> known;
    if (auto found = known.find(family); found != known.end())
        return found->second;
    const std::string wanted = asciiLower(family);
    std::string spelling;
    for (const std::string& name : installedFamilies())
        if (asciiLower(name) == wanted) {
            spelling = name;
            break;
        }
    return known.emplace(family, spelling).first->second;
}

} // namespace vum::fonts
