// Feeds arbitrary bytes to the readers of the rarer formats (EPS previews, RLA,
// Autodesk, CUT, Photo-CD, Paint Shop Pro): they may fail, never crash or hang.
#include <exception>

#include "FuzzCommon.h"
#include "imaging/readers/autodesk_reader.h"
#include "imaging/readers/cut_reader.h"
#include "imaging/readers/pcd_reader.h"
#include "imaging/readers/psp_reader.h"
#include "imaging/readers/rla_reader.h"
#include "imaging/readers/tiff_reader.h"
#include "imaging/stream.h"

namespace {

template <class T>
void load(const uint8_t* data, size_t size)
{
    vum::TMemoryStream stream(data, size);
    T picture;
    try {
        picture.LoadFromStream(stream);
        if (!picture.Empty())
            picture.PixelColor(picture.Width() - 1, picture.Height() - 1);
    } catch (const std::exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lowerImageLimits();
    load<vum::TEPSGraphic>(data, size);
    load<vum::TRLAGraphic>(data, size);
    load<vum::TAutodeskGraphic>(data, size);
    load<vum::TCUTGraphic>(data, size);
    load<vum::TPCDGraphic>(data, size);
    load<vum::TPSPGraphic>(data, size);
    return 0;
}
