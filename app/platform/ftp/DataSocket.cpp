#include "platform/ftp/DataSocket.h"

#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/sockios.h>
#endif

DataSocket::~DataSocket()
{
    closeKept();
}

void DataSocket::opened(int fd)
{
    closeKept();
    fd_ = fd;
}

bool DataSocket::keep(int fd)
{
    if (fd != fd_ || fd < 0)
        return false;
    ::shutdown(fd, SHUT_WR);
    kept_ = true;
    return true;
}

std::int64_t DataSocket::queued() const
{
#if defined(SIOCOUTQ)
    // Sent but not acknowledged, and not yet sent, with the end-of-file mark
    // counting one once the socket is shut.
    int held = 0;
    if (fd_ >= 0 && ::ioctl(fd_, SIOCOUTQ, &held) == 0 && held > 0)
        return held;
#endif
    return 0;
}

void DataSocket::closeKept()
{
    if (kept_) {
        if (abandoned_) {
            const linger reset{1, 0};
            ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        }
        ::close(fd_);
    }
    fd_ = -1;
    kept_ = false;
}
