// Writes a document of PAGES pages, each with a header line, a page counter
// and a column of paragraphs. With --counted the document prints its total
// ("Page n of N"), so the library lays it out twice; without, it prints the
// page number alone in one pass. Prints the seconds the document took.
#include "vumpdf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string message()
{
    char text[256] = {};
    GetErrorMsg(text);
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: pagecount PAGES OUT.pdf [--counted]\n");
        return 2;
    }
    const int pages = std::atoi(argv[1]);
    const std::string out = argv[2];
    const bool counted = argc > 3 && std::strcmp(argv[3], "--counted") == 0;

    const auto start = std::chrono::steady_clock::now();
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, out.c_str());
    SetNumProp(h, VUM_WANT_PAGE_COUNT, counted ? 1 : 0);
    DefineStyle(h, "Body", "FontSize", "10");
    DefineStyle(h, "Body", "TopMargin", "250");
    DefineStyle(h, "Body", "LeftMargin", "200");
    DefineStyle(h, "Body", "RightMargin", "200");
    DefineStyle(h, "Body", "AutoPageFeed", "0");
    if (BeginDoc(h) != 0) {
        std::fprintf(stderr, "pagecount: %s\n", message().c_str());
        return 1;
    }
    const std::string text = "A paragraph of body text that runs over a few lines of the page, so that the "
                             "layout and the text output are the bulk of the work, as in a real report.";
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            NewPage(h);
        SetStrProp(h, VUM_CURRENT_STYLE_NAME, "");
        TextOut(h, 200, 100, "Quarterly report");
        if (counted)
            DrawPageCounter(h, 200, 150, 0, 1, "Page ", 1, " of ", 2, "");
        else
            DrawPageCounter(h, 200, 150, 0, 1, "Page ", 1, "", 0, "");
        SetNumProp(h, VUM_CURRENT_Y, 250);
        for (int i = 0; i < 12; ++i)
            if (WritePara(h, text.c_str(), "Body") != 0) {
                std::fprintf(stderr, "pagecount: %s\n", message().c_str());
                return 1;
            }
    }
    if (EndDoc(h) != 0) {
        std::fprintf(stderr, "pagecount: %s\n", message().c_str());
        return 1;
    }
    FreeVum(h);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f\n", seconds);
    return 0;
}
