#pragma once

// One anonymous file for the fuzz targets of readers that open a picture by
// path: rewritten with every input, named by its /proc/self/fd path.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include <QString>

namespace fuzzinput {

// The path of the file, which now holds `bytes`.
inline QString fileHolding(const std::vector<uint8_t>& bytes)
{
    static const int fd = [] {
        const int made = memfd_create("picture", 0);
        if (made < 0) {
            std::perror("memfd_create");
            std::abort();
        }
        return made;
    }();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size()))
        std::abort();
    return QString::fromStdString("/proc/self/fd/" + std::to_string(fd));
}

} // namespace fuzzinput
