#include "JpegDecodings.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include <dlfcn.h>
#include <jpeglib.h>

namespace {

std::atomic<int> started{0};

} // namespace

int jpegDecodingsStarted()
{
    return started.load();
}

extern "C" boolean jpeg_start_decompress(j_decompress_ptr cinfo)
{
    using Start = boolean (*)(j_decompress_ptr);
    static const Start libjpegs = reinterpret_cast<Start>(dlsym(RTLD_NEXT, "jpeg_start_decompress"));
    if (!libjpegs)
        std::abort();
    ++started;
    return libjpegs(cinfo);
}
