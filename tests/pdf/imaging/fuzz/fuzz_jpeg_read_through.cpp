// Feeds arbitrary bytes to the library's JPEG read-through, which checks a
// file without its end marker before it is embedded undecoded: it reads every
// scan and keeps no picture. It may refuse, never crash or hang.
#include <exception>
#include <vector>

#include "FuzzCommon.h"
#include "SmallJpeg.h"
#include "imaging/readers/JpegReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lowerImageLimits();
    try {
        (void)vum::TJPEGImage::ReadThrough(smalljpeg::withSmallFrame(data, size));
    } catch (const std::exception&) {
    }
    return 0;
}
