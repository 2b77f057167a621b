// Values a hand-edited settings or job file can hold, far beyond what the
// panel lets a user type: each is clamped or refused with its own line,
// never turned into a pixel count that overflows.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "processing/FrameAndMarks.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"

namespace {

struct Extreme {
    const char* name;
    std::function<void(AppState&)> set;
    QSize size;            // of the result; 0 x 0: none
    const char* logged;    // part of the one error line, "" for none
};

// 400 x 300 on a blue 200 x 400 source (tall), padded in a fixed size, with
// a 10 x 10 black watermark and the text "X" at free positions.
AppState extremeBase(const QString& mark)
{
    AppState st;
    st.ps.iSizeMode = 3;
    st.ps.bPicJQ = 0;
    st.panel.txtW = "400";
    st.panel.txtH = "300";
    st.ps.sSyFile = mark;
    st.ps.sngSyScale = 1;
    st.panel.chkInfoImg = 1;
    st.panel.cmbPosImg = posFree;
    st.ps.iuISyX = st.ps.iuISyY = 0.5;
    st.ps.sText = "X";
    st.ps.iSize = 12;
    st.panel.chkInfoTxt = 1;
    st.panel.cmbPos = posFree;
    st.ps.iuTSyX = st.ps.iuTSyY = 0.5;
    return st;
}

} // namespace

TEST(ExtremeSettings, AreClampedOrRefusedWithTheirOwnLine)
{
    QTemporaryDir dir;
    QImage src(200, 400, QImage::Format_RGB32);
    src.fill(Qt::blue);
    const QString path = dir.filePath("tall.png");
    ASSERT_TRUE(src.save(path));
    QImage mark(10, 10, QImage::Format_RGB32);
    mark.fill(Qt::black);
    const QString markPath = dir.filePath("mark.png");
    ASSERT_TRUE(mark.save(markPath));

    const QString nines = QString("9").repeated(40);
    const QSize full(400, 300);
    const Extreme cases[] = {
        {"start point x 1e30, padded", [](AppState& s) { s.pic.sngXp = 1e30f; }, full, ""},
        {"start point x -1e30, padded", [](AppState& s) { s.pic.sngXp = -1e30f; }, full, ""},
        {"start point y 1e30, cropped", [](AppState& s) { s.pic.sngYp = 1e30f; s.ps.bPicJQ = 1; }, full, ""},
        {"start point 1e30, source size", [](AppState& s) { s.pic.sngXp = s.pic.sngYp = 1e30f; s.ps.iSizeMode = 2; },
         QSize(200, 400), ""},
        {"watermark scale 1e30", [](AppState& s) { s.ps.sngSyScale = 1e30f; }, full, "水印图片太大"},
        {"watermark scale 1e-30", [](AppState& s) { s.ps.sngSyScale = 1e-30f; }, full, "水印图片尺寸无效"},
        {"watermark position 1e30", [](AppState& s) { s.ps.iuISyX = 1e30; s.ps.iuISyY = -1e30; }, full, ""},
        {"text position 1e30", [](AppState& s) { s.ps.iuTSyX = 1e30; s.ps.iuTSyY = -1e30; }, full, ""},
        {"width of forty nines", [&](AppState& s) { s.panel.txtW = nines; }, QSize(0, 0), "图片太大"},
        {"width of minus forty nines", [&](AppState& s) { s.panel.txtW = "-" + nines; }, QSize(0, 0), "输出尺寸无效"},
    };
    for (const Extreme& c : cases) {
        SCOPED_TRACE(c.name);
        AppState st = extremeBase(markPath);
        c.set(st);
        const RenderResult r = renderPicture(path, st);
        EXPECT_EQ(r.picture.size(), c.size);
        if (*c.logged) {
            ASSERT_EQ(r.errors.size(), 1);
            EXPECT_TRUE(r.errors[0].contains(QString::fromUtf8(c.logged))) << r.errors[0].toStdString();
            // Only a canvas refused for its size is put down to memory.
            if (QString::fromUtf8(c.logged) != "图片太大") {
                EXPECT_FALSE(r.errors[0].contains("内存不足")) << r.errors[0].toStdString();
            }
        } else {
            EXPECT_TRUE(r.errors.isEmpty()) << r.errors.join("").toStdString();
        }
    }
}
