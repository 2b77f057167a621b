// longtext N: times DrawText of N characters that fit one line, and of N
// characters of words over many lines. The layout must stay linear: twice the
// characters, about twice the time.
#include "vumpdf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

double timeDrawText(const std::string& text, int32_t right)
{
    const std::string file = "/tmp/longtext-" + std::to_string(::getpid()) + ".pdf";
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, file.c_str());
    SetNumProp(h, VUM_WANT_SHOW, 0);
    BeginDoc(h);
    SetStrProp(h, VUM_FONT_NAME, "Arial");
    SetNumProp(h, VUM_FONT_SIZE, 1);
    const auto start = std::chrono::steady_clock::now();
    DrawText(h, 0, 0, right, 1 << 23, 0, 0, text.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Abort(h);
    FreeVum(h);
    ::unlink(file.c_str());
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    const size_t n = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 80000;
    std::string words;
    while (words.size() < n)
        words += "word ";
    for (size_t count : {n / 2, n}) {
        std::printf("%zu characters: one line %.3f s, many lines %.3f s\n", count,
                    timeDrawText(std::string(count, 'i'), 1 << 24), timeDrawText(words.substr(0, count), 2000));
    }
    return 0;
}
