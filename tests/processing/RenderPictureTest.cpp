#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "CraftedGifs.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"

TEST(RenderPicture, LargeJpegThroughTheWholePipeline)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    const QString jpg = dir.filePath("big.jpg");
    ASSERT_EQ(runTool({"convert", "-size", "1600x1200", "xc:rgb(200,40,40)", jpg.toStdString()}).exitCode, 0);

    AppState st;
    st.panel.txtW = "400";
    st.panel.mTXUndo = false;
    st.panel.mTX = 11;  // invert
    st.ps.sText = "#图片原文件名#";
    st.ps.iSize = 12;
    st.ps.sFont = "Arial";
    st.panel.chkInfoTxt = 1;
    st.panel.cmbPos = 4;
    const RenderResult r = renderPicture(jpg, st);
    EXPECT_TRUE(r.errors.isEmpty());
    ASSERT_EQ(r.picture.size(), QSize(400, 300));
    EXPECT_EQ(r.picture.format(), QImage::Format_RGB888);
    const QRgb corner = r.picture.pixel(10, 10);
    EXPECT_NEAR(qRed(corner), 55, 4);
    EXPECT_NEAR(qGreen(corner), 215, 4);
    EXPECT_GT(st.ps.iuTSyX, 0.3) << "centred text stores its corner";
    EXPECT_LT(st.ps.iuTSyX, 0.5);

    const RenderResult missing = renderPicture(dir.filePath("gone.jpg"), st);
    EXPECT_TRUE(missing.picture.isNull());
    ASSERT_EQ(missing.errors.size(), 1);
    EXPECT_TRUE(missing.errors[0].startsWith(dir.filePath("gone.jpg")));
}

// A GIF's logical screen around a small first frame is transparent unless a
// screen colour table gives it a background colour; a result lays it on
// white. A 64-square frame in the corner of a large screen (without any
// colour table: 16384 square, all black before), drawn 800 wide.
TEST(RenderPicture, AGifsScreenWithoutAColourTableComesOutWhiteAroundTheFrame)
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0), white = qRgb(255, 255, 255);
    const std::string frameTable = craftedgifs::colourTable({red, blue, red, blue});
    const struct Case {
        const char* what;
        int screen;
        std::string screenTable, frameTable;
        QRgb around;
    } cases[] = {
        {"a frame table only", 4096, {}, frameTable, white},
        {"no colour table at all", 16384, {}, {}, white},
        {"a screen table", 4096, craftedgifs::colourTable({red, blue, green, red}), frameTable, green},
    };
    QTemporaryDir dir;
    AppState st;
    st.ps.iSizeMode = 0;
    st.panel.txtW = "800";
    for (const Case& c : cases) {
        const QString gif = dir.filePath("screen.gif");
        writeFile(gif.toStdString(), craftedgifs::smallFrame(c.screen, 64, 0, c.screenTable, c.frameTable));
        const RenderResult r = renderPicture(gif, st);
        EXPECT_TRUE(r.errors.isEmpty()) << c.what;
        ASSERT_EQ(r.picture.size(), QSize(800, 800)) << c.what;
        // The frame lies in the top left corner, the rest is the screen.
        EXPECT_NE(r.picture.pixel(0, 0), c.around) << c.what;
        int other = 0;
        for (int y = 0; y < 800; ++y)
            for (int x = 0; x < 800; ++x)
                other += r.picture.pixel(x, y) != c.around;
        EXPECT_LE(other, 20 * 20) << c.what;
    }
}
