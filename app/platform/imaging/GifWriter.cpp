#include <gif_lib.h>
#include <vector>

#include "platform/imaging/PictureWriter.h"

namespace imaging {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* data, int size)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), size);
    return size;
}

} // namespace

EncodeResult encodeGif(const QImage& rgb888)
{
    const int w = rgb888.width(), h = rgb888.height();
    const size_t n = size_t(w) * size_t(h);
    std::vector<GifByteType> r(n), g(n), b(n), index(n);
    for (int y = 0; y < h; ++y) {
        const uchar* line = rgb888.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            r[i] = line[3 * x];
            g[i] = line[3 * x + 1];
            b[i] = line[3 * x + 2];
        }
    }
    int mapSize = 256;
    GifColorType palette[256] = {};
    if (GifQuantizeBuffer(unsigned(w), unsigned(h), &mapSize, r.data(), g.data(), b.data(), index.data(),
                          palette) == GIF_ERROR)
        return {{}, QStringLiteral("cannot reduce the colours")};
    ColorMapObject* map = GifMakeMapObject(256, palette);
    int err = 0;
    EncodeResult result;
    GifFileType* gif = EGifOpen(&result.bytes, appendBytes, &err);
    if (!gif || !map) {
        GifFreeMapObject(map);
        if (gif)
            EGifCloseFile(gif, &err);
        return {{}, QStringLiteral("cannot start the GIF encoder")};
    }
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; y < h && ok; ++y)
        ok = EGifPutLine(gif, index.data() + size_t(y) * size_t(w), w) == GIF_OK;
    ok = EGifCloseFile(gif, &err) == GIF_OK && ok;
    GifFreeMapObject(map);
    if (!ok)
        return {{}, QStringLiteral("the GIF encoder failed: ") + QString::fromLatin1(GifErrorString(err))};
    return result;
}

} // namespace imaging
