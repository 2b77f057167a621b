#pragma once

#include <cstdint>
#include <string>
#include <vector>

// JPEG files that cjpeg writes, and the byte edits that make the files a
// reader has to judge by where their data end: the end marker gone, segments
// after the scans, fill bytes before markers, a frame that claims another size.
namespace jpegsegments {

// A 200 x 150 picture of smooth gradients and waves, as a PPM file at `path`.
std::string photo(const std::string& path);

// A flat 16 x 16 grey picture, as a PGM file at `path`.
std::string flatGrey(const std::string& path);

// What cjpeg writes for `source` with `options`; the test fails when it cannot.
std::string cjpeg(const std::vector<std::string>& options, const std::string& source);

// A marker segment: FF, `marker`, the length field and `payload`.
std::string segment(uint8_t marker, const std::string& payload);

// The file without the end-of-image marker it ends with.
std::string withoutEnd(const std::string& jpeg);

// The file with `count` fill bytes (FF) before every table, scan header and
// end marker after its first scan, as the standard allows.
std::string withFillBeforeMarkers(const std::string& jpeg, int count);

// The file with its frame header claiming width x height.
std::string declaring(std::string jpeg, uint16_t width, uint16_t height);

} // namespace jpegsegments
