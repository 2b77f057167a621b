#pragma once

// Autodesk Animator CEL and PIC files: 8-bit pixels with a 256-colour palette
// of 6-bit values.
#include "imaging/graphic.h"

namespace vum {

class TAutodeskGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;
};

} // namespace vum
