#pragma once

// Wavefront (Alias) RLA files: 8-bit RGB with an optional matte channel,
// each channel of a row run-length encoded on its own.
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TRLAGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    // Raises before anything is allocated when the rows' packed data, counted
    // once where rows share it, cannot make the picture.
    void checkRowsHoldThePicture(TStream& stream, const std::vector<uint8_t>& table, uint8_t planes) const;

    std::string channelFormat_;
    uint32_t mattes_ = 0;
};

// What the format registry knows of the class.
extern const TGraphicClass TRLAGraphicClass;

} // namespace vum
