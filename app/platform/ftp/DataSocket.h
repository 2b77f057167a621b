#pragma once

#include <cstdint>
#include <optional>

#include "platform/ftp/DataSight.h"

// The socket of a put's data connection. libcurl closes it as soon as it has
// handed over the last byte, while the connection may still hold megabytes
// the server has yet to take; so the socket is kept: shut for sending, which
// tells the server the file ended just as a close does, it still tells how
// much it holds until the put is over, and how the server's end closed.
class DataSocket {
public:
    // How the server's end of the connection stands.
    enum class End { Open, ClosedInOrder, Reset };

    DataSocket() = default;
    DataSocket(const DataSocket&) = delete;
    DataSocket& operator=(const DataSocket&) = delete;
    ~DataSocket();

    // libcurl made `fd` for a data connection; an earlier one it no longer needs goes.
    void opened(int fd);
    // libcurl is done with `fd`: false when it is not the data connection's,
    // which the caller then closes.
    bool keep(int fd);
    // What the connection shows now. Before a data connection is known,
    // nothing is queued and nothing else is known.
    DataSight sight();
    // Bytes handed to the connection that the server has not yet acknowledged;
    // none when no data connection is known or the system cannot tell.
    std::optional<std::int64_t> queued() const;
    // How the server's end stands; Open while no data connection is known.
    End serverEnd();
    // Waits up to `ms` milliseconds for the server's end to close.
    void awaitServerEnd(int ms);
    // The put failed or was given up: the connection is reset, now if it is
    // kept, else as soon as libcurl lets it go, instead of being left to the
    // system to deliver its rest to a server that may never take it. A
    // server still taking that rest would answer nothing else meanwhile.
    void abandon();

private:
    void closeKept();

    int fd_ = -1;        // the latest data connection
    bool kept_ = false;  // libcurl closed it; it is ours to close
    bool abandoned_ = false;
    bool reset_ = false;  // the server reset it (an error the system reports once)
};
