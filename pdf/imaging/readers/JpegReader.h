#pragma once

// JPEG files through libjpeg: grey pictures become 8-bit grey palette
// bitmaps, colour and CMYK pictures 24-bit bitmaps.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Bitmap.h"

namespace vum {

struct TJpegInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 0;
    bool adobeInverted = false;   // CMYK stored inverted, as Adobe applications write it
    bool arithmetic = false;      // arithmetic-coded, which can code a flat block in less than a bit
    bool endMarker = false;       // an end-of-image marker comes after the scans
    std::size_t dataEnd = 0;      // with it, where it ends; without, where one would close the data
};

class TJPEGImage : public TBitmap {
public:
    void LoadFromStream(TStream& stream) override;
    int Warnings() const { return warnings_; }

    // Reads the header of a JPEG file without decoding it; raises
    // EInvalidGraphic for data that are not a JPEG picture.
    static TJpegInfo ReadInfo(const std::vector<uint8_t>& data);
    // Reads every scan through without keeping the picture, held to the
    // format's and the memory limits only: the verdict (a jpeg_verdict of
    // jpeg/JpegVerdict.h) that the decoding modes reach on the same data.
    // Where the header and the end of the data decide it, nothing is decoded.
    // Raises as ReadInfo does, for data too short for the size the header
    // claims, and where libjpeg gives up.
    static int ReadThrough(const std::vector<uint8_t>& data);
    // The read-through's verdict is not "cut".
    static bool IsWhole(const std::vector<uint8_t>& data);

private:
    int warnings_ = 0;
};

// Encodes red, green, blue rows as a baseline JPEG; raises EInvalidGraphic on failure.
std::vector<uint8_t> EncodeJpeg(const uint8_t* rgb, uint32_t width, uint32_t height, int quality);

// What the format registry knows of the class.
extern const TGraphicClass TJPEGImageClass;

} // namespace vum
