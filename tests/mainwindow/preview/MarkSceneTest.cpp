#include <gtest/gtest.h>

#include "mainwindow/preview/MarkScene.h"
#include "state/AppState.h"

#include "BothWatermarks.h"

namespace {

MarkScene sceneOf(const AppState& st)
{
    return makeMarkScene(st, QRectF(10, 20, 400, 300), QSizeF(800, 600), QSizeF(80, 20));
}

} // namespace

TEST(MarkScene, HitZonesHaveExclusiveBounds)
{
    struct Case { QPointF p; MarkHit hit; };
    const Case cases[] = {
        {{100, 150}, MarkHit::Text},    {{80, 150}, MarkHit::None},      {{80.5, 150}, MarkHit::Text},
        {{180, 150}, MarkHit::None},    {{179.5, 150}, MarkHit::Text},   {{100, 130}, MarkHit::None},
        {{100, 130.5}, MarkHit::Text},  {{100, 190}, MarkHit::None},     {{100, 189.5}, MarkHit::Text},
        {{300, 150}, MarkHit::Picture}, {{250, 150}, MarkHit::None},     {{350, 150}, MarkHit::None},
        {{300, 125}, MarkHit::None},    {{300, 175}, MarkHit::None},     {{349.5, 174.5}, MarkHit::Picture},
        {{200, 250}, MarkHit::None},
    };
    const AppState st = bothWatermarksOn();
    const MarkScene scene = sceneOf(st);
    for (const Case& c : cases)
        EXPECT_EQ(hitWatermark(scene, st.ps, c.p), c.hit) << c.p.x() << "," << c.p.y();
}

TEST(MarkScene, TextWinsAndOnlyWatermarksThatAreOnAreHit)
{
    struct Case {
        const char* what;
        int textOn, pictureOn;
        const char* text;
        MarkHit hit;
    };
    const Case cases[] = {
        {"both under the click: the text wins", 1, 1, "Vimo", MarkHit::Text},
        {"text switched off", 0, 1, "Vimo", MarkHit::Picture},
        {"no text at all", 1, 1, "", MarkHit::Picture},
        {"picture switched off, its old size still stored", 1, 0, "", MarkHit::None},
        {"both off", 0, 0, "Vimo", MarkHit::None},
    };
    for (const Case& c : cases) {
        AppState st = bothWatermarksOn();
        st.ps.iuISyX = 0.25;  // the picture watermark now lies over the text
        st.panel.chkInfoTxt = c.textOn;
        st.panel.chkInfoImg = c.pictureOn;
        st.ps.sText = c.text;
        EXPECT_EQ(hitWatermark(sceneOf(st), st.ps, {110, 155}), c.hit) << c.what;
    }
}

TEST(MarkScene, TextWithoutWidthHasNoZone)
{
    const AppState st = bothWatermarksOn();
    const MarkScene scene = makeMarkScene(st, QRectF(10, 20, 400, 300), QSizeF(800, 600), QSizeF(0, 20));
    EXPECT_EQ(hitWatermark(scene, st.ps, {100, 150}), MarkHit::None);
}

TEST(MarkScene, MarkerLiesUnderTheWatermarkAtPreviewScale)
{
    const AppState st = bothWatermarksOn();
    const MarkScene scene = sceneOf(st);
    EXPECT_EQ(markerUnder(MarkHit::Picture, scene, st.ps), QRectF(285, 182.5, 50, kMarkerThickness));
    EXPECT_EQ(markerUnder(MarkHit::Text, scene, st.ps), QRectF(110, 175, 40, kMarkerThickness));
    EXPECT_EQ(markerUnder(MarkHit::None, scene, st.ps), QRectF());

    MarkScene empty = scene;
    empty.picture = QSizeF();  // nothing rendered yet: no scale, no division by zero
    EXPECT_EQ(markerUnder(MarkHit::Picture, empty, st.ps).width(), 0);
}

TEST(MarkScene, MeasuresTheTextAsPrinted)
{
    ProgramState ps;
    ps.sFont = "Arial";
    ps.iSize = 20;
    EXPECT_TRUE(measureMarkText(ps, "/pics/a.jpg").isEmpty());
    ps.sText = "#图片原文件名#";
    const QSizeF name = measureMarkText(ps, "/pics/holiday-at-the-sea.jpg");
    ps.sText = "holiday-at-the-sea";
    EXPECT_EQ(name, measureMarkText(ps, "/pics/other.jpg"));
    EXPECT_GT(name.width(), name.height());
}
