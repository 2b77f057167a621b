#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ExifBlob.h"
#include "processing/ExifReader.h"

namespace {

// IFD0 (orientation, resolution, Exif pointer) -> IFD1 (another resolution);
// the Exif sub-IFD holds the shot time, a negative exposure bias and a tag after it.
std::vector<ExifDir> typicalDirs(const ExifBlob& b)
{
    ExifDir ifd0{{b.shortTag(274, 6), b.rational(282, 72, 1), b.pointer(34665, 2),
                  b.longTag(0x0201, 0x80000010u)},
                 1};
    ExifDir ifd1{{b.rational(282, 96, 1), b.shortTag(259, 6)}, -1};
    ExifDir sub{{b.ascii(36867, "2020:05:06 07:08:09"), b.rational(37380, uint32_t(-1), 3, 10),
                 b.shortTag(37383, 5)},
                -1};
    return {ifd0, ifd1, sub};
}

} // namespace

class ByteOrder : public ::testing::TestWithParam<bool> {};

TEST_P(ByteOrder, ReadsTheChainThenTheSubIfdAndGoesOnPastNegativeValues)
{
    const ExifBlob b(GetParam());
    ExifReader r;
    r.LoadBytes(b.jpeg(typicalDirs(b)));
    ASSERT_TRUE(r.hasExif());
    EXPECT_EQ(r.Tag(0).toInt(), 9);
    EXPECT_EQ(r.Tag(274).toString(), "6");
    EXPECT_EQ(r.Tag(282).toString(), "72/1") << "the first directory wins";
    EXPECT_EQ(r.Tag(36867).toString(), "2020:05:06 07:08:09");
    EXPECT_EQ(r.Tag(37380).toString(), "-1/3") << "signed rational";
    EXPECT_EQ(r.Tag(37383).toInt(), 5) << "a tag after the negative value is still read";
    EXPECT_EQ(r.Tag(0x0201).toLongLong(), 0x80000010LL) << "LONG is unsigned";
    EXPECT_FALSE(r.Tag(999).isValid());
    EXPECT_FALSE(r.MakerNoteTag(274).isValid());
}

TEST_P(ByteOrder, ByteAndShortTextsFollowTheByteOrder)
{
    const bool intel = GetParam();
    const ExifBlob b(intel);
    ExifTag bytes{0x9999, 1, 4, QByteArray("\x01\x02\x03\x04", 4)};
    ExifTag four{0x9998, 7, 4, QByteArray("ab\0\0", 4)};
    ExifReader r;
    r.LoadBytes(b.jpeg({ExifDir{{bytes, four}, -1}}));
    EXPECT_EQ(r.Tag(0x9999).toString(), intel ? "04030201" : "01020304");
    EXPECT_EQ(r.Tag(0x9998).toString(), intel ? QString::fromLatin1("\0\0ba", 4) : QString::fromLatin1("ab\0\0", 4));
}

INSTANTIATE_TEST_SUITE_P(IntelAndMotorola, ByteOrder, ::testing::Bool());

TEST(ExifReader, BrokenInputsEndTheWalkSafely)
{
    const ExifBlob b(true);
    const QByteArray good = b.jpeg(typicalDirs(b));

    // A chain that points back to its first directory.
    ExifDir loop0{{b.shortTag(274, 3)}, 1};
    ExifDir loop1{{b.shortTag(275, 1)}, 0};
    ExifReader cyclic;
    cyclic.LoadBytes(b.jpeg({loop0, loop1}));
    EXPECT_EQ(cyclic.Tag(274).toInt(), 3);
    EXPECT_EQ(cyclic.Tag(0).toInt(), 2);

    // Cut off in the middle of the sub-IFD: what was read stays.
    ExifReader truncated;
    truncated.LoadBytes(good.left(good.size() - 40));
    EXPECT_TRUE(truncated.hasExif());
    EXPECT_EQ(truncated.Tag(274).toString(), "6");
    EXPECT_FALSE(truncated.Tag(37383).isValid());

    // Every prefix of the file is read without fault.
    for (qsizetype n = 0; n < good.size(); ++n) {
        ExifReader r;
        r.LoadBytes(good.left(n));
        r.Tag(0);
    }

    // A directory claiming 65535 entries.
    QByteArray huge = good;
    const int ifd0 = 12 + 8;
    huge[ifd0] = char(0xFF);
    huge[ifd0 + 1] = char(0xFF);
    ExifReader big;
    big.LoadBytes(huge);
    EXPECT_FALSE(big.Tag(0).isValid());
}

TEST(ExifReader, OnlyTheFirstApp1BlockCounts)
{
    const ExifBlob b(true);
    const QByteArray exif = b.jpeg(typicalDirs(b));
    QByteArray xmpFirst("\xFF\xD8\xFF\xE1\x00\x0Ahttp:/", 12);
    xmpFirst += exif.mid(2);
    struct Case { QByteArray bytes; bool has; };
    const Case cases[] = {{exif, true}, {xmpFirst, false}, {QByteArray("\x89PNG\r\n", 6), false},
                          {QByteArray("\xFF\x00\xFF\xE1", 4), false}, {QByteArray(), false}};
    for (const Case& c : cases) {
        ExifReader r;
        r.LoadBytes(c.bytes);
        EXPECT_EQ(r.hasExif(), c.has);
        EXPECT_EQ(r.Tag(274).isValid(), c.has);
    }
}

