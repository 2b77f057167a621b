#pragma once

#include <chrono>
#include <functional>

namespace vum {

// The time the writer stamps into a document (its creation date and file
// identifier). Tests pin it to make files they can compare.
std::chrono::system_clock::time_point Now();
// Replaces the clock; an empty function restores the system's.
void SetClock(std::function<std::chrono::system_clock::time_point()> clock);

} // namespace vum
