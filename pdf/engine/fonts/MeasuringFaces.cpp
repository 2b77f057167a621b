#include "engine/fonts/MeasuringFaces.h"

#include "platform/fonts/FontError.h"
#include "platform/fonts/FontFace.h"
#include "platform/fonts/FontLocator.h"

#include <map>
#include <string>

namespace vum {

LineMetrics MeasuringMetrics(const TVumFont& font)
{
    static std::map<std::string, LineMetrics> cache;
    const bool bold = font.Style & fsBold;
    const bool italic = font.Style & fsItalic;
    const std::string key = font.Name + (bold ? "|b" : "|") + (italic ? "i" : "");
    if (auto found = cache.find(key); found != cache.end())
        return found->second;
    LineMetrics metrics;
    if (auto where = fonts::FontLocator::match(font.Name, bold, italic)) {
        try {
            const auto face = fonts::FontFace::open(*where);
            const auto& m = face->metrics();
            metrics.Ascent = double(m.ascent) / m.unitsPerEm;
            metrics.Descent = double(m.descent) / m.unitsPerEm;
        } catch (const fonts::FontError&) {
            // Unreadable face: the usual proportions of a text face stand in.
        }
    }
    return cache.emplace(key, metrics).first->second;
}

} // namespace vum
