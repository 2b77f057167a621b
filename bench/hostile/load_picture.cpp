// Loads one picture file through the registry, as the library does, and prints
// its size or the reader's error. Time and memory are measured around it.
#include <cstdio>
#include <exception>
#include <string>

#include "imaging/PictureLoader.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_picture FILE\n");
        return 2;
    }
    try {
        vum::TGraphicClassRef graphicClass = vum::FindPictureClass(argv[1]);
        if (!graphicClass) {
            std::printf("no reader\n");
            return 1;
        }
        auto picture = vum::LoadPictureFile(argv[1], graphicClass);
        std::printf("loaded %ux%u\n", picture->Width(), picture->Height());
        return 0;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
