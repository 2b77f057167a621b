#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ToolRunner.h"
#include "processing/Rotation.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"

namespace {

// 4 x 3, every pixel different, so every turn and mirror shows.
QImage asymmetric()
{
    QImage img(4, 3, QImage::Format_RGB888);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            img.setPixel(x, y, qRgb(20 * x, 60 * y, 7 * x + y));
    return img;
}

} // namespace

TEST(Rotation, EveryModeOnAnAsymmetricPicture)
{
    const QImage src = asymmetric();
    struct Case { int mode; QSize size; QPoint from; QPoint to; };  // src pixel `from` lands at `to`
    const Case cases[] = {
        {0, {4, 3}, {0, 0}, {0, 0}}, {1, {4, 3}, {3, 0}, {3, 0}},
        {3, {3, 4}, {0, 0}, {2, 0}},   // clockwise: top left goes to top right
        {4, {3, 4}, {0, 0}, {0, 3}},   // counter-clockwise: top left goes to bottom left
        {5, {4, 3}, {0, 0}, {3, 2}},
        {6, {4, 3}, {1, 0}, {1, 2}},   // top and bottom change places
        {7, {4, 3}, {0, 1}, {3, 1}},   // left and right change places
    };
    for (const Case& c : cases) {
        QImage pic = src;
        RotatePicture(pic, c.mode, QString());
        ASSERT_EQ(pic.size(), c.size) << c.mode;
        EXPECT_EQ(pic.pixel(c.to), src.pixel(c.from)) << c.mode;
    }
    QImage there = src;
    RotatePicture(there, 3, QString());
    RotatePicture(there, 4, QString());
    EXPECT_EQ(there, src) << "a turn and its reverse give back the picture bit for bit";
}

TEST(Rotation, OrientationTexts)
{
    struct Case { const char* text; int mode; };
    const Case cases[] = {{"1", 0}, {"2", 7}, {"3", 5}, {"4", 6}, {"5", 0}, {"6", 3}, {"7", 0},
                          {"8", 4}, {"", 0}, {" 6", 0}, {"06", 0}, {"9", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(modeForOrientation(c.text), c.mode) << c.text;
}

TEST(Rotation, ExiftoolTaggedJpegComesOutUpright)
{
    ASSERT_TRUE(toolsInstalled({"convert", "exiftool"}));
    QTemporaryDir dir;
    const std::string jpg = dir.filePath("turned.jpg").toStdString();
    // 60 x 40 with a red left half; Orientation 6 says "turn clockwise to view".
    ASSERT_EQ(runTool({"convert", "-size", "30x40", "xc:red", "-size", "30x40", "xc:blue", "+append",
                       "-quality", "95", jpg}).exitCode, 0);
    ASSERT_EQ(runTool({"exiftool", "-q", "-overwrite_original", "-Orientation#=6", jpg}).exitCode, 0);

    AppState st;
    st.panel.txtW = "60";
    st.ps.iSizeMode = 2;
    for (int mode : {0, 2}) {
        st.rot.iRotateMode = mode;
        const RenderResult r = renderPicture(QString::fromStdString(jpg), st);
        ASSERT_FALSE(r.picture.isNull());
        if (mode == 0) {
            EXPECT_EQ(r.picture.size(), QSize(60, 40)) << "unturned";
            EXPECT_GT(qRed(r.picture.pixel(5, 20)), 200);
        } else {
            EXPECT_EQ(r.picture.size(), QSize(40, 60)) << "upright";
            EXPECT_GT(qRed(r.picture.pixel(20, 5)), 200) << "the left half is now on top";
            EXPECT_GT(qBlue(r.picture.pixel(20, 55)), 200);
        }
    }
}

TEST(Rotation, PreviewFit)
{
    struct Case { QSize picture, area, current; QRect expect; };
    const Case cases[] = {
        {{800, 400}, {400, 300}, {10, 10}, {0, 50, 400, 200}},     // wide and larger: scaled to the width
        {{300, 600}, {400, 300}, {10, 10}, {125, 0, 150, 300}},    // tall and larger: scaled to the height
        {{400, 100}, {400, 300}, {7, 7}, {0, 100, 7, 7}},          // exactly as wide: centred, size kept
        {{100, 50}, {400, 300}, {100, 50}, {150, 125, 100, 50}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitPreview(c.picture, c.area, c.current), c.expect) << c.picture.width();
}

TEST(Rotation, SizeRulesApplyToTheTurnedPicture)
{
    ASSERT_TRUE(toolsInstalled({"convert", "exiftool"}));
    QTemporaryDir dir;
    // Red on the stored left, blue on the stored right: after a clockwise
    // turn red is on top.
    auto make = [&](const char* name, int w, int h, int orientation) {
        const std::string path = dir.filePath(name).toStdString();
        const std::string half = std::to_string(w / 2) + "x" + std::to_string(h);
        EXPECT_EQ(runTool({"convert", "-size", half, "xc:red", "-size", half, "xc:blue", "+append",
                           "-quality", "92", path}).exitCode, 0);
        if (orientation) {
            EXPECT_EQ(runTool({"exiftool", "-q", "-overwrite_original",
                               "-Orientation#=" + std::to_string(orientation), path}).exitCode, 0);
        }
        return QString::fromStdString(path);
    };
    const QString portrait = make("portrait.jpg", 2400, 3600, 0);
    const QString phone = make("phone.jpg", 3000, 2000, 6);
    struct Case { const char* what; QString path; int rotate; int sizeMode; int crop; const char* W; const char* H;
                  QSize expect; bool redOnTop; };
    const Case cases[] = {
        {"width limit, clockwise", portrait, 3, 0, 0, "800", "600", {800, 533}, true},
        {"width limit, counter-clockwise", portrait, 4, 0, 0, "800", "600", {800, 533}, false},
        {"width limit, EXIF 6", phone, 2, 0, 0, "800", "600", {800, 1200}, true},
        {"fixed size cropped, EXIF 6", phone, 2, 3, 1, "600", "900", {600, 900}, true},
        {"fixed size padded, EXIF 6", phone, 2, 3, 0, "600", "900", {600, 900}, true},
    };
    for (const Case& c : cases) {
        AppState st;
        st.panel.txtW = c.W;
        st.panel.txtH = c.H;
        st.ps.iSizeMode = c.sizeMode;
        st.ps.bPicJQ = c.crop;
        st.rot.iRotateMode = c.rotate;
        const RenderResult r = renderPicture(c.path, st);
        ASSERT_FALSE(r.picture.isNull()) << c.what;
        EXPECT_EQ(r.picture.size(), c.expect) << c.what;
        const QImage& p = r.picture;
        // The turned picture fills the canvas: no white bands at the edges.
        const QPoint top(p.width() / 2, 3), bottom(p.width() / 2, p.height() - 4);
        const QPoint left(3, p.height() / 2), right(p.width() - 4, p.height() / 2);
        for (QPoint edge : {top, bottom, left, right})
            EXPECT_LT(qGreen(p.pixel(edge)), 60) << c.what << " edge " << edge.x() << "," << edge.y();
        EXPECT_EQ(qRed(p.pixel(top)) > 200, c.redOnTop) << c.what;
        EXPECT_EQ(qBlue(p.pixel(bottom)) > 200, c.redOnTop) << c.what;
    }
}
