#pragma once

struct AppState;

// The picture-watermark scale slider runs from -20 to 20 and starts at 0.
constexpr int kScaleSliderMin = -20;
constexpr int kScaleSliderMax = 20;

// The scale factor of a slider value: 0.05 up to 1.0 in twentieths below
// zero (the zero at -20 becomes 0.05 so the watermark never vanishes), tenths
// up to 2.0, then fifths from 3.2 to 5.0. Values outside the range are taken
// as its nearest end.
float watermarkScale(int sliderValue);

// Stores the factor of a slider value for the next redraw.
void applyWatermarkScale(AppState& st, int sliderValue);
