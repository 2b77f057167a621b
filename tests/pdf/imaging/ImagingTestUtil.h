#pragma once

// Pictures as plain RGB rasters, so that what our readers decode can be
// compared pixel for pixel with what outside tools decode.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vum {
class TBitmap;
}

struct Raster {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;   // 3 bytes a pixel, rows top first
};

// Parses PBM (P4), PGM (P5), PPM (P6) and PAM (P7) output; samples are
// scaled to 0..255 (v * 255 / maxval, rounded down); alpha is dropped.
Raster parsePnm(const std::string& bytes);
Raster rasterOf(const vum::TBitmap& bitmap);
// Runs a decoding tool and parses what it prints; fails the test when it fails.
Raster decodeWithTool(const std::vector<std::string>& args);
// "" when no sample differs by more than the tolerance, else where they first do.
std::string rasterDifference(const Raster& ours, const Raster& theirs, int tolerance = 0);

using PixelFn = std::function<uint32_t(uint32_t x, uint32_t y)>;   // 0xRRGGBB or a grey level
// A binary PPM or PGM picture; maxval above 255 writes 16-bit samples.
std::string makePpm(uint32_t width, uint32_t height, uint32_t maxval, const PixelFn& pixel);
std::string makePgm(uint32_t width, uint32_t height, uint32_t maxval, const PixelFn& level);
// A raw PBM picture; pixel returns 1 for black.
std::string makePbm(uint32_t width, uint32_t height, const PixelFn& black);
// A pattern of exactly n distinct colours.
uint32_t patternColor(uint32_t x, uint32_t y, uint32_t n);

// Loads a file with the reader class the registry picks.
std::unique_ptr<vum::TBitmap> loadWithRegistry(const std::string& file);
// "" when the JPEG reader takes the bytes (their picture in `picture`), else its message.
std::string loadJpegBytes(const std::string& bytes, Raster* picture = nullptr);
