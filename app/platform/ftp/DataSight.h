#pragma once

#include <cstdint>
#include <optional>

// What a put's data connection shows, read at one moment, of how far the
// server has got with the data.
struct DataSight {
    // Bytes handed to the connection that the server has not acknowledged,
    // the end-of-file mark counting one once the connection is shut for
    // sending; none when the system cannot tell.
    std::optional<std::int64_t> queued = 0;
    // The receive window the server last advertised, in bytes; it opens
    // again as the server's program reads what its system acknowledged.
    // 0 when unknown.
    std::int64_t window = 0;
    // The most the two ends can hold between them (this end's send buffer
    // and the server's window); 0 when unknown.
    std::int64_t buffers = 0;
    // The server's end of the connection is closed, in order or reset.
    bool closed = false;
};
