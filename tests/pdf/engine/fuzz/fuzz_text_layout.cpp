// Feeds arbitrary bytes, as UTF-8 text, to the text layout: DrawText in every
// alignment and box, and the paragraph calls. They may refuse, never crash or hang.
#include <string>
#include <unistd.h>

#include "vumpdf.h"

namespace {

int32_t Box(const uint8_t* data, size_t size, size_t i, int32_t scale)
{
    return i < size ? int32_t(data[i]) * scale - 64 * scale : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes choose the box, the alignments, the font and the spacing;
    // the rest is the text.
    const size_t head = 6;
    const std::string text = size > head ? std::string(reinterpret_cast<const char*>(data) + head, size - head) : "";
    static const std::string file = "/tmp/fuzz-text-layout-" + std::to_string(::getpid()) + ".pdf";
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, file.c_str());
    SetNumProp(h, VUM_WANT_SHOW, 0);
    if (BeginDoc(h) == 0) {
        const uint8_t mode = size > 0 ? data[0] : 0;
        SetStrProp(h, VUM_FONT_NAME, mode & 1 ? "黑体" : "Arial");
        SetNumProp(h, VUM_FONT_SIZE, size > 1 ? data[1] % 72 : 12);
        SetNumProp(h, VUM_CHARACTER_SPACING, Box(data, size, 2, 1));
        SetNumProp(h, VUM_FONT_CHARSET, mode & 2 ? 178 : mode & 4 ? 134 : 1);
        const int32_t x = Box(data, size, 3, 20), y = Box(data, size, 4, 20), w = Box(data, size, 5, 30);
        DrawText(h, x, y, x + w, y + 2 * w, (mode >> 3) % 3, (mode >> 5) % 3, text.c_str());
        TextWidth(h, text.c_str());
        TextHeight(h, text.c_str());
        ParaHeight(h, text.c_str());
        WritePara(h, text.c_str(), "");
        BeginPara(h, text.c_str(), "");
        AppendTabPara(h, text.c_str(), "");
        EndPara(h, text.c_str(), "");
        // Writing the fonts out takes the most time: only every other input.
        if (mode & 0x80)
            EndDoc(h);
        else
            Abort(h);
    }
    FreeVum(h);
    ::unlink(file.c_str());
    return 0;
}
