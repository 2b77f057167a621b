#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

// One directory entry read from the EXIF block, its value already turned into
// a number or a text (QVariant: empty, an integer or a QString).
struct ExifTagRec {
    int32_t tagId = 0;
    bool makerNote = false;  // never set: maker notes are not read
    int32_t type = 0;
    int32_t count = 0;
    int64_t valueOrOffset = 0;
    QVariant value;
};

// Reads the EXIF tags of a JPEG file: the first APP1 block among the marker
// segments before the picture data (only those are read from the file), IFD0
// and the chain behind it, then the Exif sub-IFD once. The first directory that holds a tag wins.
// Every read is bounded by the APP1 block (a directory or a value outside it
// is not read), a chain that loops or a directory that runs past the block's
// end ends the walk, and the work is capped: at most kMaxRecords records and
// kMaxTextValues values turned into text per record, so a crafted block costs
// no more than a few megabytes.
class ExifReader {
public:
    static constexpr size_t kMaxRecords = 2048;
    static constexpr size_t kMaxTextValues = 256;

    void setPicFile(const QString& path) { picFile_ = path; }
    QString picFile() const { return picFile_; }

    // Always empty: this reader keeps no maker-note records.
    QVariant MakerNoteTag(int32_t MakerTag) const;
    // Tag 0 gives the number of records (empty when none); any other tag its
    // first record's value. Loads picFile first while no EXIF has been found.
    QVariant Tag(int32_t ExifTag);
    // Reads picFile (or the argument, when picFile is still empty).
    void Load(const QString& picFile);

    // For tests: parse bytes already in memory.
    void LoadBytes(const QByteArray& bytes);
    bool hasExif() const { return hasExif_; }
    const std::vector<ExifTagRec>& records() const { return records_; }

private:
    bool FindExifHeader();
    bool IsIntelByteOrder() const;
    void ReadIfdChain();
    bool readEntry(size_t e, ExifTagRec& rec);

    bool in(size_t pos, size_t n) const { return pos <= end_ && n <= end_ - pos; }
    uint8_t u8(size_t pos) const { return uint8_t(bytes_[qsizetype(pos)]); }
    uint32_t u16(size_t pos) const;
    uint32_t u32(size_t pos) const;

    QByteArray bytes_;
    size_t end_ = 0;  // first byte after the APP1 block (after the data while searching)
    uint32_t ifd0Offset_ = 0;
    size_t app1Pos_ = 0;
    size_t tiffPos_ = 0;
    bool intel_ = true;
    uint32_t exifIfdOffset_ = 0;
    std::vector<ExifTagRec> records_;
    QString picFile_;
    bool hasExif_ = false;
};

// Pads text on the left with fill up to width characters.
QString PadText(const QString& text, int width, QChar fill);
