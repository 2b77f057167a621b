// Feeds arbitrary bytes to the program's JPEG decoder, at every size it
// decodes at: it may refuse or call the picture damaged, never crash, hang or
// leak. The frame is clamped small first (SmallJpeg.h).
#include "InputFile.h"
#include "SmallJpeg.h"
#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    imaging::setDecoderMemoryLimit(int64_t(64) << 20);
    const QString path = fuzzinput::fileHolding(smalljpeg::withSmallFrame(data, size));
    // The last byte picks the reduction, so that every one is reached.
    const int denominator = 1 << (size ? data[size - 1] % 4 : 0);
    const imaging::JpegDecode decoded = imaging::decodeJpegScaled(path, denominator);
    if (!decoded.image.isNull())
        (void)decoded.image.pixel(decoded.image.width() - 1, decoded.image.height() - 1);
    return 0;
}
