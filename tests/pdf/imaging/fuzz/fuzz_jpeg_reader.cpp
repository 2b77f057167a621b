// Feeds arbitrary bytes to the JPEG reader: it may fail, never crash or hang.
#include <exception>

#include "FuzzCommon.h"
#include "imaging/readers/jpeg_reader.h"
#include "imaging/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lowerImageLimits();
    vum::TMemoryStream stream(data, size);
    vum::TJPEGImage picture;
    try {
        picture.LoadFromStream(stream);
        if (!picture.Empty())
            picture.PixelColor(picture.Width() - 1, picture.Height() - 1);
    } catch (const std::exception&) {
    }
    return 0;
}
