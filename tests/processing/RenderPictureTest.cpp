#include <gtest/gtest.h>

#include <QTemporaryDir>

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
