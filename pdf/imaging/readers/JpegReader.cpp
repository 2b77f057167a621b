#include "imaging/readers/JpegReader.h"

#include <cstring>

#include "imaging/ColorManager.h"
#include "imaging/DataBounds.h"
#include "imaging/decoders/JpegShim.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"
#include "jpeg/JpegMarkers.h"
#include "jpeg/JpegVerdict.h"

namespace vum {

namespace {

[[noreturn]] void jpegError(const char* detail)
{
    RaiseGraphicError(std::string("JPEG error: ") + detail);
}

// Each Huffman-coded 8 x 8 block costs at least one bit, so a header claiming
// far more pixels than the data can hold belongs to a forged or damaged file.
// Arithmetic coding has no such floor: a flat picture of megapixels fits in a
// few hundred bytes.
void checkDataHoldsBlocks(const TJpegInfo& info, std::size_t dataSize)
{
    if (!info.arithmetic && uint64_t(info.width) * info.height > uint64_t(dataSize) * 8 * 64)
        jpegError("the picture is larger than its data");
}

// Arithmetic decoding reads on past the end of its data as zeros, without a
// sign: without its end marker such a file cannot show that it is whole, and
// the shared rule calls it cut whatever its scans hold. The header and the
// walk to the end decide that, so no scan is decoded for it.
bool cutWithoutDecoding(const TJpegInfo& info)
{
    const jpeg_end end{info.endMarker, info.dataEnd};
    return jpeg_cut_before_decoding(info.arithmetic, &end) != 0;
}

} // namespace

TJpegInfo TJPEGImage::ReadInfo(const std::vector<uint8_t>& data)
{
    vum_jpeg_info info;
    char message[200] = {};
    if (vum_jpeg_read_info(data.data(), data.size(), &info, message, sizeof message) != 0)
        jpegError(message);
    if (info.width == 0 || info.height == 0 || (info.components != 1 && info.components != 3 && info.components != 4))
        jpegError("unsupported picture layout");
    const jpeg_end end = jpeg_find_end(data.data(), data.size(), info.scan_offset);
    return {info.width, info.height, info.components, info.adobe_inverted != 0, info.arithmetic != 0,
            end.closed != 0, end.data_end};
}

int TJPEGImage::ReadThrough(const std::vector<uint8_t>& data)
{
    // No picture is kept, so the picture-size limit of the decoding modes has
    // no part here: what bounds the read is the format's own size limit,
    // which libjpeg holds, and the memory its buffers may take.
    const TJpegInfo info = ReadInfo(data);
    if (cutWithoutDecoding(info))
        return JPEG_CUT;
    checkDataHoldsBlocks(info, data.size());
    vum_jpeg_result result;
    char message[200] = {};
    if (vum_jpeg_decode(data.data(), data.size(), nullptr, 0, 0, long(imageLimits().maxAllocation), &result,
                        message, sizeof message) != 0)
        jpegError(message);
    return result.verdict;
}

bool TJPEGImage::IsWhole(const std::vector<uint8_t>& data)
{
    return ReadThrough(data) != JPEG_CUT;
}

void TJPEGImage::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    std::vector<uint8_t> data = stream.ReadRest();
    TJpegInfo info = ReadInfo(data);
    if (cutWithoutDecoding(info))
        jpegError("the file is cut off");
    if (!SizeWithinLimits(info.width, info.height))
        RaisePictureTooLarge();
    checkDataHoldsBlocks(info, data.size());
    std::size_t stride = std::size_t(info.width) * info.components;
    uint64_t bytes = uint64_t(stride) * info.height;
    if (!AllocationWithinLimits(bytes))
        RaisePictureTooLarge();
    std::vector<uint8_t> pixels(bytes);
    vum_jpeg_result result;
    char message[200] = {};
    if (vum_jpeg_decode(data.data(), data.size(), pixels.data(), stride, pixels.size(),
                        long(imageLimits().maxAllocation), &result, message, sizeof message) != 0)
        jpegError(message);
    warnings_ = result.warnings;
    // Corrupt codes in data that are all there decode as libjpeg mends them.
    if (result.verdict == JPEG_CUT)
        jpegError("the file is cut off");
    if (info.components == 1) {
        SetPixelFormat(TPixelFormat::pf8bit);
        TPalette gray(256);
        for (int i = 0; i < 256; ++i)
            gray[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
        SetPalette(gray);
    } else {
        SetPixelFormat(TPixelFormat::pf24bit);
    }
    SetSize(info.width, info.height);
    TColorManager cm;
    if (info.components == 4) {
        cm.SetSourceColorScheme(TColorScheme::CMYK);
        cm.SetSourceSamplesPerPixel(4);
    }
    for (uint32_t y = 0; y < info.height; ++y) {
        uint8_t* src = pixels.data() + std::size_t(y) * stride;
        if (info.components == 1) {
            std::memcpy(ScanLine(y), src, stride);
            continue;
        }
        if (info.components == 4 && info.adobeInverted)
            for (std::size_t i = 0; i < stride; ++i)
                src[i] = uint8_t(255 - src[i]);
        cm.ConvertRow({src}, ScanLine(y), info.width);
    }
}

std::vector<uint8_t> EncodeJpeg(const uint8_t* rgb, uint32_t width, uint32_t height, int quality)
{
    unsigned char* out = nullptr;
    unsigned long size = 0;
    char message[200] = {};
    if (vum_jpeg_encode_rgb(rgb, width, height, quality, &out, &size, message, sizeof message) != 0)
        jpegError(message);
    std::vector<uint8_t> bytes(out, out + size);
    vum_jpeg_free(out);
    return bytes;
}

namespace {
constexpr TExtensionDeclaration kJPEGImageExtensions[] = {
    {"jfif", "JFIF images"},
    {"jpg", "JPG images"},
    {"jpe", "JPE images"},
    {"jpeg", "JPEG images"},
};
} // namespace

const TGraphicClass TJPEGImageClass{"TJPEGImage", CreateGraphic<TJPEGImage>, nullptr,
                                    "JPG images", kJPEGImageExtensions, ftRaster};

} // namespace vum
