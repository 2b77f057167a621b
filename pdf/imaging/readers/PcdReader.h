#pragma once

// Kodak Photo-CD image packs: the Base picture (768 x 512), PhotoYCC planes
// with half-size chroma, turned as the file says.
#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TPCDGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    // The index is the resolution (0 Base/16 ... 5 64 Base); loading always reads Base.
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;
};

// What the format registry knows of the class.
extern const TGraphicClass TPCDGraphicClass;

} // namespace vum
