#pragma once

// SGI images: grey, RGB and RGBA, 8 or 16 bits a sample, verbatim or
// run-length encoded, stored as planes with the bottom row first.
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TSGIGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    // Reads row r of channel z into the buffer (x size samples).
    void readRow(TStream& stream, uint32_t row, uint32_t channel, uint8_t* buffer);
    // Raises before anything is allocated when the file cannot hold the rows of these channels.
    void checkDataHoldsThePicture(TStream& stream, uint32_t channels) const;

    bool runLength_ = false;
    uint32_t bytesPerSample_ = 1;
    uint32_t channels_ = 1;
    std::vector<uint32_t> starts_, lengths_;
    std::vector<uint8_t> packed_;
};

// What the format registry knows of the class.
extern const TGraphicClass TSGIGraphicClass;

} // namespace vum
