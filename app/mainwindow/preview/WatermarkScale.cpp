#include "mainwindow/preview/WatermarkScale.h"

#include <algorithm>

#include "state/AppState.h"

float watermarkScale(int sliderValue)
{
    const int v = std::clamp(sliderValue, kScaleSliderMin, kScaleSliderMax);
    double f;
    if (v <= 0)
        f = 1.0 + v / 20.0;
    else if (v <= 10)
        f = 1.0 + v / 10.0;
    else
        f = 1.0 + v / 5.0;
    return f > 0 ? float(f) : 0.05f;
}

void applyWatermarkScale(AppState& st, int sliderValue)
{
    st.ps.sngSyScale = watermarkScale(sliderValue);
}
