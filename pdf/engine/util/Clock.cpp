#include "engine/util/Clock.h"

#include <utility>

namespace vum {

namespace {
std::function<std::chrono::system_clock::time_point()>& ClockSource()
{
    static std::function<std::chrono::system_clock::time_point()> clock;
    return clock;
}
} // namespace

std::chrono::system_clock::time_point Now()
{
    const auto& clock = ClockSource();
    return clock ? clock() : std::chrono::system_clock::now();
}

void SetClock(std::function<std::chrono::system_clock::time_point()> clock)
{
    ClockSource() = std::move(clock);
}

} // namespace vum
