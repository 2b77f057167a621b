#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "mainwindow/preview/LivePreview.h"
#include "mainwindow/preview/PreviewFit.h"
#include "mainwindow/preview/PreviewTexts.h"
#include "processing/FrameAndMarks.h"
#include "state/AppState.h"

namespace {

using Outcome = PreviewFrame::Outcome;

const PreviewLayout kLayout{QSize(300, 300), QSize(80, 60), QSize(40, 40)};

QString makePicture(const QTemporaryDir& dir, const QString& name, QSize size, const char* format)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(30, 120, 200));
    const QString path = dir.filePath(name);
    EXPECT_TRUE(img.save(path, format)) << name.toStdString();
    return path;
}

QString makeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

struct Pictures {
    QTemporaryDir dir;
    AppState st;
    LivePreview preview{st};
    QString jpg, png, fake, bmp;

    Pictures()
    {
        jpg = makePicture(dir, "sea.jpg", {800, 400}, "JPEG");
        png = makePicture(dir, "sky.png", {300, 300}, "PNG");
        fake = makeFile(dir, "fake.jpg", "not a picture");
        bmp = makePicture(dir, "wide.bmp", {640, 160}, "BMP");
        for (const QString& p : {jpg, png, fake, bmp})
            st.list.add(p);
        st.panel.txtW = "400";
        st.panel.txtH = "300";
    }
};

} // namespace

TEST(LivePreview, EmptyListShowsTheNoticeOnly)
{
    AppState st;
    LivePreview preview(st);
    EXPECT_EQ(preview.redraw(0, kLayout).outcome, Outcome::EmptyList);
    EXPECT_EQ(st.status.text(), previewtext::kEmptyList);
    EXPECT_TRUE(st.ps.sPicFile.isEmpty());
}

TEST(LivePreview, JpegEntryIsMeasuredThumbnailedAndRendered)
{
    Pictures p;
    p.st.list.at(0).description = "海边";
    const PreviewFrame f = p.preview.redraw(0, kLayout);
    ASSERT_EQ(f.outcome, Outcome::Shown);
    EXPECT_EQ(p.st.status.text(),
              QString::fromUtf8("【图片信息】文件名:sea.jpg  宽:800  高:400  大小:%1K   双击文件名可全屏浏览。")
                  .arg(QFileInfo(p.jpg).size() / 1024));
    EXPECT_EQ(f.thumbnailRect, QRect(0, 10, 80, 40));
    EXPECT_EQ(f.thumbnail.size(), QSize(80, 40)) << "decoded at thumbnail size";
    ASSERT_FALSE(f.picture.isNull());
    EXPECT_EQ(f.picture.width(), 400);
    EXPECT_EQ(f.pictureRect, fitPicture(f.picture.size(), kLayout.area));
    EXPECT_EQ(f.picture, p.preview.workPicture());
    EXPECT_EQ(f.description, QString::fromUtf8("海边"));
    EXPECT_EQ(f.caption, QString::fromUtf8("Vimo图片批处理" VIMO_VERSION_SHORT "版 - ") + p.jpg);
    EXPECT_EQ(p.st.ps.sPicFile, p.jpg);
    EXPECT_TRUE(f.previous.isNull()) << "no entry before the first";
    EXPECT_FALSE(f.next.isNull()) << "a PNG neighbour has its thumbnail too";

    const MarkScene scene = p.preview.markScene();
    EXPECT_EQ(scene.image, QRectF(f.pictureRect));
    EXPECT_EQ(scene.picture, QSizeF(f.picture.size()));
}

TEST(LivePreview, PngEntryIsMeasuredAndThumbnailedLikeTheOthers)
{
    Pictures p;
    const PreviewFrame f = p.preview.redraw(1, kLayout);
    ASSERT_EQ(f.outcome, Outcome::Shown);
    EXPECT_EQ(p.st.status.text(),
              QString::fromUtf8("【图片信息】文件名:sky.png  宽:300  高:300  大小:%1K   双击文件名可全屏浏览。")
                  .arg(QFileInfo(p.png).size() / 1024));
    EXPECT_FALSE(f.thumbnail.isNull());
    EXPECT_EQ(f.thumbnailRect, fitPicture(QSize(300, 300), kLayout.thumbnailFrame));
    EXPECT_FALSE(f.picture.isNull());
    EXPECT_EQ(f.description, previewtext::kDescriptionHint);
    EXPECT_FALSE(f.previous.isNull());
    EXPECT_LE(f.previous.width(), kLayout.neighbourBox.width());
    EXPECT_TRUE(f.next.isNull()) << "a neighbour that cannot be read shows nothing, not the old picture";
}

