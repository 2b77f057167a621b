#pragma once

// ZSoft Paintbrush files (and Word 5.x screen captures): 1, 2, 4 and 8 bits in
// one plane, 16 colours in four planes and 24-bit colour in three planes.
#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TPCXGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    void setUpPalette(TStream& stream, const uint8_t* header);
    void convertRows(const uint8_t* data, std::size_t planeBytes, uint32_t planes, uint32_t bits);
};

// The standard 16 colours of EGA and VGA adapters (their power-on palette).
const TPalette& StandardSixteenColors();

// What the format registry knows of the class.
extern const TGraphicClass TPCXGraphicClass;

} // namespace vum
