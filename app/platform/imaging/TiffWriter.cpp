#include <QFile>
#include <tiffio.h>
#include <vector>

#include "platform/imaging/PictureWriter.h"

namespace imaging {

WriteResult writeTiff(const QImage& rgb888, const QString& path)
{
    TIFF* tif = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tif)
        return {false, QStringLiteral("cannot open ") + path};
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
        return {false, QStringLiteral("cannot write ") + path};
    return {true, {}};
}

} // namespace imaging
