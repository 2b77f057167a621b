#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "processing/PictureDrawing.h"
#include "state/AppState.h"

TEST(PictureDrawing, GeometryCases)
{
    struct Case {
        const char* name;
        QSize src;
        float W, H;
        DrawSettings s;
        DrawRects expect;
        QSize canvas;
    };
    const Case cases[] = {
        {"limit width", {800, 600}, 400, 0, {0, 0, 0, 0, 0, 0}, {0, 0, 800, 600, 0, 0, 400, 300}, {400, 300}},
        {"crop middle", {1000, 500}, 400, 300, {3, 1, 1, 1, 0, 0}, {167, 0, 667, 500, 0, 0, 400, 300}, {400, 300}},
        {"crop right", {1000, 500}, 400, 300, {3, 1, 2, 1, 0, 0}, {333, 0, 667, 500, 0, 0, 400, 300}, {400, 300}},
        {"crop tall bottom", {500, 1000}, 400, 300, {3, 1, 1, 2, 0, 0}, {0, 625, 500, 375, 0, 0, 400, 300}, {400, 300}},
        {"pad wide", {1000, 500}, 400, 300, {3, 0, 1, 1, 0, 0}, {0, 0, 1000, 500, 0, 50, 400, 200}, {400, 300}},
        {"pad wide start point", {1000, 500}, 400, 300, {3, 0, 1, 1, 7, 10}, {0, 0, 1000, 500, 0, 60, 400, 180}, {400, 300}},
        {"pad tall", {500, 1000}, 400, 300, {3, 0, 1, 1, 0, 0}, {0, 0, 500, 1000, 125, 0, 150, 300}, {400, 300}},
        {"equal proportions crop", {800, 600}, 400, 300, {3, 1, 1, 1, 0, 0}, {0, 0, 800, 600, 0, 0, 400, 300}, {400, 300}},
        {"source size start point", {640, 480}, 1, 1, {2, 1, 1, 1, 10, 10}, {0, 0, 640, 480, 10, 10, 640, 480}, {640, 480}},
        {"border mode without border", {800, 600}, 300, 200, {1, 1, 0, 0, 0, 0}, {0, 0, 800, 533, 0, 0, 300, 200}, {300, 200}},
    };
    for (const Case& c : cases) {
        const DrawGeometry g = computeDrawGeometry(c.src, c.W, c.H, c.s, QSize());
        EXPECT_EQ(roundRects(g), c.expect) << c.name;
        EXPECT_EQ(canvasSize(g), c.canvas) << c.name;
    }
    // Half pixels go to the even neighbour.
    DrawGeometry half;
    half.sx = 0.5; half.sy = 1.5; half.sw = 2.5; half.sh = 3.5;
    EXPECT_EQ(roundRects(half), (DrawRects{0, 2, 2, 4, 0, 0, 0, 0}));
    // Fit-the-border takes the border's size.
    const DrawGeometry b = computeDrawGeometry({800, 600}, 10, 10, {1, 1, 0, 0, 0, 0}, {640, 480});
    EXPECT_EQ(canvasSize(b), QSize(640, 480));
}

TEST(PictureDrawing, CanvasesThatCannotBeMadeAreRefused)
{
    const float sizes[][2] = {{0, 0}, {-5, 10}, {1e9f, 1e9f}, {100000, 100000}, {30000, 20000}, {NAN, 10}};
    for (const auto& s : sizes) {
        DrawGeometry g;
        g.W = s[0];
        g.H = s[1];
        EXPECT_FALSE(canvasSize(g).isValid()) << s[0];
    }
}

TEST(PictureDrawing, DrawsTheFileAndLogsWhatFails)
{
    QTemporaryDir dir;
    QImage src(1000, 500, QImage::Format_RGB32);
    src.fill(Qt::blue);
    const QString png = dir.filePath("wide.png");
    ASSERT_TRUE(src.save(png));
    AppState st;
    st.ps.iSizeMode = 3;
    st.ps.bPicJQ = 0;
    QStringList errors;
    const QImage padded = DrawPicFile(png, 400, 300, st, errors);
    ASSERT_EQ(padded.size(), QSize(400, 300));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(padded.pixel(200, 49), qRgb(255, 255, 255)) << "band of 50 above";
    EXPECT_EQ(padded.pixel(200, 50), qRgb(0, 0, 255));
    EXPECT_EQ(padded.pixel(200, 249), qRgb(0, 0, 255));
    EXPECT_EQ(padded.pixel(200, 250), qRgb(255, 255, 255)) << "band of 50 below";

    // The colour matrix: red and blue exchanged.
    st.pic.cmPic = ColorMatrix{};
    st.pic.cmPic.m[0][2] = st.pic.cmPic.m[2][0] = st.pic.cmPic.m[1][1] = st.pic.cmPic.m[3][3] = 1;
    EXPECT_EQ(DrawPicFile(png, 400, 300, st, errors).pixel(200, 150), qRgb(255, 0, 0));

    const QString bad = dir.filePath("bad.jpg");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    for (int mode : {0, 2, 3}) {
        st.ps.iSizeMode = mode;
        errors.clear();
        EXPECT_TRUE(DrawPicFile(bad, 400, 300, st, errors).isNull());
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith(bad + "在显示图片时发生错误:(")) << errors[0].toStdString();
        EXPECT_TRUE(errors[0].endsWith("。\r\n"));
    }
    st.ps.iSizeMode = 3;
    errors.clear();
    EXPECT_TRUE(DrawPicFile(png, 0, 300, st, errors).isNull());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(png + "在缩放图片时发生错误:(错误代码:"));
    // A size that leaves no pixel is named as such, not as a lack of memory.
    EXPECT_TRUE(errors[0].contains(QStringLiteral("输出尺寸无效(宽 0, 高 300)"))) << errors[0].toStdString();
}

TEST(PictureDrawing, LargeReductionsAverageInsteadOfAliasing)
{
    // One-pixel black and white stripes reduce to an even grey, not to stripes.
    QTemporaryDir dir;
    QImage stripes(1600, 1200, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QString jpg = dir.filePath("stripes.png");
    ASSERT_TRUE(stripes.save(jpg));
    AppState st;
    QStringList errors;
    const QImage out = DrawPicFile(jpg, 100, 0, st, errors);
    ASSERT_EQ(out.size(), QSize(100, 75));
    for (int x = 10; x < 90; x += 7)
        EXPECT_NEAR(qGray(out.pixel(x, 30)), 128, 12) << x;
}
