// The registry's descriptions of the readers this library builds.
#include "imaging/readers/autodesk_reader.h"
#include "imaging/readers/cut_reader.h"
#include "imaging/readers/gif_reader.h"
#include "imaging/readers/ico_reader.h"
#include "imaging/readers/jpeg_reader.h"
#include "imaging/readers/metafile_reader.h"
#include "imaging/readers/pcd_reader.h"
#include "imaging/readers/pcx_reader.h"
#include "imaging/readers/png_reader.h"
#include "imaging/readers/ppm_reader.h"
#include "imaging/readers/psd_reader.h"
#include "imaging/readers/psp_reader.h"
#include "imaging/readers/rla_reader.h"
#include "imaging/readers/sgi_reader.h"
#include "imaging/readers/targa_reader.h"
#include "imaging/readers/tiff_reader.h"
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
const TGraphicClass TTargaGraphicClass{"TTargaGraphic", create<TTargaGraphic>, TTargaGraphic::CanLoad};
const TGraphicClass TPCXGraphicClass{"TPCXGraphic", create<TPCXGraphic>, TPCXGraphic::CanLoad};
const TGraphicClass TSGIGraphicClass{"TSGIGraphic", create<TSGIGraphic>, TSGIGraphic::CanLoad};
const TGraphicClass TPPMGraphicClass{"TPPMGraphic", create<TPPMGraphic>, TPPMGraphic::CanLoad};
const TGraphicClass TPSDGraphicClass{"TPSDGraphic", create<TPSDGraphic>, TPSDGraphic::CanLoad};
const TGraphicClass TAutodeskGraphicClass{"TAutodeskGraphic", create<TAutodeskGraphic>,
                                          TAutodeskGraphic::CanLoad};
const TGraphicClass TCUTGraphicClass{"TCUTGraphic", create<TCUTGraphic>, TCUTGraphic::CanLoad};
const TGraphicClass TRLAGraphicClass{"TRLAGraphic", create<TRLAGraphic>, TRLAGraphic::CanLoad};
const TGraphicClass TPCDGraphicClass{"TPCDGraphic", create<TPCDGraphic>, TPCDGraphic::CanLoad};
const TGraphicClass TPSPGraphicClass{"TPSPGraphic", create<TPSPGraphic>, TPSPGraphic::CanLoad};
const TGraphicClass TTIFFGraphicClass{"TTIFFGraphic", create<TTIFFGraphic>, TTIFFGraphic::CanLoad};
const TGraphicClass TEPSGraphicClass{"TEPSGraphic", create<TEPSGraphic>, TEPSGraphic::CanLoad};
const TGraphicClass TPNGGraphicClass{"TPNGGraphic", create<TPNGGraphic>, TPNGGraphic::CanLoad};

} // namespace vum
