// Writes one PDF page per picture, the picture fitted into the page above a
// one-line caption (its file name); JPEG files are passed through. Prints the
// seconds the document took and whether captions were written.
#include "vumpdf.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string message()
{
    char text[256] = {};
    GetErrorMsg(text);
    return text;
}

// Captions need the library's fonts; a document that cannot write a line of
// text is timed with its pictures alone.
bool captionsWork(const std::string& scratch)
{
    int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, scratch.c_str());
    bool ok = BeginDoc(h) == 0 && TextOut(h, 100, 100, "probe") == 0 && EndDoc(h) == 0;
    FreeVum(h);
    std::remove(scratch.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pdfbook OUT.pdf [--no-captions] PICTURE...\n");
        return 2;
    }
    std::string out = argv[1];
    bool wantCaptions = true;
    std::vector<std::string> pictures;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-captions") == 0)
            wantCaptions = false;
        else
            pictures.push_back(argv[i]);
    }
    bool captions = wantCaptions && captionsWork(out + ".probe.pdf");

    auto start = std::chrono::steady_clock::now();
    int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, out.c_str());
    SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, 2);
    if (BeginDoc(h) != 0) {
        std::fprintf(stderr, "pdfbook: %s\n", message().c_str());
        return 1;
    }
    // A4 in tenths of a millimetre: the picture above, the caption below it.
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (i > 0)
            NewPage(h);
        const char* name = pictures[i].c_str();
        if (StretchDrawFromFile(h, 100, 100, 2000, 2600, name) != 0 ||
            (captions && TextOut(h, 100, 2700, name) != 0)) {
            std::fprintf(stderr, "pdfbook: %s\n", message().c_str());
            return 1;
        }
    }
    if (EndDoc(h) != 0) {
        std::fprintf(stderr, "pdfbook: %s\n", message().c_str());
        return 1;
    }
    FreeVum(h);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %s\n", took.count(), captions ? "captions" : "no-captions");
    return 0;
}
