// The registry's descriptions of the readers this library builds.
#include "imaging/readers/AutodeskReader.h"
#include "imaging/readers/CutReader.h"
#include "imaging/readers/GifReader.h"
#include "imaging/readers/IcoReader.h"
#include "imaging/readers/JpegReader.h"
#include "imaging/readers/MetafileReader.h"
#include "imaging/readers/PcdReader.h"
#include "imaging/readers/PcxReader.h"
#include "imaging/readers/PngReader.h"
#include "imaging/readers/PpmReader.h"
#include "imaging/readers/PsdReader.h"
#include "imaging/readers/PspReader.h"
#include "imaging/readers/RlaReader.h"
#include "imaging/readers/SgiReader.h"
#include "imaging/readers/TargaReader.h"
#include "imaging/readers/TiffReader.h"
#include "imaging/Registry.h"

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
