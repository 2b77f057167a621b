#include "engine/document/PictureHolder.h"

#include "engine/canvas/VumCanvas.h"
#include "engine/document/VumDocument.h"
#include "engine/util/Ascii85.h"
#include "engine/util/Deflate.h"
#include "engine/util/Geometry.h"
#include "imaging/Bitmap.h"
#include "imaging/Limits.h"
#include "imaging/PictureLoader.h"
#include "imaging/readers/JpegReader.h"
#include "imaging/Stream.h"

namespace vum {

namespace {

const char* const kUnsupported = "Image format or compression scheme not supported";

// A 1-bit picture whose two colours are black and white keeps one bit a pixel;
// any other palette would lose its colours.
bool blackAndWhite(const TBitmap& picture)
{
    if (picture.PixelFormat() != TPixelFormat::pf1bit)
        return false;
    for (const TPaletteEntry& e : picture.Palette()) {
        bool black = e.red == 0 && e.green == 0 && e.blue == 0;
        bool white = e.red == 255 && e.green == 255 && e.blue == 255;
        if (!black && !white)
            return false;
    }
    return true;
}

std::string asText(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TCustomVumImage& TCustomVumImage::Create(TCustomVum& owner, const std::string& fileName)
{
    std::unique_ptr<TCustomVumImage> image(new TCustomVumImage(owner));
    image->Name = "Im" + std::to_string(owner.Images.size());
    image->FileName = fileName;
    TCustomVumImage& result = *image;
    owner.Images.push_back(std::move(image));
    return result;
}

int TCustomVumImage::IndexInDocument() const
{
    for (std::size_t i = 0; i < owner_.Images.size(); ++i)
        if (owner_.Images[i].get() == this)
            return int(i);
    return -1;
}

TCustomVumImage* FindImageByName(TCustomVum& document, const std::string& fileName)
{
    for (const auto& picture : document.Images)
        if (auto* image = dynamic_cast<TCustomVumImage*>(picture.get()); image && image->FileName == fileName)
            return image;
    return nullptr;
}

void TCustomVumImage::Unsupported() const
{
    owner_.RaiseDocumentError(kUnsupported, FileName);
}

void TCustomVumImage::Prepare()
{
    // A kept picture is the one the draw call saw: its file is not read again.
    if (objectNumber_ > 0 || !Data.empty() || kept_.Kept() || FileName.empty())
        return;
    std::unique_ptr<TBitmap> picture = LoadPictureFile(owner_.ImageCompressMode() != JpegCompression);
    if (picture)
        Encode(*picture);
    else
        StoreJpegFile();
}

std::unique_ptr<TBitmap> TCustomVumImage::LoadPictureFile(bool allowJpeg) const
{
    // Reader errors, unreadable files and pictures beyond the caps all count
    // as a format that cannot be placed.
    TGraphicClassRef graphicClass = nullptr;
    try {
        graphicClass = FindPictureClass(FileName);
    } catch (const std::exception&) {
    }
    if (!graphicClass)
        Unsupported();
    if (graphicClass == &TJPEGImageClass && !allowJpeg)
        return nullptr;
    std::unique_ptr<TBitmap> picture;
    try {
        picture = vum::LoadPictureFile(FileName, graphicClass);
    } catch (const std::exception&) {
    }
    // A reader that found no picture in the file has nothing to place either.
    if (!picture || picture->Empty())
        Unsupported();
    return picture;
}

void TCustomVumImage::TakeBackKept()
{
    if (!Data.empty() || !kept_.Kept())
        return;
    if (!owner_.Spool().Read(kept_, Data))
        owner_.RaiseDocumentError("Can't read back stored image", FileName);
}

void TCustomVumImage::LetGoOfData()
{
    if (!kept_.Kept() && owner_.Canvas().CountingPass) {
        kept_ = owner_.Spool().Keep(owner_.TempFolder(), Data);
        if (!kept_.Kept())
            owner_.RaiseDocumentError("Can't store image", FileName);
    }
    std::string().swap(Data);
}

void TCustomVumImage::StoreJpegFile()
{
    std::vector<uint8_t> bytes;
    TJpegInfo info;
    bool read = false;
    try {
        bytes = ReadWholeFile(FileName);
        info = TJPEGImage::ReadInfo(bytes);
        // A file that lacks only its end marker (its markers, walked to the
        // end, hold none after the scans: a comment's bytes FF D9 are no
        // marker) is read through once to show that it is whole, and embedded
        // closed with the marker: without it poppler leaves the last rows
        // blank, or all of a progressive picture. One cut anywhere else would
        // show a grey or blurred rest.
        read = info.endMarker || TJPEGImage::IsWhole(bytes);
    } catch (const std::exception&) {
    }
    if (!read)
        Unsupported();
    if (!info.endMarker) {
        // A segment the file ends inside goes: a viewer would read the marker
        // as part of it.
        bytes.resize(info.dataEnd);
        bytes.insert(bytes.end(), {0xFF, 0xD9});
    }
    Width = int32_t(info.width);
    Height = int32_t(info.height);
    BitsPerComponent = 8;
    Compression = JpegCompression;
    Components = info.components;
    InvertedCmyk = info.adobeInverted;
    Data = Ascii85Encode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TCustomVumImage::Encode(const TBitmap& picture)
{
    Compression = owner_.ImageCompressMode();
    bool oneBit = Compression == ZlibCompression && blackAndWhite(picture);
    BitsPerComponent = oneBit ? 1 : 8;
    Components = oneBit ? 1 : 3;
    Width = int32_t(picture.Width());
    Height = int32_t(picture.Height());
    switch (Compression) {
    case NoCompression: StoreRaw(picture); break;
    case ZlibCompression: StoreZlib(picture); break;
    case JpegCompression: StoreJpeg(picture); break;
    default: break;
    }
}

void TCustomVumImage::WritePixels(const TBitmap& picture, std::string& out) const
{
    std::size_t rowBytes = BitsPerComponent == 1 ? (picture.Width() + 7) / 8 : std::size_t(picture.Width()) * 3;
    if (!AllocationWithinLimits(uint64_t(rowBytes) * picture.Height()))
        Unsupported();
    out.resize(rowBytes * picture.Height());
    std::vector<uint8_t> rgb(std::size_t(picture.Width()) * 3);
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        char* row = out.data() + rowBytes * y;
        if (BitsPerComponent == 8) {
            picture.RowToRGB(y, reinterpret_cast<uint8_t*>(row));
            continue;
        }
        std::fill(row, row + rowBytes, 0);
        for (uint32_t x = 0; x < picture.Width(); ++x)
            if (picture.PixelColor(x, y) != 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
    }
}

void TCustomVumImage::StoreRaw(const TBitmap& picture)
{
    std::string rows;
    WritePixels(picture, rows);
    Data = Ascii85Encode(rows);
}

void TCustomVumImage::StoreZlib(const TBitmap& picture)
{
    std::string rows;
    WritePixels(picture, rows);
    std::string packed;
    if (!DeflateInto(rows, packed))
        owner_.RaiseDocumentError("Can't store image", FileName);
    Data = Ascii85Encode(packed);
}

void TCustomVumImage::StoreJpeg(const TBitmap& picture)
{
    std::string rows;
    WritePixels(picture, rows);
    const auto* rgb = reinterpret_cast<const uint8_t*>(rows.data());
    // Lower the quality step by step until the encoder succeeds.
    for (int quality = owner_.JpegQuality();; quality = RoundEven(quality * 0.9)) {
        try {
            Data = Ascii85Encode(asText(EncodeJpeg(rgb, picture.Width(), picture.Height(), quality)));
            return;
        } catch (const std::exception&) {
            if (quality <= 10)
                owner_.RaiseDocumentError("Can't store image", FileName);
        }
    }
}

} // namespace vum
