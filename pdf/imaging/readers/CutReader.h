#pragma once

// Dr. Halo CUT files: 8-bit run-length rows, with the palette in a ".pal"
// file of the same name beside them (grey levels without one).
#include <string>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TCUTGraphic : public TVumGraphic {
public:
    // CUT files have no signature: they are found by their extension.
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromFile(const std::string& fileName) override;
    void LoadFromStream(TStream& stream) override;

    // The palette file a CUT file of that name uses.
    static std::string PaletteFileName(const std::string& fileName);

private:
    TPalette readPaletteFile() const;

    std::string paletteFile_;
};

// What the format registry knows of the class.
extern const TGraphicClass TCUTGraphicClass;

} // namespace vum
