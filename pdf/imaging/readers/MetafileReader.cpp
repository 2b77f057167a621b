#include "imaging/readers/MetafileReader.h"

#include "imaging/Support.h"

namespace vum {

void TMetafile::LoadFromStream(TStream&)
{
    ReleaseImage();
    RaiseGraphicError(msg::NoMetafilePlayer);
}

} // namespace vum
