#include "processing/ExifReader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <set>

namespace {

// The marker segments before the picture data are walked at most this far;
// the EXIF block sits among the first of them.
constexpr int kMaxSegments = 64;

// The start of the file (its SOI marker) and the first APP1 segment, read
// segment by segment from the leading markers: at most 64 KB of the file,
// however large the picture. Empty when there is no APP1 before the scan.
QByteArray leadingApp1(QFile& f)
{
    QByteArray soi = f.read(2);
    if (soi != QByteArray("\xFF\xD8", 2))
        return {};
    for (int n = 0; n < kMaxSegments; ++n) {
        const QByteArray head = f.read(4);
        if (head.size() < 4 || uint8_t(head[0]) != 0xFF)
            return {};
        const uint8_t marker = uint8_t(head[1]);
        if (marker == 0xFF) {  // fill byte before a marker
            f.seek(f.pos() - 3);
            continue;
        }
        if (marker == 0xDA || marker == 0xD9)  // the picture data begins: no EXIF before it
            return {};
        const int length = uint8_t(head[2]) << 8 | uint8_t(head[3]);
        if (length < 2)
            return {};
        if (marker == 0xE1)
            return soi + head + f.read(length - 2);
        if (!f.seek(f.pos() + length - 2))
            return {};
    }
    return {};
}

QString latin(const QByteArray& b)
{
    return QString::fromLatin1(b);
}

} // namespace

QString PadText(const QString& text, int width, QChar fill)
{
    if (text.size() >= width)
        return text;
    return QString(width - int(text.size()), fill) + text;
}

uint32_t ExifReader::u16(size_t pos) const
{
    const uint32_t a = u8(pos), b = u8(pos + 1);
    return intel_ ? (a | b << 8) : (a << 8 | b);
}

uint32_t ExifReader::u32(size_t pos) const
{
    const uint32_t a = u8(pos), b = u8(pos + 1), c = u8(pos + 2), d = u8(pos + 3);
    return intel_ ? (a | b << 8 | c << 16 | d << 24) : (a << 24 | b << 16 | c << 8 | d);
}

QVariant ExifReader::MakerNoteTag(int32_t MakerTag) const
{
    if (!hasExif_)
        return {};
    for (const ExifTagRec& r : records_)
        if (r.tagId == MakerTag && r.makerNote)
            return r.value;
    return {};
}

QVariant ExifReader::Tag(int32_t ExifTag)
{
    if (!hasExif_) {
        if (picFile_.isEmpty())
            return {};
        Load(picFile_);
    }
    if (ExifTag == 0)
        return records_.empty() ? QVariant() : QVariant(int32_t(records_.size()));
    for (const ExifTagRec& r : records_)
        if (r.tagId == ExifTag)
            return r.value;
    return {};
}

void ExifReader::Load(const QString& picFile)
{
    if (picFile_.isEmpty())
        picFile_ = picFile;
    if (picFile_.isEmpty())
        return;
    QFile f(picFile_);
    QByteArray bytes;
    // Only regular files: opening a FIFO would wait for a writer forever.
    if (QFileInfo(picFile_).isFile() && f.open(QIODevice::ReadOnly))
        bytes = leadingApp1(f);
    LoadBytes(bytes);
}

void ExifReader::LoadBytes(const QByteArray& bytes)
{
    bytes_ = bytes;
    records_.clear();
    exifIfdOffset_ = 0;
    end_ = size_t(bytes_.size());
    if (!FindExifHeader()) {
        hasExif_ = false;
        return;
    }
    intel_ = IsIntelByteOrder();
    ifd0Offset_ = in(tiffPos_ + 4, 4) ? u32(tiffPos_ + 4) : 0;
    hasExif_ = true;
    ReadIfdChain();
}

bool ExifReader::FindExifHeader()
{
    const size_t n = size_t(bytes_.size());
    if (n < 2 || u8(0) != 0xFF || u8(1) != 0xD8)
        return false;
    app1Pos_ = 0;
    for (size_t i = 2; i + 1 < n; ++i) {
        if (u8(i) == 0xFF && u8(i + 1) == 0xE1) {
            app1Pos_ = i;
            break;
        }
    }
    if (app1Pos_ == 0)
        return false;
    tiffPos_ = app1Pos_ + 10;
    if (!in(app1Pos_ + 4, 4) || bytes_.mid(qsizetype(app1Pos_ + 4), 4) != "Exif")
        return false;
    // From here on nothing outside the block is read: its length counts from
    // the two length bytes on.
    end_ = std::min(end_, app1Pos_ + 2 + ((size_t(u8(app1Pos_ + 2)) << 8) | u8(app1Pos_ + 3)));
    return true;
}

