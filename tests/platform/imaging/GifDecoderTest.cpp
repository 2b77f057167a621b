// The reader of every GIF: on sound pictures it paints exactly what Qt's
// reader paints; a frame whose data ends early is known and its rest grey;
// indices without a colour look the same at every size.
#include <gtest/gtest.h>

#include <QImageReader>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "CraftedGifs.h"
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

// The picture as Qt's own GIF reader paints it, in kPictureFormat.
QImage readByQt(const QString& path)
{
    QImageReader r(path);
    QImage image;
    if (!r.read(&image))
        return {};
    return image.convertToFormat(imaging::kPictureFormat);
}

bool allGrey(const QImage& image, QRect r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixel(x, y) != qRgb(128, 128, 128))
                return false;
    return true;
}

QString writeBytes(const QTemporaryDir& dir, const QString& name, const std::string& bytes)
{
    const QString path = dir.filePath(name);
    writeFile(path.toStdString(), bytes);
    return path;
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
        const QImage qt = readByQt(path);
        ASSERT_FALSE(qt.isNull()) << path.toStdString();
        const imaging::GifDecode ours = imaging::decodeGifFirstFrame(path);
        EXPECT_FALSE(ours.noMemory) << path.toStdString();
        ASSERT_EQ(ours.image.size(), qt.size()) << path.toStdString();
        EXPECT_EQ(ours.image.format(), imaging::kPictureFormat);
        EXPECT_TRUE(ours.image == qt) << path.toStdString();
        const imaging::LoadedPicture loaded = imaging::loadWholePicture(path);
        EXPECT_FALSE(loaded.damaged) << path.toStdString();
        EXPECT_TRUE(loaded.image == qt) << path.toStdString();
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
        bool damaged;
        QRgb centre;
    } cases[] = {
        {"a dot on a screen Qt refuses", oneDotGif(dir, "screen.gif", 16384, 16384, 0, 0), false, false,
         qRgb(0, 0, 0)},
        // The frame's data ends after its first pixel: the rest of it is grey.
        {"no screen, a frame Qt refuses", oneDotGif(dir, "frame.gif", 0, 0, 0, 0, 16384), true, true,
         qRgb(128, 128, 128)},
    };
    for (const Case& c : cases) {
        const imaging::PictureProbe probe = imaging::probePicture(c.path);
        ASSERT_EQ(probe.size, QSize(16384, 16384)) << c.what;
        imaging::LoadedPicture loaded;
        if (c.whole)
            loaded = imaging::loadWholePicture(c.path);
        else
            loaded = imaging::loadPictureReduced(c.path, probe, 40);
        EXPECT_FALSE(loaded.tooLarge || loaded.noMemory) << c.what;
        EXPECT_EQ(loaded.damaged, c.damaged) << c.what;
        ASSERT_EQ(loaded.image.size(), probe.size) << c.what;
        EXPECT_EQ(loaded.image.pixel(8000, 8000), c.centre) << c.what;
    }
}

