#pragma once

// The merged (composite) picture of a Photoshop file: bitmap, grey, duotone,
// indexed, RGB, CMYK, Lab and multichannel modes at 1, 8 or 16 bits, raw or
// PackBits-compressed. Layers are not composed.
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TPSDGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    void setUpColors(TStream& stream);
    // Raises before anything is allocated when the file cannot hold the planes.
    void checkDataHoldsThePicture(TStream& stream);
    // The first `planes` channels, each height rows of the given bytes.
    std::vector<uint8_t> readPlanes(TStream& stream, uint32_t planes, std::size_t rowBytes);

    uint32_t channels_ = 0;
    uint32_t depth_ = 0;
    uint32_t mode_ = 0;
    uint64_t dataStart_ = 0;   // where the merged picture's data begin
};

// What the format registry knows of the class.
extern const TGraphicClass TPSDGraphicClass;

} // namespace vum
