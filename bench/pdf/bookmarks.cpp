// bookmarks N: times N bookmarks each one level deeper than the one before
// (the deepest outline a caller can make) and N at one level, with EndDoc
// writing them. Before each level kept its newest entry, the nested case
// walked from the root for every entry: 100,000 took 38 s.
#include "vumpdf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

struct Times {
    double insert = 0;
    double end = 0;
};

Times timeBookmarks(int32_t count, bool nested)
{
    const std::string file = "/tmp/bookmarks-" + std::to_string(::getpid()) + ".pdf";
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, file.c_str());
    SetNumProp(h, VUM_WANT_SHOW, 0);
    BeginDoc(h);
    Times t;
    auto start = std::chrono::steady_clock::now();
    for (int32_t i = 1; i <= count; ++i)
        if (SetBookmark(h, 0, 0, "entry", nested ? i : 1, 1) != 0) {
            std::fprintf(stderr, "SetBookmark %d failed\n", i);
            std::exit(1);
        }
    auto now = std::chrono::steady_clock::now();
    t.insert = std::chrono::duration<double>(now - start).count();
    start = now;
    if (EndDoc(h) != 0) {
        std::fprintf(stderr, "EndDoc failed\n");
        std::exit(1);
    }
    t.end = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    FreeVum(h);
    ::unlink(file.c_str());
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    const auto n = static_cast<int32_t>(argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000);
    for (const bool nested : {true, false}) {
        const Times t = timeBookmarks(n, nested);
        std::printf("%d bookmarks %s: inserted in %.3f s, written by EndDoc in %.3f s\n", n,
                    nested ? "each one level deeper" : "at one level", t.insert, t.end);
    }
    return 0;
}