// A GIF whose data ends early, at any size, reads as far as its data go: the
// rows that came are the picture's, every later row of its frame is grey, and
// the load says it is damaged. Only the frame's data count: a file that lacks
// just its trailer is whole; one that lacks the end of the frame's data too
// has every pixel but cannot show its last one came. Of an animated GIF only
// the first frame counts.
TEST(GifDecoder, DataThatEndEarlyLeaveTheirRowsGreyAndAreSaid)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    const std::vector<std::string> noise{"-seed", "5", "-size", "200x150", "xc:rgb(200,60,40)", "+noise", "Random"};
    std::vector<std::string> interlacedNoise = noise;
    interlacedNoise.insert(interlacedNoise.end(), {"-interlace", "GIF"});
    std::vector<std::string> animatedNoise = noise;
    animatedNoise.insert(animatedNoise.end(), {"(", "-size", "200x150", "xc:blue", ")"});
    const QString plain = convert(dir, "plain.gif", noise);
    const QString interlaced = convert(dir, "interlaced.gif", interlacedNoise);
    const QString animated = convert(dir, "animated.gif", animatedNoise);
    const std::string plainBytes = readFile(plain.toStdString());
    const std::string interlacedBytes = readFile(interlaced.toStdString());
    const std::string animatedBytes = readFile(animated.toStdString());
    ASSERT_EQ(plainBytes.substr(plainBytes.size() - 2), std::string("\0;", 2));
    const QRgb grey = qRgb(128, 128, 128);
    enum Rows { Whole, TopOnly, EveryEighth, AllButTheLastPixel };
    const struct Case {
        const char* what;
        QString whole, cut;
        Rows rows;
    } cases[] = {
        {"cut in half", plain, writeBytes(dir, "half.gif", plainBytes.substr(0, plainBytes.size() / 2)), TopOnly},
        {"interlaced, cut in its second pass", interlaced,
         writeBytes(dir, "half-interlaced.gif", interlacedBytes.substr(0, interlacedBytes.size() * 3 / 16)),
         EveryEighth},
        {"without its trailer", plain, writeBytes(dir, "no-trailer.gif", plainBytes.substr(0, plainBytes.size() - 1)),
         Whole},
        {"without the end of its frame's data", plain,
         writeBytes(dir, "no-end.gif", plainBytes.substr(0, plainBytes.size() - 2)), AllButTheLastPixel},
        // Only the first frame is shown: a later one may end anywhere.
        {"animated, cut in its second frame", animated,
         writeBytes(dir, "second-cut.gif", animatedBytes.substr(0, animatedBytes.size() - 20)), Whole},
    };
    for (const Case& c : cases) {
        const QImage whole = readByQt(c.whole);
        ASSERT_EQ(whole.size(), QSize(200, 150)) << c.what;
        const imaging::LoadedPicture loaded = imaging::loadWholePicture(c.cut);
        EXPECT_EQ(loaded.damaged, c.rows != Whole) << c.what;
        ASSERT_EQ(loaded.image.size(), whole.size()) << c.what;
        const QImage& image = loaded.image;
        switch (c.rows) {
        case Whole:
            EXPECT_TRUE(image == whole) << c.what;
            break;
        case TopOnly:
            EXPECT_TRUE(image.copy(0, 0, 200, 40) == whole.copy(0, 0, 200, 40)) << c.what;
            EXPECT_TRUE(allGrey(image, QRect(0, 110, 200, 40))) << c.what;
            break;
        case EveryEighth:  // the first pass came whole, the last two not at all
            for (int y = 0; y < 150; y += 8)
                EXPECT_TRUE(image.copy(0, y, 200, 1) == whole.copy(0, y, 200, 1)) << c.what << " row " << y;
            for (int y = 1; y < 150; y += 2)
                EXPECT_TRUE(allGrey(image, QRect(0, y, 200, 1))) << c.what << " row " << y;
            break;
        case AllButTheLastPixel:
            EXPECT_TRUE(image.copy(0, 0, 200, 149) == whole.copy(0, 0, 200, 149)) << c.what;
            EXPECT_TRUE(image.copy(0, 149, 199, 1) == whole.copy(0, 149, 199, 1)) << c.what;
            EXPECT_EQ(image.pixel(199, 149), grey) << c.what;
            break;
        }
    }
}

