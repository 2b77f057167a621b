// picturememory OUT.pdf MODE PICTURE...: one page per picture, the pictures
// compressed by MODE (0 none, 1 zlib, 2 JPEG passed through). Prints the
// seconds the document took and the process's peak resident memory, the
// figure that must not grow with the number of pictures.
#include "vumpdf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    if (argc < 4) {
        std::fprintf(stderr, "usage: picturememory OUT.pdf MODE PICTURE...\n");
        return 2;
    }
    const long before = peakKilobytes();
    const auto start = std::chrono::steady_clock::now();
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, argv[1]);
    SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, std::atoi(argv[2]));
    if (BeginDoc(h) != 0) {
        std::fprintf(stderr, "picturememory: %s\n", message().c_str());
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        if (i > 3 && NewPage(h) != 0) {
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
    std::printf("%d pictures: %.2f s, peak memory %ld MB (%ld MB before the document)\n", argc - 3, seconds,
                peakKilobytes() / 1024, before / 1024);
    return 0;
}
