#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// JPEG files that cjpeg writes, and the byte edits that make the files a
// reader has to judge by where their data end: the end marker gone, segments
// after the scans, fill bytes before markers, a frame that claims another
// size, a scan taken out as a damaged copy or a lost packet leaves a file.
// Segments and scans are found by walking the markers as both products do
// (jpeg/JpegMarkers.h), never by searching the bytes: an EXIF thumbnail or a
// comment may hold the bytes of any marker.
class TempDir;

namespace jpegsegments {

// A 200 x 150 picture of smooth gradients and waves, as a PPM file at `path`.
std::string photo(const std::string& path);

// A flat 16 x 16 grey picture, as a PGM file at `path`.
std::string flatGrey(const std::string& path);

// What cjpeg writes for `source` with `options`; the test fails when it cannot.
std::string cjpeg(const std::vector<std::string>& options, const std::string& source);

// A marker segment: FF, `marker`, the length field and `payload`.
std::string segment(uint8_t marker, const std::string& payload);

// A flat grey picture, arithmetic-coded and progressive by cjpeg (its flat
// blocks coded in nothing), claiming width x height in 200 bytes: a valid
// file, with its end marker. `dir` holds the source.
std::string flatClaiming(const TempDir& dir, uint16_t width, uint16_t height);

// The file without the end-of-image marker it ends with.
std::string withoutEnd(const std::string& jpeg);

// The file with `count` fill bytes (FF) before every table, scan header and
// end marker after its first scan, as the standard allows.
std::string withFillBeforeMarkers(const std::string& jpeg, int count);

// The file with its frame header claiming width x height.
std::string declaring(std::string jpeg, uint16_t width, uint16_t height);

struct NamedJpeg {
    std::string name;
    std::string bytes;
};

// Arithmetic-coded files made by cjpeg that lack their end marker, however
// their data end: the bare end of the last scan, a comment or an APP segment
// after it (a comment holding the bytes FF D9), a cut inside a scan, and small
// flat ones claiming 22000 x 22000 and 65500 x 65500. The shared rule calls
// each cut from its header and where its data end; `dir` holds the sources.
std::vector<NamedJpeg> arithmeticWithoutEnd(const TempDir& dir);

// The offsets of every start-of-scan marker.
std::vector<std::size_t> scanHeaders(const std::string& jpeg);

// The offsets of the markers after the first scan's data (tables, further
// scans' headers, comments), the end-of-image marker left out.
std::vector<std::size_t> markersAfterFirstScan(const std::string& jpeg);

// Where the entropy-coded data after the scan header at `header` end: at the
// next marker that is neither a stuffed byte nor a restart.
std::size_t scanEnd(const std::string& jpeg, std::size_t header);

// The file without scan `scan` (its header and data); tables and the other
// scans stay.
std::string withoutScan(const std::string& jpeg, std::size_t scan);

} // namespace jpegsegments
