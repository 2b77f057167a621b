#include "imaging/readers/MetafileReader.h"

#include "imaging/Support.h"

namespace vum {

void TMetafile::LoadFromStream(TStream&)
{
    ReleaseImage();
    RaiseGraphicError(msg::NoMetafilePlayer);
}

namespace {
constexpr TExtensionDeclaration kMetafileExtensions[] = {{"wmf", ""}, {"emf", "Windows enhanced meta files"}};
} // namespace

const TGraphicClass TMetafileClass{"TMetafile", CreateGraphic<TMetafile>, nullptr,
                                   "Windows metafiles", kMetafileExtensions, ftVector};

} // namespace vum
