#include "QueueUnknown.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>

#include <sys/ioctl.h>
#include <linux/sockios.h>

namespace {

std::atomic<bool> queueUnknown{false};

} // namespace

void setQueueUnknown(bool unknown)
{
    queueUnknown = unknown;
}

extern "C" int __real_ioctl(int fd, unsigned long request, ...);

// Every ioctl of the code linked into the binary comes here first. The one
// argument the requests it makes take is a pointer.
extern "C" int __wrap_ioctl(int fd, unsigned long request, ...)
{
    va_list rest;
    va_start(rest, request);
    void* argument = va_arg(rest, void*);
    va_end(rest);
    if (request == SIOCOUTQ && queueUnknown) {
        errno = ENOTTY;
        return -1;
    }
    return __real_ioctl(fd, request, argument);
}
