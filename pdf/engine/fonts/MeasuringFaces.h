#pragma once

#include "engine/canvas/DrawingTools.h"

namespace vum {

// Ascent and descent of the face that draws a font, per point of size.
struct LineMetrics {
    double Ascent = 0.9;
    double Descent = 0.2;
};

// The installed face is looked up once per name and style for the process.
LineMetrics MeasuringMetrics(const TVumFont& font);

} // namespace vum
