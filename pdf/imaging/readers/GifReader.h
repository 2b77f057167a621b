#pragma once

// GIF files (87a and 89a): the first image, into an 8-bit palette bitmap.
#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TGIFGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    // Reads past extension blocks; returns the first "," or ";" found.
    static uint8_t SkipExtensions(TStream& stream);
    static void SkipSubBlocks(TStream& stream);
    void readImage(TStream& stream, TPalette& palette);
};

// What the format registry knows of the class.
extern const TGraphicClass TGIFGraphicClass;

} // namespace vum
