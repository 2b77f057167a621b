#pragma once

// Doubles a plane of 8-bit samples in both directions, in place: new samples
// are the rounded averages of their neighbours (Photo CD chroma planes).
#include <cstdint>

namespace vum {

// The width x height samples at the start of the plane (rows lineLength bytes
// apart) become 2 width x 2 height samples with the same row distance.
// lineLength must be at least 2 width and the plane must hold 2 height rows.
void UpsamplePlane2x(uint32_t width, uint32_t height, uint32_t lineLength, uint8_t* plane);

} // namespace vum
