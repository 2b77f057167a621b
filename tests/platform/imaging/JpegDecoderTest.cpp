// The program's own JPEG decoder: every colour model a photo comes in, the
// scan cap on every way a picture is loaded, libjpeg's buffers under the cap,
// and what counts as damage.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>

#include "JpegDecodings.h"
#include "JpegSegments.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/JpegDecoder.h"
#include "platform/imaging/PictureReader.h"

namespace {

QString convert(const QTemporaryDir& dir, const QString& name, std::vector<std::string> args)
{
    return QString::fromStdString(magickConvert(std::move(args), dir.filePath(name).toStdString()));
}

// A flat progressive JPEG whose last scan is repeated until it has `scans` scans.
QString manyScans(const QTemporaryDir& dir, const QString& name, const std::string& colour, int scans)
{
    const QString source = convert(dir, QStringLiteral("source-") + name,
                                   {"-size", "1024x768", "xc:gray", "-colorspace", colour, "-interlace", "Plane"});
    QFile in(source);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const qsizetype end = bytes.lastIndexOf("\xFF\xD9");
    const qsizetype last = bytes.lastIndexOf("\xFF\xDA", end);
    QByteArray out = bytes.left(end);
    for (qsizetype n = out.count("\xFF\xDA"); n < scans; ++n)
        out += bytes.mid(last, end - last);
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(out + "\xFF\xD9");
    return path;
}

QImage qtReads(const QString& path)
{
    QImageReader r(path);
    r.setAutoTransform(false);
    return r.read().convertToFormat(imaging::kPictureFormat);
}

} // namespace

// CMYK photos come out as Qt's reader showed them (inverted, as Photoshop
// and libjpeg write them), now through the decoder with the scan cap.
TEST(JpegDecoder, CmykPicturesAsQtReadsThem)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    for (const char* interlace : {"None", "Plane"}) {
        const QString path = convert(dir, QStringLiteral("cmyk-%1.jpg").arg(interlace),
                                     {"-size", "300x200", "-seed", "8", "plasma:", "-colorspace", "CMYK",
                                      "-interlace", interlace});
        const imaging::JpegDecode decoded = imaging::decodeJpegScaled(path, 1);
        EXPECT_EQ(decoded.status, imaging::JpegStatus::Decoded) << interlace;
        const QImage expected = qtReads(path);
        ASSERT_EQ(decoded.image.size(), expected.size()) << interlace;
        EXPECT_EQ(decoded.image.format(), imaging::kPictureFormat);
        int worst = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb a = decoded.image.pixel(x, y), b = expected.pixel(x, y);
                worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            }
        EXPECT_EQ(worst, 0) << interlace;
        // Reduced in the decoder like any other JPEG.
        EXPECT_EQ(imaging::decodeJpegScaled(path, 4).image.size(), QSize(75, 50)) << interlace;
    }
}

// The viewer, the crop window, the border and the watermark load pictures
// whole, the preview's thumbnails at a size: each refuses a file of endless
// scans as the pipeline does, whatever its colour model.
TEST(JpegDecoder, EveryWayOfLoadingHoldsTheScanCap)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    for (const char* colour : {"sRGB", "CMYK"}) {
        const QString path = manyScans(dir, QStringLiteral("scans-%1.jpg").arg(colour), colour, 300);
        const imaging::PictureProbe probe = imaging::probePicture(path);
        ASSERT_EQ(probe.size, QSize(1024, 768)) << colour;
        EXPECT_TRUE(imaging::loadPicture(path).isNull()) << colour;
        for (double shrink : {1.0, 10.0})
            EXPECT_TRUE(imaging::loadPictureReduced(path, probe, shrink).tooManyScans) << colour << " " << shrink;
        EXPECT_TRUE(imaging::loadPictureAt(path, probe, QSize(100, 75)).isNull()) << colour;
    }
}

// A progressive picture keeps every coefficient while its scans come in:
// those buffers are held to the decoder's limit, a run's budget.
TEST(JpegDecoder, ProgressiveBuffersAreHeldToTheLimit)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    QTemporaryDir dir;
    // 256 x 256 blocks of one component: 8 MB of coefficients.
    const QString path = convert(dir, "p.jpg", {"-size", "2048x2048", "xc:gray", "-interlace", "Plane"});
    imaging::setDecoderMemoryLimit(int64_t(1) << 20);
    const imaging::JpegDecode capped = imaging::decodeJpegScaled(path, 8);
    imaging::setDecoderMemoryLimit(0);
    EXPECT_EQ(capped.status, imaging::JpegStatus::NoMemory);
    EXPECT_TRUE(capped.image.isNull());
    const imaging::LoadedPicture loaded = imaging::loadPictureReduced(path, imaging::probePicture(path), 8);
    EXPECT_FALSE(loaded.noMemory);
    EXPECT_EQ(loaded.image.size(), QSize(512, 512));
}

