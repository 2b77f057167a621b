#pragma once

// Portable bitmaps, grey maps and pixel maps (P1 to P6), plain and raw, read
// as the netpbm format pages describe them; samples are scaled from the
// file's maximum value to 8 bits.
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TPPMGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    struct THeader {
        char kind = 0;   // '1' to '6'
        uint32_t width = 0, height = 0, maxValue = 1;
    };

    uint8_t nextByte();
    int peekByte();
    uint32_t readNumber();
    // A plain bitmap's pixel: one '0' or '1', separators optional.
    uint8_t readBit();
    bool readHeader(THeader& header);
    void loadBitmap(const THeader& header);
    void loadSamples(const THeader& header, uint32_t samples);

    std::vector<uint8_t> buffer_;
    std::size_t index_ = 0;
};

// What the format registry knows of the class.
extern const TGraphicClass TPPMGraphicClass;

} // namespace vum
