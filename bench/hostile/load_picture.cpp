// Loads one picture file through the registry, as the library does, and prints
// its size or the reader's error. With --place MODE it places the file on a
// page of a document with that picture mode instead (0 none, 1 zlib, 2 JPEG,
// in which JPEG files pass through undecoded), as a caller of the library
// does. Time and memory are measured around it.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "imaging/PictureLoader.h"
#include "vumpdf.h"

namespace {

int load(const char* file)
{
    try {
        vum::TGraphicClassRef graphicClass = vum::FindPictureClass(file);
        if (!graphicClass) {
            std::printf("no reader\n");
            return 1;
        }
        auto picture = vum::LoadPictureFile(file, graphicClass);
        std::printf("loaded %ux%u\n", picture->Width(), picture->Height());
        return 0;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}

int place(int mode, const char* file)
{
    const std::string out =
        (std::filesystem::temp_directory_path() / ("load_picture-" + std::to_string(getpid()) + ".pdf")).string();
    const int32_t h = CreateVum(0, 0);
    SetStrProp(h, VUM_FILE_NAME, out.c_str());
    SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, mode);
    int status = 1;
    if (BeginDoc(h) == 0 && StretchDrawFromFile(h, 0, 0, 1000, 1000, file) == 0 && EndDoc(h) == 0) {
        std::printf("placed\n");
        status = 0;
    } else {
        char message[1024] = {};
        GetErrorMsg(message);
        std::printf("error: %s\n", message);
    }
    FreeVum(h);
    std::filesystem::remove(out);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2)
        return load(argv[1]);
    if (argc == 4 && std::string(argv[1]) == "--place")
        return place(std::atoi(argv[2]), argv[3]);
    std::fprintf(stderr, "usage: load_picture [--place MODE] FILE\n");
    return 2;
}