TEST(LivePreview, EntriesThatCannotBeShown)
{
    Pictures p;
    p.preview.redraw(3, kLayout);
    const QString before = p.st.status.text();
    p.st.list.add(p.dir.filePath("gone.jpg"));
    p.st.list.add(makeFile(p.dir, "text.png", "not a picture either"));
    QFile whole(p.png);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    p.st.list.add(makeFile(p.dir, "cut.png", whole.read(120)));  // its header reads, its pixels do not
    p.st.list.at(2).description = "说明";
    struct Case {
        const char* what;
        int index;
        Outcome outcome;
        const char* status;  // nullptr: the status line keeps what it said
    };
    const Case cases[] = {
        {"named jpg but not a picture", 2, Outcome::Unreadable, "【图片信息】文件名:fake.jpg  无法读取:不是可以读取的图片。"},
        {"the file is gone", 4, Outcome::Unreadable, "【图片信息】文件名:gone.jpg  无法读取:文件不存在。"},
        {"named png but not a picture", 5, Outcome::Unreadable, "【图片信息】文件名:text.png  无法读取:不是可以读取的图片。"},
        {"a png cut short", 6, Outcome::Unreadable, "【图片信息】文件名:cut.png  无法读取:不是可以读取的图片。"},
        {"nothing selected", -1, Outcome::NoSelection, nullptr},
        {"beyond the list", 9, Outcome::NoSelection, nullptr},
    };
    for (const Case& c : cases) {
        p.st.status.show(before);
        const PreviewFrame f = p.preview.redraw(c.index, kLayout);
        EXPECT_EQ(f.outcome, c.outcome) << c.what;
        EXPECT_EQ(p.st.status.text(), c.status ? QString::fromUtf8(c.status) : before) << c.what;
        EXPECT_EQ(p.st.ps.sPicFile, p.bmp) << c.what;
        if (c.outcome == Outcome::Unreadable) {
            EXPECT_EQ(f.caption, QString::fromUtf8("Vimo图片批处理" VIMO_VERSION_SHORT "版")) << c.what;
            EXPECT_TRUE(f.thumbnail.isNull() && f.picture.isNull()) << c.what;
        }
    }
    EXPECT_EQ(p.preview.redraw(2, kLayout).description, QString::fromUtf8("说明"));
}

TEST(LivePreview, PreviewSwitchedOffKeepsTheLastPicture)
{
    Pictures p;
    const QImage first = p.preview.redraw(0, kLayout).picture;
    p.st.win.bPreviewOff = true;
    const PreviewFrame f = p.preview.redraw(3, kLayout);
    ASSERT_EQ(f.outcome, Outcome::Shown);
    EXPECT_EQ(f.picture, first);
    EXPECT_EQ(p.st.ps.sPicFile, p.bmp);
    EXPECT_TRUE(p.st.status.text().contains(QString::fromUtf8("宽:640  高:160")));
}

TEST(LivePreview, HitZonesMeetTheWatermarksAsDrawn)
{
    Pictures p;
    p.st.ps.sSyFile = makePicture(p.dir, "logo.png", {40, 20}, "PNG");
    p.st.panel.chkInfoImg = 1;
    p.st.panel.cmbPosImg = posCentre;
    p.st.ps.sText = "Vimo";
    p.st.ps.sFont = "Arial";
    p.st.ps.iSize = 12;
    p.st.panel.chkInfoTxt = 1;
    p.st.panel.cmbPos = posTopLeft;
    const PreviewFrame f = p.preview.redraw(0, kLayout);
    ASSERT_EQ(f.outcome, Outcome::Shown);
    ASSERT_TRUE(f.errors.isEmpty()) << f.errors.join("").toStdString();

    const MarkScene scene = p.preview.markScene();
    EXPECT_EQ(scene.pictureMark, QSizeF(40, 20));
    EXPECT_GT(scene.text.width(), 0);
    const QSizeF shown = scene.image.size();
    EXPECT_EQ(hitWatermark(scene, p.st.ps, {shown.width() / 2, shown.height() / 2}), MarkHit::Picture);
    EXPECT_EQ(hitWatermark(scene, p.st.ps, {shown.width() * p.st.ps.iuTSyX + 1, shown.height() * p.st.ps.iuTSyY + 1}),
              MarkHit::Text);
    EXPECT_EQ(hitWatermark(scene, p.st.ps, {shown.width() - 2, shown.height() - 2}), MarkHit::None);
}