// Indices that a GIF's colour table does not hold are opaque black, and a GIF
// without any colour table takes the table the format recommends, black then
// white; bare canvas shows the background colour, transparent without a table.
// The same at every size: Qt's reader painted the smaller ones otherwise, and
// the other reader left these pixels transparent.
TEST(GifDecoder, IndicesWithoutAColourLookTheSameAtEverySize)
{
    ASSERT_TRUE(toolsInstalled({"gifbuild"}));
    // Indices 0 to 3 under a table of two colours, as giflib writes them.
    const ToolResult built = runTool({"gifbuild"}, "screen width 4\nscreen height 2\n"
                                                   "screen map\nrgb 255 0 0 is a\nrgb 0 0 255 is b\nend\n"
                                                   "image\nimage bits 4 by 2 hex\n00010203\n00010203\n");
    ASSERT_EQ(built.exitCode, 0) << built.err;
    const std::string withTable = built.out;
    ASSERT_GT(withTable.size(), 19u);
    ASSERT_EQ(uchar(withTable[10]) & 0x87, 0x80) << "a screen table of two colours";
    std::string noTable = withTable;
    noTable[10] = char(uchar(noTable[10]) & 0x7F);
    noTable.erase(13, 6);

    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const struct Look {
        const char* what;
        std::string bytes;
        QRgb indices[4];
        QRgb bare;
    } looks[] = {
        {"a table of two colours", withTable, {red, blue, black, black}, red},
        {"no table", noTable, {black, white, black, black}, 0},
    };
    QTemporaryDir dir;
    // Qt's reader took the smaller screen, giflib the larger one.
    for (const int side : {64, 16384}) {
        for (const Look& l : looks) {
            std::string bytes = l.bytes;
            bytes[6] = bytes[8] = char(side & 0xFF);
            bytes[7] = bytes[9] = char(side >> 8);
            const QString path = writeBytes(dir, QStringLiteral("%1.gif").arg(side), bytes);
            const imaging::LoadedPicture loaded = imaging::loadWholePicture(path);
            ASSERT_EQ(loaded.image.size(), QSize(side, side)) << l.what << " at " << side;
            EXPECT_FALSE(loaded.damaged) << l.what << " at " << side;
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(loaded.image.pixel(i, 0), l.indices[i]) << l.what << " at " << side << ", index " << i;
                EXPECT_EQ(loaded.image.pixel(i, 1), l.indices[i]) << l.what << " at " << side << ", index " << i;
            }
            EXPECT_EQ(loaded.image.pixel(side - 1, side - 1), l.bare) << l.what << " at " << side;
        }
    }
}

// The canvas around a frame smaller than the logical screen shows the
// screen's background colour when the screen has a colour table, else it is
// transparent (and a picture's transparent parts are laid on white), as
// every viewer shows it: the table the format recommends for a file without
// any colours the frame's own pixels only.
TEST(GifDecoder, TheScreenAroundTheFrameIsTransparentWithoutAScreenTable)
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0), grey = qRgb(90, 90, 90);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const std::string screenTable = craftedgifs::colourTable({grey, white, green, black});
    const std::string frameTable = craftedgifs::colourTable({red, blue, black, white});
    const struct Case {
        const char* what;
        std::string screenTable, frameTable;
        QRgb left, right, around;  // the frame's halves, the canvas around it
    } cases[] = {
        {"no screen table, a frame table", {}, frameTable, red, blue, 0},
        {"no colour table at all", {}, {}, black, white, 0},
        {"a screen table only", screenTable, {}, grey, white, green},
        {"both tables", screenTable, frameTable, red, blue, green},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = writeBytes(dir, QStringLiteral("screen.gif"),
                                        craftedgifs::smallFrame(100, 40, 20, c.screenTable, c.frameTable));
        const imaging::LoadedPicture loaded = imaging::loadWholePicture(path);
        ASSERT_EQ(loaded.image.size(), QSize(100, 100)) << c.what;
        EXPECT_FALSE(loaded.damaged) << c.what;
        EXPECT_EQ(loaded.image.pixel(25, 30), c.left) << c.what;
        EXPECT_EQ(loaded.image.pixel(55, 30), c.right) << c.what;
        for (const QPoint p : {QPoint(0, 0), QPoint(19, 30), QPoint(60, 30), QPoint(30, 60), QPoint(99, 99)})
            EXPECT_EQ(loaded.image.pixel(p), c.around) << c.what << " at " << p.x() << "," << p.y();
    }
}
