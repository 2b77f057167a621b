#pragma once

// Windows metafiles (WMF, EMF): there is no metafile player on this system,
// so loading one always fails with a clear error.
#include "imaging/GraphicClass.h"
#include "imaging/Bitmap.h"

namespace vum {

class TMetafile : public TBitmap {
public:
    void LoadFromStream(TStream& stream) override;
};

// What the format registry knows of the class.
extern const TGraphicClass TMetafileClass;

} // namespace vum
