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

// Grey, as libjpeg leaves the part of a JPEG whose data did not come: one
// look for every cut picture.
constexpr QRgb kMissing = qRgb(128, 128, 128);
constexpr QRgb kBlack = qRgb(0, 0, 0);

// The colours of the table a frame uses, in kPictureFormat, for each of the
// 256 indices. An index the table does not hold is opaque black (as Chromium
// and Pillow show it), never see-through: only the transparent index is,
// wherever it lies. Without any table, the GIF standard recommends the
// decoder's own with black and white first, so that a two-colour picture shows.
std::vector<QRgb> coloursOf(const ColorMapObject* map, int transparent)
{
    std::vector<QRgb> colours(256, kBlack);
    if (map) {
        const int count = std::min(map->ColorCount, 256);
        for (int i = 0; i < count; ++i)
            colours[size_t(i)] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    } else {
        colours[1] = qRgb(255, 255, 255);
    }
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

// Reads the next row of the frame; returns how many of its first pixels
// decoded: all, none, or all but the last on the frame's last row. After the
// last pixel giflib reads on to the end of the frame's data and fails when
// that end is missing, though every pixel came: so the last pixel is read
// alone, and only it is taken for missing then.
int readRow(GifFileType* gif, GifPixelType* line, int width, bool lastRow)
{
    if (!lastRow || width == 1)
        return DGifGetLine(gif, line, width) == GIF_OK ? width : 0;
    if (DGifGetLine(gif, line, width - 1) == GIF_ERROR)
        return 0;
    return DGifGetLine(gif, line + width - 1, 1) == GIF_OK ? width : width - 1;
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
    // colour, else on the background colour, an index into the screen's
    // table. Without a screen table that index names no colour and the bare
    // canvas stays transparent, as every viewer shows it: the table the
    // format recommends for a file without any is for the frame's pixels.
    QRgb background = 0;
    const bool covers = frame.Left == 0 && frame.Top == 0 && frame.Width >= canvasSize.width() &&
                        frame.Height >= canvasSize.height();
    if (!covers && transparent < 0 && gif->SColorMap)
        background = coloursOf(gif->SColorMap, transparent)[size_t(gif->SBackGroundColor & 0xFF)];
    out.image.fill(background);
    if (frame.Width <= 0 || frame.Height <= 0)
        return out;

    const std::vector<QRgb> colours = coloursOf(frame.ColorMap ? frame.ColorMap : gif->SColorMap, transparent);
    std::vector<GifPixelType> line(size_t(frame.Width));
    const int firstX = std::min(frame.Left, canvasSize.width());
    const int lastX = std::min(frame.Left + frame.Width, canvasSize.width());
    const std::vector<int> rows = rowOrder(frame.Top, frame.Height, frame.Interlace);
    for (size_t i = 0; i < rows.size(); ++i) {
        // Once the data has ended, every later row is missing.
        const int decoded = out.damaged ? 0 : readRow(gif, line.data(), frame.Width, i + 1 == rows.size());
        if (decoded < frame.Width)
            out.damaged = true;
        const int y = rows[i];
        if (y >= canvasSize.height())
            continue;
        auto* row = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = firstX; x < lastX; ++x) {
            const int at = x - frame.Left;
            row[x] = at < decoded ? colours[line[size_t(at)]] : kMissing;
        }
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
