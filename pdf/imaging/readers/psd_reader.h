#pragma once

// The merged (composite) picture of a Photoshop file: bitmap, grey, duotone,
// indexed, RGB, CMYK, Lab and multichannel modes at 1, 8 or 16 bits, raw or
// PackBits-compressed. Layers are not composed.
#include <vector>

#include "imaging/graphic.h"

namespace vum {

class TPSDGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    void setUpColors(TStream& stream);
    // The first `planes` channels, each height rows of the given bytes.
    std::vector<uint8_t> readPlanes(TStream& stream, uint32_t planes, std::size_t rowBytes);

    uint32_t channels_ = 0;
    uint32_t depth_ = 0;
    uint32_t mode_ = 0;
};

} // namespace vum
