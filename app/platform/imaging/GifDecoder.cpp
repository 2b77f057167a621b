#include "platform/imaging/GifDecoder.h"

#include <QFile>
#include <algorithm>
#include <gif_lib.h>
#include <memory>
#include <vector>

#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/PictureReader.h"

namespace imaging {

namespace {

int readFromFile(GifFileType* gif, GifByteType* into, int size)
{
    return int(static_cast<QFile*>(gif->UserData)->read(reinterpret_cast<char*>(into), size));
}

struct CloseGif {
    void operator()(GifFileType* gif) const
    {
        int err = 0;
        DGifCloseFile(gif, &err);
    }
};
using GifHandle = std::unique_ptr<GifFileType, CloseGif>;

// The colours of one palette in kPictureFormat, the transparent index and
// every index the palette does not hold as transparent pixels.
std::vector<QRgb> pixelsOf(const ColorMapObject* map, int transparent)
{
    std::vector<QRgb> colours(256, 0);
    const int count = map ? std::min(map->ColorCount, 256) : 0;
    for (int i = 0; i < count; ++i)
        colours[size_t(i)] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    if (transparent >= 0 && transparent < 256)
        colours[size_t(transparent)] = 0;
    return colours;
}

// Skips an extension, keeping the transparent index a graphic control block gives.
bool readExtension(GifFileType* gif, int& transparent)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
            transparent = gcb.TransparentColor;
    }
    while (block)
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    return true;
}

// The row of the canvas each row of the frame goes to, in the order the
// rows are stored: interlaced frames store every eighth row from 0, every
// eighth from 4, every fourth from 2, then every second from 1.
std::vector<int> rowOrder(int top, int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            rows.push_back(top + y);
        return rows;
    }
    constexpr int kPasses[4][2] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    for (const auto& [start, step] : kPasses)
        for (int y = start; y < height; y += step)
            rows.push_back(top + y);
    return rows;
}

// Paints the frame whose descriptor was just read on a canvas made for it.
GifDecode paintFirstFrame(GifFileType* gif, int transparent)
{
    const GifImageDesc& frame = gif->Image;
    const QSize canvasSize(gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width,
                           gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height);
    GifDecode out;
    if (canvasSize.isEmpty() || int64_t(canvasSize.width()) * canvasSize.height() > kMaxPicturePixels)
        return out;
    out.image = decodeTarget(canvasSize, kPictureFormat);
    if (out.image.isNull()) {
        out.noMemory = true;
        return out;
    }
    // A frame that leaves part of the canvas bare lies on the transparent
    // colour, else on the background colour.
    QRgb background = 0;
    const bool covers = frame.Left == 0 && frame.Top == 0 && frame.Width >= canvasSize.width() &&
                        frame.Height >= canvasSize.height();
    if (!covers && transparent < 0 && gif->SColorMap)
        background = pixelsOf(gif->SColorMap, transparent)[size_t(gif->SBackGroundColor & 0xFF)];
    out.image.fill(background);
    if (frame.Width <= 0 || frame.Height <= 0)
        return out;

    const std::vector<QRgb> colours = pixelsOf(frame.ColorMap ? frame.ColorMap : gif->SColorMap, transparent);
    std::vector<GifPixelType> line(size_t(std::max(frame.Width, 1)));
    const int firstX = std::min(frame.Left, canvasSize.width());
    const int lastX = std::min(frame.Left + frame.Width, canvasSize.width());
    for (const int y : rowOrder(frame.Top, frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
            break;  // what arrived stays, as in Qt's reader
        if (y >= canvasSize.height())
            continue;
        auto* row = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = firstX; x < lastX; ++x)
            row[x] = colours[line[size_t(x - frame.Left)]];
    }
    return out;
}

} // namespace

GifDecode decodeGifFirstFrame(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    int err = 0;
    const GifHandle gif(DGifOpen(&file, readFromFile, &err));
    if (!gif)
        return {};
    int transparent = NO_TRANSPARENT_COLOR;
    for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != TERMINATE_RECORD_TYPE;) {
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            return {};
        if (record == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(gif.get()) == GIF_ERROR ? GifDecode{} : paintFirstFrame(gif.get(), transparent);
        if (record == EXTENSION_RECORD_TYPE && !readExtension(gif.get(), transparent))
            return {};
    }
    return {};
}

} // namespace imaging
