#pragma once

// SGI images: grey, RGB and RGBA, 8 or 16 bits a sample, verbatim or
// run-length encoded, stored as planes with the bottom row first.
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"
#include "imaging/readers/SharedRows.h"

namespace vum {

class TSGIGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    // Reads row r of channel z into the buffer (x size samples).
    void readRow(TStream& stream, uint32_t row, uint32_t channel, uint8_t* buffer);
    void decodeRow(TStream& stream, const TByteRange& packed, uint8_t* buffer);
    // Reads the row table of a run-length file: where each row of these channels has its packed data.
    void readRowTable(TStream& stream, uint32_t channels);
    // Raises before anything is allocated when the file cannot hold the rows of these channels.
    void checkDataHoldsThePicture(TStream& stream, uint32_t channels) const;

    bool runLength_ = false;
    uint32_t bytesPerSample_ = 1;
    uint32_t channels_ = 1;
    std::vector<TByteRange> rows_;   // row r of channel z at r + z x height
    std::unique_ptr<TSharedRows> shared_;
    std::vector<uint8_t> packed_;
};

// What the format registry knows of the class.
extern const TGraphicClass TSGIGraphicClass;

} // namespace vum
