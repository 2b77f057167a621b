// picturememory OUT.pdf MODE [--counted] PICTURE...: one page per picture,
// the pictures compressed by MODE (0 none, 1 zlib, 2 JPEG passed through);
// with --counted the document prints its page count, so it is laid out
// twice. Prints the seconds the document took and the process's peak
// resident memory, the figure that must not grow with the number of pictures.
#include "vumpdf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>

namespace {

std::string message()
{
    char text[256] = {};
    GetErrorMsg(text);
    return text;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const bool counted = argc > 3 && std::strcmp(argv[3], "--counted") == 0;
    const int first = counted ? 4 : 3;
    if (argc <= first) {
        std::fprintf(stderr, "usage: picturememory OUT.pdf MODE [--counted] PICTURE...\n");
        return 2;
    }
    const long before = peakKilobytes();
    const auto start = std::chrono::steady_clock::now();
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, argv[1]);
    SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, std::atoi(argv[2]));
    SetNumProp(h, VUM_WANT_PAGE_COUNT, counted ? 1 : 0);
    if (BeginDoc(h) != 0) {
        std::fprintf(stderr, "picturememory: %s\n", message().c_str());
        return 1;
    }
    for (int i = first; i < argc; ++i) {
        if (i > first && NewPage(h) != 0) {
            std::fprintf(stderr, "picturememory: %s\n", message().c_str());
            return 1;
        }
        // A4 in tenths of a millimetre, less the margins.
        if (StretchDrawFromFile(h, 100, 100, 2000, 2870, argv[i]) != 0) {
            std::fprintf(stderr, "picturememory: %s: %s\n", argv[i], message().c_str());
            return 1;
        }
    }
    if (EndDoc(h) != 0) {
        std::fprintf(stderr, "picturememory: %s\n", message().c_str());
        return 1;
    }
    FreeVum(h);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d pictures: %.2f s, peak memory %ld MB (%ld MB before the document)\n", argc - first, seconds,
                peakKilobytes() / 1024, before / 1024);
    return 0;
}
