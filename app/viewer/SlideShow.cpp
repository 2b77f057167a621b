#include "viewer/SlideShow.h"

#include <algorithm>
#include <cmath>

namespace slideshow {

std::optional<int> parseSeconds(const QString& answer)
{
    bool ok = false;
    const double value = answer.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double whole = std::floor(value);
    if (whole < 1 || whole > kMaxSeconds)
        return std::nullopt;
    return int(whole);
}

int intervalMs(int seconds)
{
    return std::clamp(seconds, 1, kMaxSeconds) * 1000;
}

int entryForTick(uint32_t tick, int count)
{
    if (count <= 0)
        return -1;
    return int(tick % uint32_t(count));
}

uint32_t takeTick()
{
    static uint32_t tick = 0;
    return tick++;
}

} // namespace slideshow
