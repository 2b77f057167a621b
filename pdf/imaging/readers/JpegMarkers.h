#pragma once

// Where the data of a JPEG file end: whether its last scan is followed by an
// end-of-image marker. Found by walking the markers as a decoder meets them,
// never by searching the bytes: a comment, an APP segment or an embedded
// thumbnail may hold the bytes FF D9 without ending anything.
#include <cstddef>
#include <cstdint>

namespace vum {

struct TJpegEnd {
    // An end-of-image marker comes after the scans.
    bool closed = false;
    // Closed: just past that marker (bytes after it are not the picture's).
    // Open: where an end-of-image marker would close the data, that is the
    // end of the file, or the start of a segment the file ends inside.
    std::size_t dataEnd = 0;
};

// Walks from scanStart, where the first scan's entropy-coded data begin.
// In entropy-coded data FF 00 is a stuffed byte, FF D0-D7 a restart marker
// and FF FF fill before a marker; any other FF xx is a marker. Segments after
// a scan (tables, comments, APP segments, the header of a further scan) are
// skipped by their length fields, and a further scan's data walked in turn.
TJpegEnd FindJpegEnd(const uint8_t* data, std::size_t size, std::size_t scanStart);

} // namespace vum
