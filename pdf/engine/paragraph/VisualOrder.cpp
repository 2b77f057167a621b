#include "engine/paragraph/VisualOrder.h"

#include "engine/fonts/FontEncodingTables.h"

namespace vum {

std::u32string VisualOrder(const std::u32string& text, int kind)
{
    if (kind == 0)
        return text;
    std::u32string result;
    size_t insertAt = 0;
    for (char32_t c : text) {
        if (IsRightToLeftCharacter(kind, c)) {
            result.insert(result.begin(), c);
            insertAt = 0;
        } else {
            result.insert(result.begin() + static_cast<std::ptrdiff_t>(insertAt), c);
            ++insertAt;
        }
    }
    return result;
}

} // namespace vum
