#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/imaging/TextPainter.h"
#include "processing/FrameAndMarks.h"
#include "DamagedJpegs.h"
#include "state/AppState.h"

TEST(FrameAndMarks, PicturePositions)
{
    struct Case { int pos; QPointF at; QPointF frac; };
    const QPointF kept(0.25, 0.75);
    const Case cases[] = {
        {0, {295, 245}, {0.8625, 0.9}},
        {1, {5, 245}, {55.0 / 400, 0.9}},
        {2, {5, 5}, {55.0 / 400, 30.0 / 300}},
        {3, {295, 5}, {0.8625, 30.0 / 300}},
        {4, {150, 125}, {0.5, 0.5}},
        {5, {50, 200}, kept},
    };
    for (const Case& c : cases) {
        const MarkPlacement m = placePictureMark(c.pos, 400, 300, 100, 50, kept);
        EXPECT_EQ(m.topLeft, c.at) << c.pos;
        EXPECT_DOUBLE_EQ(m.fraction.x(), c.frac.x()) << c.pos;
        EXPECT_DOUBLE_EQ(m.fraction.y(), c.frac.y()) << c.pos;
    }
    // The free position with the fractions a preset stored lands at the same place.
    const MarkPlacement preset = placePictureMark(0, 400, 300, 100, 50, {});
    EXPECT_EQ(placePictureMark(5, 400, 300, 100, 50, preset.fraction).topLeft, QPointF(295, 245));
}

TEST(FrameAndMarks, TextPositions)
{
    struct Case { int pos; QPointF at; QPointF frac; };
    const Case cases[] = {
        {0, {295, 245}, {295.0 / 400, 245.0 / 300}},
        {2, {5, 5}, {5.0 / 400, 5.0 / 300}},
        {4, {150, 125}, {150.0 / 400, 125.0 / 300}},
        {5, {100, 150}, {0.25, 0.5}},
    };
    for (const Case& c : cases) {
        const MarkPlacement m = placeTextMark(c.pos, 400, 300, 100, 50, {0.25, 0.5});
        EXPECT_EQ(m.topLeft, c.at) << c.pos;
        EXPECT_DOUBLE_EQ(m.fraction.x(), c.frac.x()) << c.pos;
        EXPECT_DOUBLE_EQ(m.fraction.y(), c.frac.y()) << c.pos;
    }
}

