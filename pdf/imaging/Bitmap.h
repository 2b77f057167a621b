#pragma once

// The library's in-memory picture: a device-independent bitmap with 1, 4, 8,
// 15, 16, 24 or 32 bits per pixel, an optional palette and top-down scan lines
// that start on 4-byte boundaries.
#include <cstdint>
#include <string>
#include <vector>

namespace vum {

class TStream;

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

struct TPaletteEntry {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const TPaletteEntry&) const = default;
};
using TPalette = std::vector<TPaletteEntry>;

// Bits per pixel of a format; the device format is stored as 24 bits.
int BitsOfPixelFormat(TPixelFormat format);

class TBitmap {
public:
    TBitmap() = default;
    virtual ~TBitmap() = default;
    TBitmap(const TBitmap&) = default;
    TBitmap& operator=(const TBitmap&) = default;

    // Replaces the content with a Windows bitmap file read from the stream.
    virtual void LoadFromStream(TStream& stream);
    // Opens the file and loads it with LoadFromStream.
    virtual void LoadFromFile(const std::string& fileName);

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TPixelFormat PixelFormat() const { return format_; }
    // Changing the format or the size clears the pixels to zero.
    void SetPixelFormat(TPixelFormat format);
    // Raises EInvalidGraphic when the size passes the caps.
    void SetSize(uint32_t width, uint32_t height);
    // Drops the pixels; the picture becomes 0 x 0.
    void ReleaseImage();

    const TPalette& Palette() const { return palette_; }
    void SetPalette(TPalette palette) { palette_ = std::move(palette); }

    uint8_t* ScanLine(uint32_t row) { return pixels_.data() + std::size_t(row) * stride_; }
    const uint8_t* ScanLine(uint32_t row) const { return pixels_.data() + std::size_t(row) * stride_; }
    std::size_t Stride() const { return stride_; }

    // The colour of a pixel as 0x00BBGGRR; palette indexes beyond the palette are black.
    uint32_t PixelColor(uint32_t x, uint32_t y) const;
    // One row as red, green, blue bytes (3 x Width bytes).
    void RowToRGB(uint32_t row, uint8_t* out) const;
    // Fills every pixel: direct-colour formats with the colour, palette formats with the index.
    void Fill(uint32_t colorOrIndex);

    bool Transparent = false;
    uint32_t TransparentColor = 0;

private:
    void allocate();

    uint32_t width_ = 0;
    uint32_t height_ = 0;
    TPixelFormat format_ = TPixelFormat::pfDevice;
    std::size_t stride_ = 0;
    std::vector<uint8_t> pixels_;
    TPalette palette_;
};

} // namespace vum
