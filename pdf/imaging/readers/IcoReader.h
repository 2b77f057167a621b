#pragma once

// Windows icon files: the largest image of the file, as a 24-bit bitmap whose
// transparent pixels are white (the colour of the page it is placed on).
#include "imaging/GraphicClass.h"
#include "imaging/Bitmap.h"

namespace vum {

class TIcon : public TBitmap {
public:
    void LoadFromStream(TStream& stream) override;

private:
    void loadDib(TStream& stream);
    void loadPng(TStream& stream);
};

// What the format registry knows of the class.
extern const TGraphicClass TIconClass;

} // namespace vum
