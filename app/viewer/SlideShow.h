#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The slide show's numbers: the interval the user types, the timer's
// milliseconds, and which list entry a tick shows.
namespace slideshow {

// Longest interval the settings keep (a 16-bit number of seconds).
constexpr int kMaxSeconds = 32767;

// The typed interval rounded down to whole seconds; nothing for an answer
// that is not a number, or not at least one second, or above kMaxSeconds.
std::optional<int> parseSeconds(const QString& answer);

// Timer interval of `seconds` (clamped to 1..kMaxSeconds), in milliseconds.
int intervalMs(int seconds);

// The entry tick number `tick` shows in a list of `count`; -1 for an empty list.
int entryForTick(uint32_t tick, int count);

// Ticks since the program started; never reset, so a later show continues
// where the last one stopped. Wraps instead of sticking at a maximum.
uint32_t takeTick();

} // namespace slideshow
