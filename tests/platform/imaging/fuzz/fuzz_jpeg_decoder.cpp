// Feeds arbitrary bytes to the program's JPEG decoder, at every size it
// decodes at: it may refuse or call the picture damaged, never crash, hang or
// leak. The frame is clamped small first (SmallJpeg.h).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include <QString>

#include "SmallJpeg.h"
#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/JpegDecoder.h"

namespace {

// One anonymous file, rewritten for every input: the decoder opens it by path.
int inputFile()
{
    static const int fd = [] {
        const int made = memfd_create("jpeg", 0);
        if (made < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return made;
    }();
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    imaging::setDecoderMemoryLimit(int64_t(64) << 20);
    const std::vector<uint8_t> bytes = smalljpeg::withSmallFrame(data, size);
    const int fd = inputFile();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()))
        std::abort();
    const QString path = QString::fromStdString("/proc/self/fd/" + std::to_string(fd));
    // The last byte picks the reduction, so that every one is reached.
    const int denominator = 1 << (size ? data[size - 1] % 4 : 0);
    const imaging::JpegDecode decoded = imaging::decodeJpegScaled(path, denominator);
    if (!decoded.image.isNull())
        (void)decoded.image.pixel(decoded.image.width() - 1, decoded.image.height() - 1);
    return 0;
}