TEST(FrameAndMarks, Keywords)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(14, 7));
    struct Case { const char* text; const char* path; QString printed; };
    const Case cases[] = {
        {"#当前日期#", "/x/a.jpg", QStringLiteral("2024年03月05日")},
        {"#当前时间#", "/x/a.jpg", QStringLiteral("2024年03月05日 14:07")},
        {"#图片原文件名#", "/any/where/trip.2020.jpg", QStringLiteral("trip.2020")},
        {"#JPG照片拍摄时间#", "/no/such/file.jpg", QString()},
        {"hello #当前日期#", "/x/a.jpg", QStringLiteral("hello #当前日期#")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(expandMarkText(QString::fromUtf8(c.text), c.path, now), c.printed) << c.text;
}

TEST(FrameAndMarks, DrawsBorderMarkAndWholeTextInsideTheCanvas)
{
    QTemporaryDir dir;
    QImage border(40, 30, QImage::Format_ARGB32);
    border.fill(Qt::transparent);
    for (int x = 0; x < 40; ++x)
        border.setPixel(x, 0, qRgba(0, 255, 0, 255));
    const QString bk = dir.filePath("bk.png");
    ASSERT_TRUE(border.save(bk));
    QImage mark(100, 50, QImage::Format_RGB32);
    mark.fill(Qt::black);
    const QString sy = dir.filePath("mark.png");
    ASSERT_TRUE(mark.save(sy));

    AppState st;
    st.ps.sBkFile = bk;
    st.ps.sSyFile = sy;
    st.ps.sngSyScale = 1;
    st.pic.cmSy.m[3][3] = 0.8f;
    st.panel.chkInfoImg = 1;
    st.panel.chkInfoTxt = 1;
    st.ps.sText = "#当前日期#";
    st.ps.sFont = "Arial";
    st.ps.iSize = 20;
    st.ps.lColor = 0x0000FF;  // red
    QImage canvas(400, 300, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QStringList errors;
    AddFrameAndMarks(canvas, "/x/a.jpg", 0, 0, st, errors);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(canvas.pixel(200, 0), qRgb(0, 255, 0)) << "border stretched over the canvas";
    // 80 % black over white.
    EXPECT_NEAR(qRed(canvas.pixel(300, 250)), 51, 3);
    EXPECT_DOUBLE_EQ(st.ps.iuISyX, 0.8625);
    EXPECT_FLOAT_EQ(st.ps.sngSyW, 100);

    // The text is placed by the width of the date it prints, so all of it is inside.
    const QSize ts = textMarkSize(st, "/x/a.jpg");
    EXPECT_GT(ts.width(), imaging::measureText(st.ps.sText, imaging::makeFont({"Arial", 20})).width())
        << "the date is wider than its keyword";
    EXPECT_NEAR(st.ps.iuTSyX * 400, 400 - 5 - ts.width(), 1e-9);
    int redRight = -1;
    for (int x = 0; x < 400; ++x)
        for (int y = 200; y < 300; ++y) {
            const QRgb p = canvas.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80)
                redRight = std::max(redRight, x);
        }
    EXPECT_GT(redRight, 300);
    EXPECT_LE(redRight, 395);
}

TEST(FrameAndMarks, BadWatermarksAreLoggedAndTheTextStillPrinted)
{
    QTemporaryDir dir;
    QImage mark(10, 10, QImage::Format_RGB32);
    mark.fill(Qt::black);
    const QString sy = dir.filePath("mark.png");
    ASSERT_TRUE(mark.save(sy));
    struct Case { QString file; float scale; };
    const Case cases[] = {{dir.filePath("missing.png"), 1}, {sy, 0}};
    for (const Case& c : cases) {
        AppState st;
        st.ps.sSyFile = c.file;
        st.ps.sngSyScale = c.scale;
        st.panel.chkInfoImg = 1;
        st.panel.chkInfoTxt = 1;
        st.ps.sText = "X";
        st.ps.iSize = 30;
        QImage canvas(100, 100, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QStringList errors;
        AddFrameAndMarks(canvas, "/src/p.jpg", 2, 0, st, errors);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith("/src/p.jpg在添加图片水印时发生错误:(错误代码:"));
        int ink = 0;
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 60; ++y)
                ink += canvas.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_GT(ink, 20) << "text printed";
    }
}

// A watermark that cannot be read is logged with each picture it is missing
// from, with the reason the file gave, in the words a source picture gets.
TEST(FrameAndMarks, AnUnreadableWatermarkIsLoggedWithItsReason)
{
    QTemporaryDir dir;
    // A 1 x 1 frame on a 30000 x 30000 screen: over the picture cap.
    const QString huge = dir.filePath("huge.gif");
    QFile gif(huge);
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.write(QByteArray::fromHex("474946383961" "3075" "3075" "800000" "000000ffffff"
                                  "2c00000000010001000002024401003b"));
    gif.close();
    const QString scans =
        QString::fromStdString(damagedjpegs::manyScans(dir.path().toStdString(), "scans.jpg", 150));
    ASSERT_FALSE(scans.isEmpty());
    struct Case { QString file; QString reason; };
    const Case cases[] = {
        {dir.filePath("missing.png"), QStringLiteral("481)无效的图片")},
        {huge, QStringLiteral("7)内存不足: 图片太大: 30000 x 30000, 上限 536870912 像素")},
        {scans, QStringLiteral("481)无效的图片: JPEG 图片的扫描超过 100 次")},
    };
    for (const Case& c : cases) {
        AppState st;
        st.ps.sSyFile = c.file;
        st.ps.sngSyScale = 1;
        st.panel.chkInfoImg = 1;
        QImage canvas(100, 100, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QStringList errors;
        AddFrameAndMarks(canvas, "/src/p.jpg", 2, 0, st, errors);
        EXPECT_EQ(errors, QStringList{"/src/p.jpg在添加图片水印时发生错误:(错误代码:" + c.reason + "。\r\n"})
            << c.file.toStdString();
    }
}
