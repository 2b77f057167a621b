#pragma once

// Windows bitmap files are read by the bitmap class itself (TBitmap::LoadFromStream).
#include "imaging/GraphicClass.h"

namespace vum {

// What the format registry knows of the class.
extern const TGraphicClass TBitmapClass;

} // namespace vum
