// Loads one picture file through the registry, as the library does, several
// times over in this process, and prints the wall and processor time of each
// load and their medians: the cost of a reader's decoding loops on a large
// honest file. Freed memory stays with the process, so that the loads after
// the first time the reader and not the kernel handing out fresh pages (on a
// virtual machine, half of a cold load); the first load is shown apart.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <malloc.h>
#include <vector>

#include "imaging/PictureLoader.h"

namespace {

double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: load_times FILE [RUNS]\n");
        return 2;
    }
    int runs = argc > 2 ? std::max(2, std::atoi(argv[2])) : 7;
    // Large blocks from the heap, never given back: a load reuses the pages of the one before.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_TOP_PAD, 0);
    std::vector<double> wall, processor;
    try {
        vum::TGraphicClassRef graphicClass = vum::FindPictureClass(argv[1]);
        if (!graphicClass) {
            std::printf("no reader\n");
            return 1;
        }
        for (int i = 0; i < runs; ++i) {
            auto start = std::chrono::steady_clock::now();
            double startProcessor = processorSeconds();
            auto picture = vum::LoadPictureFile(argv[1], graphicClass);
            processor.push_back(processorSeconds() - startProcessor);
            wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            if (i == 0)
                std::printf("loaded %ux%u\n", picture->Width(), picture->Height());
        }
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
    std::printf("first load: %.3f s wall, %.3f s processor\nlater loads, wall:", wall[0], processor[0]);
    for (std::size_t i = 1; i < wall.size(); ++i)
        std::printf(" %.3f", wall[i]);
    wall.erase(wall.begin());
    processor.erase(processor.begin());
    std::printf("\nmedian of %d later loads: %.3f s wall, %.3f s processor\n", runs - 1, median(wall),
                median(processor));
    return 0;
}
