#include "platform/ftp/DataSocket.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/sockios.h>
#include <linux/tcp.h>
#endif

namespace {

// Once every byte is acknowledged, nothing passes on the connection until
// the server closes its end; its window, which shows its program reading,
// would go unseen. Keep-alive probes, one a second while the connection is
// quiet, bring its answer with the window of the moment.
void probeWhenQuiet(int fd)
{
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
#if defined(TCP_KEEPIDLE) && defined(TCP_KEEPINTVL) && defined(TCP_KEEPCNT)
    const int second = 1;
    // A server whose system stops answering altogether is dropped after
    // two minutes of silence, like one that never answers the data.
    const int probes = 120;
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &second, sizeof second);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &second, sizeof second);
    ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &probes, sizeof probes);
#endif
}

// The server's last advertised window, 0 when the system does not tell.
std::int64_t windowOf(int fd)
{
#if defined(__linux__)
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) == 0 &&
        length >= offsetof(tcp_info, tcpi_snd_wnd) + sizeof info.tcpi_snd_wnd)
        return info.tcpi_snd_wnd;
#endif
    (void)fd;
    return 0;
}

std::int64_t sendBufferOf(int fd)
{
    int bytes = 0;
    socklen_t length = sizeof bytes;
    return ::getsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bytes, &length) == 0 ? bytes : 0;
}

} // namespace

DataSocket::~DataSocket()
{
    closeKept();
}

void DataSocket::opened(int fd)
{
    closeKept();
    fd_ = fd;
    reset_ = false;
    probeWhenQuiet(fd);
}

bool DataSocket::keep(int fd)
{
    if (fd != fd_ || fd < 0)
        return false;
    kept_ = true;
    if (abandoned_)
        closeKept();
    else
        ::shutdown(fd, SHUT_WR);
    return true;
}

void DataSocket::abandon()
{
    abandoned_ = true;
    if (fd_ < 0)
        return;
    // Closed by whoever closes it, it resets the connection.
    const linger reset{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    closeKept();
}

std::optional<std::int64_t> DataSocket::queued() const
{
#if defined(SIOCOUTQ)
    // Sent but not acknowledged, and not yet sent, with the end-of-file mark
    // counting one once the socket is shut.
    int held = 0;
    if (fd_ >= 0 && ::ioctl(fd_, SIOCOUTQ, &held) == 0)
        return std::max(held, 0);
#endif
    return std::nullopt;
}

DataSight DataSocket::sight()
{
    DataSight seen;
    if (fd_ < 0)
        return seen;  // no data yet: nothing handed, nothing queued
    seen.queued = queued();
    seen.window = windowOf(fd_);
    const std::int64_t sendBuffer = sendBufferOf(fd_);
    seen.buffers = sendBuffer > 0 && seen.window > 0 ? sendBuffer + seen.window : 0;
    // While libcurl still sends, an error is left for it to meet.
    seen.closed = kept_ && serverEnd() != End::Open;
    return seen;
}

DataSocket::End DataSocket::serverEnd()
{
    if (fd_ < 0)
        return End::Open;
    // A reset is reported once, by whichever call comes first: note it.
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error != 0)
        reset_ = true;
    if (reset_)
        return End::Reset;
    char byte;
    const ssize_t got = ::recv(fd_, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got == 0)
        return End::ClosedInOrder;
    if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        reset_ = true;
        return End::Reset;
    }
    return End::Open;
}

void DataSocket::awaitServerEnd(int ms)
{
    if (fd_ < 0 || serverEnd() != End::Open)
        return;
    pollfd p{fd_, POLLIN | POLLRDHUP, 0};
    ::poll(&p, 1, ms);
}

void DataSocket::closeKept()
{
    if (!kept_)
        return;
    if (abandoned_) {
        const linger reset{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    }
    ::close(fd_);
    fd_ = -1;
    kept_ = false;
}
