#pragma once

// Truevision Targa files: colour-mapped, true-colour and grey, uncompressed
// and run-length encoded; and the writer of run-length encoded Targa files.
#include <iosfwd>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TTargaGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;
    // Writes the picture run-length encoded, top row first; an empty picture writes nothing.
    void SaveToStream(std::ostream& out) const;
    void SaveToFile(const std::string& fileName) const;

private:
    void readPalette(TStream& stream, const uint8_t* header);
    void placeRows(const uint8_t* pixels, std::size_t rowSize, bool topDown);
};

// What the format registry knows of the class.
extern const TGraphicClass TTargaGraphicClass;

} // namespace vum
