// The reader of GIFs too large for Qt's: on pictures both can read, it
// paints exactly what the program gets through Qt's reader.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>
#include <vector>

#include "TempDir.h"
#include "ToolRunner.h"
#include "platform/imaging/GifDecoder.h"
#include "platform/imaging/PictureReader.h"

namespace {

// A GIF of two colours (black, the background, and white) whose first frame
// is `side` x `side` at (`left`, `top`) on a logical screen of `w` x `h`. Its
// data ends after one white pixel.
QString oneDotGif(const QTemporaryDir& dir, const QString& name, int w, int h, int left, int top, int side = 1)
{
    auto le = [](int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8 & 0xFF)); };
    const QByteArray bytes = QByteArray("GIF89a") + le(w) + le(h) + QByteArray("\x80\x00\x00", 3) +
                             QByteArray("\x00\x00\x00\xff\xff\xff", 6) + QByteArray(",") + le(left) + le(top) +
                             le(side) + le(side) + QByteArray(1, 0) + QByteArray("\x02\x02\x4c\x01\x00", 5) +
                             QByteArray(";");
    const QString path = dir.filePath(name);
    writeFile(path.toStdString(), bytes.toStdString());
    return path;
}

QString convert(const QTemporaryDir& dir, const QString& name, std::vector<std::string> args)
{
    return QString::fromStdString(magickConvert(std::move(args), dir.filePath(name).toStdString()));
}

} // namespace

TEST(GifDecoder, PaintsTheFirstFrameAsQtsReaderDoes)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    const std::vector<std::string> photo{"-size", "64x48", "-seed", "2", "plasma:", "-colors", "200"};
    const std::vector<std::string> disc{"-size", "40x30", "xc:none", "-fill", "red", "-draw", "circle 20,15 20,3"};
    auto with = [](std::vector<std::string> args, std::initializer_list<std::string> more) {
        args.insert(args.end(), more);
        return args;
    };
    const QString paths[] = {
        convert(dir, "photo.gif", photo),
        convert(dir, "interlaced.gif", with(photo, {"-interlace", "GIF"})),
        convert(dir, "transparent.gif", disc),
        // Frames smaller than the screen: on the background colour, or on
        // the transparent one.
        convert(dir, "framed.gif", with(photo, {"-repage", "90x70+7+5"})),
        convert(dir, "framed-transparent.gif", with(disc, {"-repage", "90x70+13+2"})),
        convert(dir, "animated.gif", with(photo, {"-repage", "90x70+3+4", "(", "-size", "10x10", "xc:blue",
                                                  "-repage", "90x70+0+0", ")"})),
        // A screen of 0 x 0 is as large as the frame reaches.
        oneDotGif(dir, "no-screen.gif", 0, 0, 3, 2),
        oneDotGif(dir, "dot.gif", 9, 7, 4, 3),
    };
    for (const QString& path : paths) {
        const QImage qt = imaging::loadPicture(path);
        ASSERT_FALSE(qt.isNull()) << path.toStdString();
        const imaging::GifDecode ours = imaging::decodeGifFirstFrame(path);
        EXPECT_FALSE(ours.noMemory);
        ASSERT_EQ(ours.image.size(), qt.size()) << path.toStdString();
        EXPECT_EQ(ours.image.format(), imaging::kPictureFormat);
        EXPECT_TRUE(ours.image == qt) << path.toStdString();
    }
    EXPECT_TRUE(imaging::decodeGifFirstFrame(dir.filePath("missing.gif")).image.isNull());
}

// Qt's reader refuses a canvas of 16384 x 16384 pixels or more, whatever
// memory there is: such GIFs load all the same, drawn or whole.
TEST(GifDecoder, CanvasesQtRefusesLoadUpToTheCap)
{
    QTemporaryDir dir;
    const struct Case {
        const char* what;
        QString path;
        bool whole;  // loaded whole (border, watermark, viewer), else to be drawn
        QRgb centre;
    } cases[] = {
        {"a dot on a screen Qt refuses", oneDotGif(dir, "screen.gif", 16384, 16384, 0, 0), false, qRgb(0, 0, 0)},
        // The frame's data ends after its first pixel: the transparent canvas shows.
        {"no screen, a frame Qt refuses", oneDotGif(dir, "frame.gif", 0, 0, 0, 0, 16384), true, 0},
    };
    for (const Case& c : cases) {
        const imaging::PictureProbe probe = imaging::probePicture(c.path);
        ASSERT_EQ(probe.size, QSize(16384, 16384)) << c.what;
        imaging::LoadedPicture loaded;
        if (c.whole)
            loaded.image = imaging::loadPicture(c.path);
        else
            loaded = imaging::loadPictureReduced(c.path, probe, 40);
        EXPECT_FALSE(loaded.tooLarge || loaded.noMemory || loaded.damaged) << c.what;
        ASSERT_EQ(loaded.image.size(), probe.size) << c.what;
        EXPECT_EQ(loaded.image.pixel(8000, 8000), c.centre) << c.what;
    }
}