namespace {

QByteArray bytesOf(const QString& path)
{
    return QByteArray::fromStdString(readFile(path.toStdString()));
}

QString written(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    writeFile(path.toStdString(), bytes.toStdString());
    return path;
}

// The bytes before the `n`th scan header (from 1).
QByteArray beforeScan(const QByteArray& bytes, int n)
{
    qsizetype at = -1;
    for (int i = 0; i < n; ++i)
        at = bytes.indexOf("\xFF\xDA", at + 1);
    EXPECT_GT(at, 0) << "fewer than " << n << " scans";
    return bytes.left(at);
}

// A JPEG made by ImageMagick from `args`, then rewritten losslessly by
// jpegtran with `options` when there are any.
QByteArray madeJpeg(const QTemporaryDir& dir, const QString& name, std::vector<std::string> args,
                    const std::vector<std::string>& options)
{
    if (options.empty())
        return bytesOf(convert(dir, name, std::move(args)));
    const QString made = convert(dir, QStringLiteral("made-") + name, std::move(args));
    const QString path = dir.filePath(name);
    std::vector<std::string> jpegtran{"jpegtran"};
    jpegtran.insert(jpegtran.end(), options.begin(), options.end());
    jpegtran.insert(jpegtran.end(), {"-outfile", path.toStdString(), made.toStdString()});
    EXPECT_EQ(runTool(jpegtran).exitCode, 0) << name.toStdString();
    return bytesOf(path);
}

} // namespace

// A file that lacks only its end marker holds every block, and decodes to
// the very pixels of the whole file; a file cut inside a scan, or between the
// scans of a picture that needs more of them, is damaged.
TEST(JpegDecoder, OnlyMissingDataIsDamage)
{
    ASSERT_TRUE(toolsInstalled({"convert", "jpegtran"}));
    QTemporaryDir dir;
    // One scan per component, none interleaved: a cut between them leaves components out.
    const std::string perComponent = written(dir, "one-per-component.txt", "0;\n1;\n2;\n").toStdString();
    const struct Kind {
        const char* name;
        std::vector<std::string> args, jpegtran;
    } kinds[] = {
        {"baseline", {"-sampling-factor", "1x1"}, {}},
        {"progressive", {"-interlace", "Plane"}, {}},
        {"grey", {"-colorspace", "Gray"}, {}},
        {"subsampled", {"-sampling-factor", "2x2"}, {}},
        {"cmyk", {"-colorspace", "CMYK"}, {}},
        {"separate", {"-sampling-factor", "1x1"}, {"-scans", perComponent}},
        {"arithmetic", {}, {"-arithmetic"}},
    };
    std::map<std::string, QByteArray> whole;
    for (const Kind& k : kinds) {
        std::vector<std::string> args{"-size", "300x200", "-seed", "9", "plasma:"};
        args.insert(args.end(), k.args.begin(), k.args.end());
        const QString name = QString::fromLatin1(k.name) + ".jpg";
        const QByteArray& bytes = whole[k.name] = madeJpeg(dir, name, args, k.jpegtran);
        ASSERT_TRUE(bytes.endsWith("\xFF\xD9")) << k.name;
        const imaging::JpegDecode reference = imaging::decodeJpegScaled(dir.filePath(name), 1);
        ASSERT_EQ(reference.status, imaging::JpegStatus::Decoded) << k.name;
        // Arithmetic decoding reads past the data as zeros without a word:
        // any early end may be a cut, and one without the end marker is
        // refused undecoded (below).
        QList<QByteArray> sound{bytes + QByteArray(100, 'x')};
        if (k.name != std::string("arithmetic"))
            sound << bytes.chopped(2);
        for (const QByteArray& variant : sound) {
            const imaging::JpegDecode d = imaging::decodeJpegScaled(written(dir, "variant.jpg", variant), 1);
            EXPECT_EQ(d.status, imaging::JpegStatus::Decoded) << k.name << " of " << variant.size() << " bytes";
            EXPECT_TRUE(d.image == reference.image) << k.name << " of " << variant.size() << " bytes";
        }
    }

    const QByteArray& baseline = whole["baseline"];
    const QByteArray& progressive = whole["progressive"];
    const struct Cut {
        const char* what;
        QByteArray bytes;
    } cuts[] = {
        {"a baseline file cut inside its scan", baseline.left(baseline.size() * 2 / 3)},
        {"a progressive file cut inside a scan", progressive.left(progressive.size() * 2 / 3)},
        {"a progressive file cut between scans", beforeScan(progressive, 4)},
        {"a progressive file without its last scan", beforeScan(progressive, int(progressive.count("\xFF\xDA")))},
        {"a file of one scan per component without the last", beforeScan(whole["separate"], 3)},
    };
    for (const Cut& c : cuts) {
        const imaging::JpegDecode d = imaging::decodeJpegScaled(written(dir, "cut.jpg", c.bytes), 1);
        EXPECT_EQ(d.status, imaging::JpegStatus::Damaged) << c.what;
        EXPECT_EQ(d.image.size(), QSize(300, 200)) << c.what;
    }
}

