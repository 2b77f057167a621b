#pragma once

// What a reader learns from a picture file's header.
#include <cstdint>
#include <vector>

#include "imaging/ColorManager.h"

namespace vum {

// Options bits.
enum : uint8_t {
    ioTiled = 1 << 0,
    ioBigEndian = 1 << 1,
    ioMinIsWhite = 1 << 2,
    ioReversed = 1 << 3,
    ioUseGamma = 1 << 4,
};

enum class TCompressionType : uint8_t {
    ctUnknown, ctNone, ctRLE, ctPackedBits, ctLZW, ctFax3, ctFaxRLE, ctFax4, ctFaxRLEW, ctLZ77, ctJPEG,
    ctOJPEG, ctThunderscan, ctNext, ctIT8CTPAD, ctIT8LW, ctIT8MP, ctIT8BL, ctPixarFilm, ctPixarLog,
    ctDCS, ctJBIG, ctPCDHuffmann
};

struct TImageProperties {
    uint32_t Version = 0;
    uint8_t Options = 0;
    uint32_t Width = 0;
    uint32_t Height = 0;
    TColorScheme ColorScheme = TColorScheme::Unknown;
    uint8_t BitsPerSample = 0;
    uint8_t SamplesPerPixel = 0;
    uint8_t BitsPerPixel = 0;
    TCompressionType Compression = TCompressionType::ctUnknown;
    float FileGamma = 1.0f;
    float XResolution = 0;
    float YResolution = 0;
    bool Interlaced = false;
    bool AlphaPresent = false;
    uint32_t FirstIFD = 0;
    int32_t PlanarConfiguration = 0;
    int32_t CurrentRow = 0;
    int32_t TileWidth = 0;
    int32_t TileLength = 0;
    int32_t BytesPerLine = 0;
    std::vector<uint32_t> RowsPerStrip;
    std::vector<uint8_t> YCbCrSubsampling;
    std::vector<uint8_t> JPEGTables;
    int32_t JPEGColorMode = 0;
    int32_t JPEGTablesMode = 0;
    int32_t CurrentStrip = 0;
    int32_t StripCount = 0;
    int32_t Predictor = 0;
    bool Overview = false;
    uint8_t Rotation = 0;
    uint16_t ImageCount = 0;
    bool LocalColorTable = false;
    bool BottomUp = false;
    uint8_t ChannelCount = 0;
    uint8_t FilterMethod = 0;
};

} // namespace vum