bool ExifReader::IsIntelByteOrder() const
{
    return !in(tiffPos_, 1) || u8(tiffPos_) == 0x49;
}

void ExifReader::ReadIfdChain()
{
    std::set<uint32_t> visited;
    bool readingExif = false;
    uint32_t offset = ifd0Offset_;
    for (;;) {
        // A directory seen before means the chain loops.
        if (!visited.insert(offset).second)
            return;
        const size_t pos = tiffPos_ + offset;
        if (!in(pos, 2))
            return;
        const size_t n = u16(pos);
        // A directory that runs past the end of the data ends the walk.
        if (!in(pos + 2, 12 * n + 4))
            return;
        for (size_t k = 0; k < n; ++k) {
            if (records_.size() >= kMaxRecords)
                return;
            ExifTagRec rec;
            readEntry(pos + 2 + 12 * k, rec);
            if (rec.tagId == 34665 && !readingExif)
                exifIfdOffset_ = rec.value.toUInt();
            records_.push_back(rec);
        }
        uint32_t next = readingExif ? 0 : u32(pos + 2 + 12 * n);
        if (next == 0 && !readingExif) {
            next = exifIfdOffset_;
            readingExif = true;
        }
        if (next == 0)
            return;
        offset = next;
    }
}

// Fills one record; a value whose data lies outside the file stays empty.
bool ExifReader::readEntry(size_t e, ExifTagRec& rec)
{
    rec.tagId = int32_t(u16(e));
    rec.type = int32_t(u16(e + 2));
    const uint32_t count = u32(e + 4);
    rec.count = int32_t(count);
    const uint32_t raw = u32(e + 8);
    const size_t data = tiffPos_ + raw;
    // The four value bytes, most significant first in the file's byte order.
    auto valueBytes = [&](int i) { return intel_ ? u8(e + 11 - size_t(i)) : u8(e + 8 + size_t(i)); };
    auto decimalBytes = [&](size_t n, bool reversed) -> QVariant {
        if (!in(data, n))
            return {};
        // The text keeps the first values; a longer run is cut.
        const size_t shown = std::min(n, kMaxTextValues);
        QString s;
        for (size_t i = 0; i < shown; ++i)
            s += QString::number(u8(data + (reversed ? n - 1 - i : i)));
        return s;
    };

    switch (rec.type) {
    case 1: case 6:
        if (count <= 4) {
            QString s;
            for (int i = 0; i < 4; ++i)
                s += PadText(QString::number(valueBytes(i), 16).toUpper(), 2, u'0');
            rec.value = s;
        } else {
            rec.valueOrOffset = raw;
            rec.value = decimalBytes(count, false);
        }
        break;
    case 2: case 7:
        if (count > 4) {
            rec.valueOrOffset = raw;
            if (in(data, count - 1))
                rec.value = latin(bytes_.mid(qsizetype(data), qsizetype(count - 1)));
        } else {
            QByteArray b;
            for (int i = 0; i < 4; ++i)
                b += char(valueBytes(i));
            rec.value = latin(b);
        }
        break;
    case 3: case 8:
        if (count == 1 || count == 2) {
            rec.value = int32_t(u16(e + 8) + (count == 2 ? u16(e + 10) : 0));
        } else if (count >= 3) {
            rec.valueOrOffset = raw;
            rec.value = decimalBytes(count, !intel_);
        }
        break;
    case 4:
        if (count == 1)
            rec.value = qint64(raw);  // unsigned: 2^31 and more are ordinary values
        else if (count >= 2) {
            rec.valueOrOffset = raw;
            rec.value = decimalBytes(count, false);
        }
        break;
    case 9:
        if (count == 1)
            rec.value = int32_t(raw);
        else if (count >= 2) {
            rec.valueOrOffset = raw;
            rec.value = decimalBytes(count, false);
        }
        break;
    case 5: case 10:
        rec.valueOrOffset = raw;
        if (in(data, 8)) {
            const uint32_t num = u32(data), den = u32(data + 4);
            rec.value = rec.type == 5
                            ? QString::number(num) + u'/' + QString::number(den)
                            : QString::number(int32_t(num)) + u'/' + QString::number(int32_t(den));
        }
        break;
    default:
        break;
    }
    return true;
}
