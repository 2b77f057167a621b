#include "imaging/readers/BmpRleCodes.h"

#include "imaging/Support.h"

namespace vum {

void RaiseBmpRleCodesCut()
{
    RaiseGraphicError(msg::InvalidBitmap);
}

} // namespace vum
