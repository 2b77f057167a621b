#include "imaging/readers/metafile_reader.h"

#include "imaging/support.h"

namespace vum {

void TMetafile::LoadFromStream(TStream&)
{
    ReleaseImage();
    RaiseGraphicError(msg::NoMetafilePlayer);
}

} // namespace vum
