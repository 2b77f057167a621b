// Feeds arbitrary bytes to the TIFF reader, first and second image: it may fail,
// never crash or hang.
#include <exception>

#include "FuzzCommon.h"
#include "imaging/readers/tiff_reader.h"
#include "imaging/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lowerImageLimits();
    vum::TMemoryStream stream(data, size);
    for (uint32_t index = 0; index < 2; ++index) {
        vum::TTIFFGraphic picture;
        stream.Seek(0);
        try {
            picture.LoadImage(stream, index);
            if (!picture.Empty())
                picture.PixelColor(picture.Width() - 1, picture.Height() - 1);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
