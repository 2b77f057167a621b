#include "settings/OptionValues.h"

#include <algorithm>
#include <cmath>

#include "state/NumberText.h"

namespace options {

std::optional<int> boundedNumber(const QString& text, int lo, int hi)
{
    const auto value = numtext::toDouble(text);
    if (!value)
        return std::nullopt;
    const double held = std::clamp(std::nearbyint(*value), double(lo), double(hi));
    return int(held);
}

} // namespace options
