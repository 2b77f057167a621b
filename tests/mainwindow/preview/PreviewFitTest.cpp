#include <gtest/gtest.h>

#include "mainwindow/preview/PreviewFit.h"
#include "mainwindow/preview/WatermarkScale.h"
#include "state/AppState.h"

TEST(PreviewFit, FitsWithoutEnlarging)
{
    struct Case {
        const char* what;
        QSizeF picture, frame;
        QRect expected;
    };
    const Case cases[] = {
        {"smaller: centred at its own size", {100, 50}, {400, 300}, {150, 125, 100, 50}},
        {"wider and larger: fills the width", {800, 200}, {400, 300}, {0, 100, 400, 100}},
        {"taller and larger: fills the height", {300, 600}, {400, 300}, {125, 0, 150, 300}},
        {"same proportion, larger: the width rule", {800, 600}, {400, 300}, {0, 0, 400, 300}},
        {"same proportion 3:1", {900, 300}, {600, 200}, {0, 0, 600, 200}},
        {"same proportion, smaller: not enlarged", {200, 150}, {400, 300}, {100, 75, 200, 150}},
        {"exactly the frame", {400, 300}, {400, 300}, {0, 0, 400, 300}},
        {"wider in proportion but lower than the frame", {390, 100}, {400, 300}, {5, 100, 390, 100}},
        {"no width", {0, 100}, {400, 300}, {}},
        {"no height", {100, 0}, {400, 300}, {}},
        {"no frame", {100, 100}, {0, 0}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitPicture(c.picture, c.frame), c.expected) << c.what;
}

TEST(WatermarkScale, SliderTable)
{
    struct Case { int value; float scale; };
    const Case cases[] = {{-20, 0.05f}, {-19, 0.05f}, {-10, 0.5f}, {-1, 0.95f}, {0, 1.0f}, {1, 1.1f},
                          {10, 2.0f},   {11, 3.2f},   {15, 4.0f},  {20, 5.0f},  {-50, 0.05f}, {99, 5.0f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(watermarkScale(c.value), c.scale) << c.value;

    AppState st;
    applyWatermarkScale(st, 11);
    EXPECT_FLOAT_EQ(st.ps.sngSyScale, 3.2f);
}
