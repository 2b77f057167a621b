#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "PictureKinds.h"
#include "TempDir.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"

namespace {

// Limit width 200 from 600 x 400: every kind is shrunk threefold, enough to
// average palette dithering away.
constexpr int kOutWidth = 200, kOutHeight = 133;

class EveryPictureKind : public ::testing::TestWithParam<picturekinds::Kind> {};

} // namespace

TEST_P(EveryPictureKind, ComesOutAsImageMagickResizesIt)
{
    const picturekinds::Kind& kind = GetParam();
    TempDir dir;
    std::string path, error;
    ASSERT_TRUE(picturekinds::makeChecked(kind, dir.path().string(), path));

    AppState st;
    st.ps.iSizeMode = 0;
    st.panel.txtW = QString::number(kOutWidth);
    const RenderResult r = renderPicture(QString::fromStdString(path), st);
    EXPECT_TRUE(r.errors.isEmpty()) << r.errors.join(QString()).toStdString();
    ASSERT_EQ(r.picture.size(), QSize(kOutWidth, kOutHeight));
    const std::string rendered = dir.file("rendered.png");
    ASSERT_TRUE(r.picture.save(QString::fromStdString(rendered)));
    const double rmse = picturekinds::rmseAgainstMagick(rendered, path, kOutWidth, kOutHeight, error);
    ASSERT_GE(rmse, 0) << error;
    EXPECT_LT(rmse, 0.04);
}

INSTANTIATE_TEST_SUITE_P(Pipeline, EveryPictureKind, ::testing::ValuesIn(picturekinds::all()),
                         [](const auto& kindInfo) { return std::string(kindInfo.param.name); });

namespace {

// A PNG with a header and the start of its pixels only: enough to be
// measured, and refused for its size before the pixels are wanted.
QString headerOnlyPng(const QTemporaryDir& dir, uint32_t w, uint32_t h)
{
    auto be = [](uint32_t v) {
        const char bytes[4] = {char(v >> 24), char(v >> 16 & 0xFF), char(v >> 8 & 0xFF), char(v & 0xFF)};
        return QByteArray(bytes, 4);
    };
    const QByteArray ihdr = QByteArray("IHDR") + be(w) + be(h) + QByteArray("\x08\x02\x00\x00\x00", 5);
    auto chunk = [&](const QByteArray& typeAndData) {
        // libpng checks the CRC of critical chunks.
        uint32_t crc = 0xFFFFFFFF;
        for (char c : typeAndData) {
            crc ^= uint8_t(c);
            for (int k = 0; k < 8; ++k)
                crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
        }
        return be(uint32_t(typeAndData.size() - 4)) + typeAndData + be(~crc);
    };
    const QString path = dir.filePath(QStringLiteral("big%1x%2.png").arg(w).arg(h));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk(ihdr) + chunk("IDAT" + qCompress(QByteArray(1, 0)).mid(4)) +
            chunk("IEND"));
    return path;
}

// A GIF of one 1 x 1 frame on a logical screen of `w` x `h`: the screen is
// what a reader paints the frames on.
QString smallFrameOnLargeScreenGif(const QTemporaryDir& dir, uint16_t w, uint16_t h)
{
    auto le = [](uint16_t v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8)); };
    const QByteArray bytes = QByteArray("GIF89a") + le(w) + le(h) + QByteArray("\x80\x00\x00", 3) +
                             QByteArray("\x00\x00\x00\xff\xff\xff", 6) + QByteArray(",") + le(0) + le(0) + le(1) +
                             le(1) + QByteArray(1, 0) + QByteArray("\x02\x02\x4c\x01\x00", 5) + QByteArray(";");
    const QString path = dir.filePath(QStringLiteral("screen%1x%2.gif").arg(w).arg(h));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

} // namespace

TEST(PictureKinds, PicturesOverTheCapsAreLoggedWithTheirSize)
{
    QTemporaryDir dir;
    struct Case {
        uint32_t w, h;
        int sizeMode;
        const char* detail;
        bool gif = false;
    } cases[] = {
        // Over the decoder's cap, though the canvas would be small.
        {30000, 20000, 0, "图片太大: 30000 x 20000, 上限 536870912 像素"},
        // Under the decoder's cap, but a canvas of the source's size is over its own.
        {20000, 15000, 2, "图片太大: 20000 x 15000, 上限 268435456 像素"},
        // A tiny frame, but the screen it is painted on is over either cap.
        {65535, 65535, 0, "图片太大: 65535 x 65535, 上限 536870912 像素", true},
        {65535, 65535, 2, "图片太大: 65535 x 65535, 上限 268435456 像素", true},
    };
    for (const Case& c : cases) {
        AppState st;
        st.ps.iSizeMode = c.sizeMode;
        st.panel.txtW = QStringLiteral("400");
        st.panel.txtH = QStringLiteral("300");
        const QString path =
            c.gif ? smallFrameOnLargeScreenGif(dir, uint16_t(c.w), uint16_t(c.h)) : headerOnlyPng(dir, c.w, c.h);
        const RenderResult r = renderPicture(path, st);
        EXPECT_TRUE(r.picture.isNull());
        ASSERT_EQ(r.errors.size(), 1) << c.w;
        EXPECT_TRUE(r.errors[0].startsWith(path));
        EXPECT_TRUE(r.errors[0].contains(QString::fromUtf8(c.detail))) << r.errors[0].toStdString();
        EXPECT_FALSE(r.errors[0].contains(QStringLiteral("无效的图片"))) << r.errors[0].toStdString();
    }
}