TEST(ExifReader, LoadKeepsTheFirstPathAndTagLoadsOnDemand)
{
    QTemporaryDir dir;
    const ExifBlob b(false);
    const QString a = dir.filePath("a.jpg"), other = dir.filePath("b.jpg");
    QFile f(a);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b.jpeg(typicalDirs(b)));
    f.close();

    ExifReader r;
    r.setPicFile(a);
    EXPECT_EQ(r.Tag(274).toInt(), 6) << "Tag loads the file itself";
    ExifReader s;
    s.Load(a);
    s.Load(other);  // ignored: the reader keeps its first file
    EXPECT_EQ(s.picFile(), a);
    ExifReader missing;
    missing.Load(dir.filePath("none.jpg"));
    EXPECT_FALSE(missing.Tag(0).isValid());
    EXPECT_FALSE(QFile::exists(dir.filePath("none.jpg")));
}

// Crafted blocks: nothing outside the APP1 block is read, and the work stays
// small however the counts lie.
TEST(ExifReader, CraftedBlocksCostLittleAndReadNothingOutsideTheBlock)
{
    const ExifBlob b(true);
    const size_t tiff = 12;  // SOI, APP1 marker and length, "Exif\0\0"
    auto patch32 = [&](QByteArray& bytes, size_t pos, uint32_t v) { bytes.replace(qsizetype(pos), 4, b.u32(v)); };
    // One directory after the end of the block, where IFD0's offset points.
    auto outsideDirectory = [&] {
        QByteArray bytes = b.jpeg({ExifDir{{b.shortTag(275, 1)}, -1}});
        const uint32_t at = uint32_t(bytes.size()) - uint32_t(tiff);
        bytes += b.u16(1) + b.u16(274) + b.u16(3) + b.u32(1) + b.u32(3) + b.u32(0);
        patch32(bytes, tiff + 4, at);
        return bytes;
    };
    // An eight-byte value whose offset points behind the block.
    auto outsideValue = [&] {
        QByteArray bytes = b.jpeg({ExifDir{{ExifTag{0x9999, 1, 8, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}}, -1}});
        const uint32_t at = uint32_t(bytes.size()) - uint32_t(tiff);
        bytes += QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
        patch32(bytes, tiff + 8 + 2 + 8, at);
        return bytes;
    };
    ExifDir manyEntries;
    for (int i = 0; i < 3000; ++i)
        manyEntries.tags.push_back(b.shortTag(uint16_t(1000 + i), 1));
    struct Case {
        const char* name;
        QByteArray bytes;
        int records;        // expected number of records
        int longestText;    // most characters any value may have
    };
    const Case cases[] = {
        {"directory outside the block", outsideDirectory(), 0, 0},
        {"value outside the block", outsideValue(), 1, 0},
        {"4000 byte values", b.jpeg({ExifDir{{ExifTag{0x9999, 1, 4000, QByteArray(4000, '\x7F')}}, -1}}), 1,
         int(ExifReader::kMaxTextValues) * 3},
        {"3000 entries", b.jpeg({manyEntries}), int(ExifReader::kMaxRecords), 1},
    };
    for (const Case& c : cases) {
        ExifReader r;
        r.LoadBytes(c.bytes);
        EXPECT_EQ(int(r.records().size()), c.records) << c.name;
        for (const ExifTagRec& rec : r.records())
            EXPECT_LE(rec.value.toString().size(), c.longestText) << c.name;
    }
}

// A file is read by its leading marker segments: the first APP1 segment before
// the picture data counts, never bytes that only look like one inside another
// segment or inside the compressed data.
TEST(ExifReader, FilesAreReadByTheirLeadingSegments)
{
    const ExifBlob b(true);
    const QByteArray real = b.jpeg(typicalDirs(b)).mid(2);                      // APP1, orientation 6
    const QByteArray fake = b.jpeg({ExifDir{{b.shortTag(274, 3)}, -1}}).mid(2);  // APP1, orientation 3
    auto segment = [](char marker, const QByteArray& body) {
        const int n = int(body.size()) + 2;
        return QByteArray("\xFF", 1) + marker + char(n >> 8) + char(n & 0xFF) + body;
    };
    const QByteArray soi("\xFF\xD8", 2);
    const QByteArray sos = segment('\xDA', QByteArray("\x01\x01\x00\x00\x3F\x00", 6));
    const QByteArray big = segment('\xE2', QByteArray(65000, '\xFF'));
    struct Case { const char* name; QByteArray bytes; int orientation; };
    const Case cases[] = {
        {"APP1 first", soi + real + sos, 6},
        {"behind a large APP2", soi + segment('\xE0', "JFIF") + big + real + sos, 6},
        {"a look-alike inside APP0", soi + segment('\xE0', "JFIF" + fake) + real + sos, 6},
        {"fill bytes before a marker", soi + QByteArray("\xFF\xFF", 2) + real.mid(1) + sos, 6},
        {"only inside the picture data", soi + sos + fake + QByteArray("\xFF\xD9", 2), 0},
        {"no JPEG", QByteArray("\x89PNG\r\n", 6) + real, 0},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".jpg");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        f.close();
        ExifReader r;
        r.Load(path);
        EXPECT_EQ(r.Tag(274).toInt(), c.orientation) << c.name;
    }
}
