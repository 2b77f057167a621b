// Content recognition must answer for any bytes and leave the stream where it was.
#include <cstdlib>

#include "FuzzCommon.h"
#include "imaging/Registry.h"
#include "imaging/Stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    lowerImageLimits();
    vum::TMemoryStream stream(data, size);
    for (const auto& entry : vum::FileFormatList().Classes()) {
        if (!entry->GraphicClass->CanLoad)
            continue;
        entry->GraphicClass->CanLoad(stream);
        if (stream.Position() != 0)
            std::abort();
    }
    vum::FileFormatList().FindClassByContent(stream);
    return 0;
}
