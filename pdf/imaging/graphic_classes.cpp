// The registry's descriptions of the readers this library builds.
#include "imaging/readers/gif_reader.h"
#include "imaging/readers/ico_reader.h"
#include "imaging/readers/jpeg_reader.h"
#include "imaging/readers/metafile_reader.h"
#include "imaging/readers/png_reader.h"
#include "imaging/registry.h"

namespace vum {

namespace {

template <class T>
std::unique_ptr<TBitmap> create()
{
    return std::make_unique<T>();
}

} // namespace

const TGraphicClass TBitmapClass{"TBitmap", create<TBitmap>, nullptr};
const TGraphicClass TIconClass{"TIcon", create<TIcon>, nullptr};
const TGraphicClass TMetafileClass{"TMetafile", create<TMetafile>, nullptr};
const TGraphicClass TJPEGImageClass{"TJPEGImage", create<TJPEGImage>, nullptr};
const TGraphicClass TGIFGraphicClass{"TGIFGraphic", create<TGIFGraphic>, TGIFGraphic::CanLoad};
const TGraphicClass TPNGGraphicClass{"TPNGGraphic", create<TPNGGraphic>, TPNGGraphic::CanLoad};

} // namespace vum
