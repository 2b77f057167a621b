#include <gtest/gtest.h>

#include <QPainter>

#include "PictureKinds.h"
#include "TempDir.h"
#include "mainwindow/preview/LivePreview.h"
#include "state/AppState.h"

namespace {

// The same table as the pipeline's, through the preview's own redraw: the
// preview must show every kind as it will be saved.
constexpr int kOutWidth = 200, kOutHeight = 133;

class PreviewOfEveryKind : public ::testing::TestWithParam<picturekinds::Kind> {};

} // namespace

TEST_P(PreviewOfEveryKind, ShowsItAsImageMagickResizesIt)
{
    const picturekinds::Kind& kind = GetParam();
    TempDir dir;
    std::string path, error;
    ASSERT_TRUE(picturekinds::makeChecked(kind, dir.path().string(), path));

    AppState st;
    st.ps.iSizeMode = 0;
    st.panel.txtW = QString::number(kOutWidth);
    st.list.add(QString::fromStdString(path));
    LivePreview preview(st);
    const PreviewFrame f = preview.redraw(0, {QSize(300, 300), QSize(80, 60), QSize(40, 40)});
    ASSERT_EQ(f.outcome, PreviewFrame::Outcome::Shown);
    EXPECT_TRUE(f.errors.isEmpty()) << f.errors.join(QString()).toStdString();
    ASSERT_EQ(f.picture.size(), QSize(kOutWidth, kOutHeight));
    const std::string shown = dir.file("shown.png");
    ASSERT_TRUE(f.picture.save(QString::fromStdString(shown)));
    const double rmse = picturekinds::rmseAgainstMagick(shown, path, kOutWidth, kOutHeight, error);
    ASSERT_GE(rmse, 0) << error;
    EXPECT_LT(rmse, 0.04);

    // The untouched source beside it is shown for every kind, and just as right.
    ASSERT_FALSE(f.thumbnail.isNull());
    // It keeps its transparency on screen; the reference has it over white.
    const QSize t = f.thumbnail.size();
    QImage overWhite(t, QImage::Format_RGB32);
    overWhite.fill(Qt::white);
    QPainter(&overWhite).drawImage(0, 0, f.thumbnail);
    const std::string thumbnail = dir.file("thumbnail.png");
    ASSERT_TRUE(overWhite.save(QString::fromStdString(thumbnail)));
    const double thumbRmse = picturekinds::rmseAgainstMagick(thumbnail, path, t.width(), t.height(), error);
    ASSERT_GE(thumbRmse, 0) << error;
    EXPECT_LT(thumbRmse, 0.04) << t.width() << "x" << t.height();
}

INSTANTIATE_TEST_SUITE_P(LivePreview, PreviewOfEveryKind, ::testing::ValuesIn(picturekinds::all()),
                         [](const auto& kindInfo) { return std::string(kindInfo.param.name); });
