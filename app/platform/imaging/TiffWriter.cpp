#include <algorithm>
#include <cstring>
#include <tiffio.h>
#include <vector>

#include "platform/imaging/PictureWriter.h"

namespace imaging {

namespace {

// A growing byte array that libtiff writes through, seeking back to patch
// the header as a file would let it.
struct MemoryFile {
    QByteArray& bytes;
    toff_t pos = 0;
};

tsize_t memRead(thandle_t h, tdata_t data, tsize_t size)
{
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t have = toff_t(f->bytes.size());
    const tsize_t n = f->pos >= have ? 0 : tsize_t(std::min<toff_t>(toff_t(size), have - f->pos));
    if (n > 0)
        std::memcpy(data, f->bytes.constData() + f->pos, size_t(n));
    f->pos += toff_t(n);
    return n;
}

tsize_t memWrite(thandle_t h, tdata_t data, tsize_t size)
{
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t end = f->pos + toff_t(size);
    if (end > toff_t(f->bytes.size()))
        f->bytes.resize(qsizetype(end));
    std::memcpy(f->bytes.data() + f->pos, data, size_t(size));
    f->pos = end;
    return size;
}

toff_t memSeek(thandle_t h, toff_t offset, int whence)
{
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t base = whence == SEEK_CUR ? f->pos : whence == SEEK_END ? toff_t(f->bytes.size()) : 0;
    f->pos = base + offset;
    return f->pos;
}

int memClose(thandle_t)
{
    return 0;
}

toff_t memSize(thandle_t h)
{
    return toff_t(static_cast<MemoryFile*>(h)->bytes.size());
}

int memMap(thandle_t, tdata_t*, toff_t*)
{
    return 0;
}

void memUnmap(thandle_t, tdata_t, toff_t) {}

} // namespace

EncodeResult encodeTiff(const QImage& rgb888)
{
    EncodeResult r;
    MemoryFile file{r.bytes};
    TIFF* tif = TIFFClientOpen("memory", "w", &file, memRead, memWrite, memSeek, memClose, memSize, memMap, memUnmap);
    if (!tif)
        return {{}, QStringLiteral("cannot start the TIFF encoder")};
    const uint32_t w = uint32_t(rgb888.width()), h = uint32_t(rgb888.height());
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    bool ok = true;
    std::vector<uint8_t> row(size_t(w) * 3);
    for (uint32_t y = 0; y < h && ok; ++y) {
        const uchar* line = rgb888.constScanLine(int(y));
        std::copy(line, line + row.size(), row.begin());
        ok = TIFFWriteScanline(tif, row.data(), y, 0) >= 0;
    }
    ok = TIFFFlush(tif) == 1 && ok;
    TIFFClose(tif);
    if (!ok)
        return {{}, QStringLiteral("the TIFF encoder failed")};
    return r;
}

} // namespace imaging
