#pragma once

// Autodesk Animator CEL and PIC files: 8-bit pixels with a 256-colour palette
// of 6-bit values.
#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TAutodeskGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;
};

// What the format registry knows of the class.
extern const TGraphicClass TAutodeskGraphicClass;

} // namespace vum
