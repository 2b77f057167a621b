#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>

// A failure that CDIB reports to its caller: 825 when the pixel memory cannot
// be made, -1 when a copy finds no surface to copy into.
class DibError : public std::runtime_error {
public:
    DibError(int code, const QString& description)
        : std::runtime_error(description.toStdString()), code_(code), description_(description) {}
    int code() const { return code_; }
    const QString& description() const { return description_; }

private:
    int code_;
    QString description_;
};

// A 24-bit bitmap whose pixel memory is laid out as a bottom-up device
// independent bitmap: rows bottom-up, bytes blue, green, red, every row padded
// to a multiple of 4 bytes. The colour effects work on this memory in place
// through MapArray, so the layout is part of the contract.
class CDIB {
public:
    // Largest pixel memory we agree to allocate (what a signed 32-bit size could hold).
    static constexpr size_t kMaxBytes = size_t(INT32_MAX);

    CDIB() = default;
    CDIB(const CDIB&) = delete;
    CDIB& operator=(const CDIB&) = delete;

    // Makes a black W x H surface, releasing the old one; DibError 825 when it cannot.
    void Create(int32_t W, int32_t H);
    // Copies a picture in: FitSize makes the surface the picture's size first,
    // otherwise the picture is stretched to the present size. DibError -1 without a surface.
    void Clone(const QImage& pic, bool FitSize);
    // Copies the pixels of another surface, read from its (X, Y), onto this one at 0, 0.
    void CloneHDC(const CDIB& from, int32_t X = 0, int32_t Y = 0);
    // Paints the surface onto a picture at (atX, atY), unscaled.
    void PaintTo(QImage& toImage, int32_t atX, int32_t atY) const;
    // Paints the surface scaled by Ratio percent (sizes rounded half to even).
    void PaintZoom(QImage& toImage, int32_t atX, int32_t atY, int32_t Ratio) const;
    void Cls();

    size_t RGBSize() const { return size_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    size_t Stride() const { return stride_; }
    bool hasPixels() const { return bits_ != nullptr; }

    // Lends the pixel memory as a byte view without copying; returns the row
    // stride. A surface without pixels gives an empty view and 0.
    int32_t MapArray(std::span<uint8_t>& a);
    void UnMapArray(std::span<uint8_t>& a) { a = {}; }

    // The surface as a top-down picture (QImage::Format_RGB888).
    QImage toImage() const;

    // Colour effects (they change the pixels in place).
    void ShiftColors(int32_t addRed, int32_t addGreen, int32_t addBlue);
    void ShiftColorsEx(int32_t addRed, int32_t addGreen, int32_t addBlue, int32_t ExCol);
    void FilterOutColors(bool red, bool green, bool blue);
    void ExchangeRGB(int32_t Oper);
    void FlipHorZ();
    void FlipVert();
    void FastRot();
    void PrintTxt(const QString& theText, int32_t X, int32_t Y);
    void MakeEmboss(int32_t embFactor, bool Extended, bool useGreyscale);
    void Greyscale();
    void Brightness(int32_t value) { ShiftColors(value, value, value); }
    void InvertColors();
    void ScanLines(uint8_t Percent);
    void Monochrome(uint8_t Threshold);
    void FastBlur();
    void Sharpen();
    void Flame();
    void Freeze(bool Strong);
    void Brown();
    void Aqua();
    void NightShade();
    void PurpleStain();
    void Spooky();
    void Psycho();
    void RotatePic();
    void DynamicBlur(uint8_t bFormat, uint8_t Strength);
    void AlphaBlend(const CDIB& dibToBlend, int32_t atX, int32_t atY, int32_t Visibility, int32_t ExCol);

    static uint8_t ClampByte(int32_t v) { return v > 255 ? 255 : v < 0 ? 0 : uint8_t(v); }

    // Byte offset of the pixel at column x, row y counted from the top.
    size_t offsetOf(int32_t x, int32_t y) const
    {
        return size_t(height_ - 1 - y) * stride_ + 3 * size_t(x);
    }

private:
    void release();
    template <typename F> void forEachPixel(F&& f);

    std::unique_ptr<uint8_t[]> bits_;
    size_t size_ = 0;
    size_t stride_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};