// The shared rule calls an arithmetic-coded file without its end marker cut,
// whatever its scans hold: the decoder says so from the header and the walk
// to the end of the data, and starts no decoding, whatever the file claims.
TEST(JpegDecoder, ArithmeticFilesWithoutTheirEndMarkerAreCutUndecoded)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    TempDir dir;
    for (const jpegsegments::NamedJpeg& c : jpegsegments::arithmeticWithoutEnd(dir)) {
        const QString path = QString::fromStdString(dir.file("open.jpg"));
        writeFile(path.toStdString(), c.bytes);
        const int before = jpegDecodingsStarted();
        for (int denominator : {1, 8}) {
            const imaging::JpegDecode d = imaging::decodeJpegScaled(path, denominator);
            EXPECT_EQ(d.status, imaging::JpegStatus::Cut) << c.name;
            EXPECT_TRUE(d.image.isNull()) << c.name;
        }
        const imaging::LoadedPicture loaded = imaging::loadPictureReduced(path, imaging::probePicture(path), 100);
        EXPECT_TRUE(loaded.cutUndecoded) << c.name;
        EXPECT_FALSE(loaded.damaged || loaded.tooLarge || loaded.noMemory) << c.name;
        EXPECT_EQ(jpegDecodingsStarted(), before) << c.name;
    }
    // With their end markers they are decoded, unlogged.
    const std::string source = jpegsegments::photo(dir.file("photo.ppm"));
    for (const bool progressive : {false, true}) {
        const QString path = QString::fromStdString(dir.file("closed.jpg"));
        std::vector<std::string> options{"-arithmetic"};
        if (progressive)
            options.push_back("-progressive");
        writeFile(path.toStdString(), jpegsegments::cjpeg(options, source));
        const int before = jpegDecodingsStarted();
        const imaging::JpegDecode d = imaging::decodeJpegScaled(path, 1);
        EXPECT_EQ(d.status, imaging::JpegStatus::Decoded) << progressive;
        EXPECT_EQ(d.image.size(), QSize(200, 150)) << progressive;
        EXPECT_EQ(jpegDecodingsStarted(), before + 1) << progressive;
    }
}

// A file of several scans keeps the coefficients of the whole picture while
// they come in, whatever size it is decoded at: past what the largest picture
// may take, it is too large before anything is decoded, as a picture of too
// many pixels is.
TEST(JpegDecoder, CoefficientsPastTheLargestPictureAreTooLarge)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("claiming-65500.jpg"));
    writeFile(path.toStdString(), jpegsegments::flatClaiming(dir, 65500, 65500));
    const int before = jpegDecodingsStarted();
    const imaging::JpegDecode d = imaging::decodeJpegScaled(path, 8);
    EXPECT_EQ(d.status, imaging::JpegStatus::TooLarge);
    EXPECT_TRUE(d.image.isNull());
    // 8188 x 8188 blocks of 64 coefficients of 2 bytes.
    EXPECT_EQ(d.coefficientBytes, int64_t(8188) * 8188 * 128);
    const imaging::PictureProbe probe = imaging::probePicture(path);
    const imaging::LoadedPicture loaded = imaging::loadPictureReduced(path, probe, 100);
    EXPECT_TRUE(loaded.tooLarge);
    EXPECT_EQ(loaded.bufferBytes, d.coefficientBytes);
    EXPECT_TRUE(imaging::loadPictureAt(path, probe, QSize(100, 100)).isNull());
    EXPECT_EQ(jpegDecodingsStarted(), before);
}
