#pragma once

// Builds small JPEG byte strings that carry an EXIF block, in either byte
// order, with directories linked as the test asks (chains, loops, sub-IFD).
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

struct ExifTag {
    uint16_t tag = 0, type = 0;
    uint32_t count = 0;
    QByteArray value;     // in file byte order; more than 4 bytes go to the data area
    int linkTo = -1;      // LONG value = offset of that directory (the Exif pointer)
};

struct ExifDir {
    std::vector<ExifTag> tags;
    int next = -1;        // index of the next directory in the chain; -1 none
};

class ExifBlob {
public:
    explicit ExifBlob(bool intel) : intel_(intel) {}

    QByteArray u16(uint32_t v) const
    {
        QByteArray b(2, 0);
        b[intel_ ? 0 : 1] = char(v & 0xFF);
        b[intel_ ? 1 : 0] = char(v >> 8 & 0xFF);
        return b;
    }
    QByteArray u32(uint32_t v) const
    {
        QByteArray b(4, 0);
        for (int i = 0; i < 4; ++i)
            b[intel_ ? i : 3 - i] = char(v >> (8 * i) & 0xFF);
        return b;
    }
    ExifTag shortTag(uint16_t tag, uint16_t v) const { return {tag, 3, 1, u16(v) + QByteArray(2, 0)}; }
    ExifTag longTag(uint16_t tag, uint32_t v, uint16_t type = 4) const { return {tag, type, 1, u32(v)}; }
    ExifTag ascii(uint16_t tag, const QByteArray& s) const
    {
        QByteArray v = s + '\0';
        return {tag, 2, uint32_t(v.size()), v};
    }
    ExifTag rational(uint16_t tag, uint32_t num, uint32_t den, uint16_t type = 5) const
    {
        return {tag, type, 1, u32(num) + u32(den)};
    }
    ExifTag pointer(uint16_t tag, int dir) const { return {tag, 4, 1, QByteArray(4, 0), dir}; }

    // The TIFF part: header, then every directory with its data behind it.
    QByteArray tiff(const std::vector<ExifDir>& dirs) const
    {
        std::vector<uint32_t> at;
        uint32_t pos = 8;
        for (const ExifDir& d : dirs) {
            at.push_back(pos);
            pos += 2 + 12 * uint32_t(d.tags.size()) + 4;
            for (const ExifTag& t : d.tags)
                if (t.value.size() > 4)
                    pos += uint32_t(t.value.size());
        }
        QByteArray out = QByteArray(intel_ ? "II" : "MM") + u16(42) + u32(8);
        for (size_t i = 0; i < dirs.size(); ++i) {
            const ExifDir& d = dirs[i];
            uint32_t data = at[i] + 2 + 12 * uint32_t(d.tags.size()) + 4;
            QByteArray area;
            out += u16(uint32_t(d.tags.size()));
            for (const ExifTag& t : d.tags) {
                out += u16(t.tag) + u16(t.type) + u32(t.count);
                if (t.linkTo >= 0)
                    out += u32(at[size_t(t.linkTo)]);
                else if (t.value.size() > 4) {
                    out += u32(data + uint32_t(area.size()));
                    area += t.value;
                } else
                    out += t.value.leftJustified(4, '\0');
            }
            out += u32(d.next >= 0 ? at[size_t(d.next)] : 0);
            out += area;
        }
        return out;
    }

    QByteArray jpeg(const std::vector<ExifDir>& dirs) const
    {
        const QByteArray body = QByteArray("Exif\0\0", 6) + tiff(dirs);
        QByteArray seg("\xFF\xE1", 2);
        const int len = int(body.size()) + 2;
        seg += char(len >> 8 & 0xFF);
        seg += char(len & 0xFF);
        return QByteArray("\xFF\xD8", 2) + seg + body + QByteArray("\xFF\xD9", 2);
    }

private:
    bool intel_;
};
