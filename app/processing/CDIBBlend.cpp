// The surface operations that the pipeline itself does not call: the square
// turn, the directional blur and blending another surface in.
#include "processing/CDIB.h"

#include <cmath>
#include <cstring>
#include <vector>

void CDIB::RotatePic()
{
    if (!bits_)
        return;
    const std::vector<uint8_t> o(bits_.get(), bits_.get() + size_);
    const long long S = static_cast<long long>(stride_), H = height_, N = static_cast<long long>(size_);
    for (long long y = 0; y < H; ++y)
        for (long long x = 0; x + 3 <= S; x += 3) {
            const long long t = x * H + (S - 3) - 3 * y;
            if (t < 0 || t + 3 > N)
                continue;  // targets outside the surface are skipped
            std::memcpy(bits_.get() + t, o.data() + y * S + x, 3);
        }
}

void CDIB::DynamicBlur(uint8_t bFormat, uint8_t Strength)
{
    if (!bits_ || bFormat == 0 || Strength < 1 || Strength > 100)
        return;
    // Neighbours in memory order: lower row (bottom-up storage) first.
    const long long W = width_;
    const long long offsets[8] = {-W - 1, -W, -W + 1, -1, 1, W - 1, W, W + 1};
    const int bitOf[8] = {5, 6, 7, 3, 4, 0, 1, 2};
    std::vector<long long> used;
    for (int n = 0; n < 8; ++n)
        if (bFormat & (1 << bitOf[n]))
            used.push_back(offsets[n]);
    const int n = int(used.size());
    const float w = float(2.0 * n - 2.0 * n * Strength / 100.0);
    const float norm = 1.0f / (w + float(n));
    const long long count = W * height_;
    const std::vector<uint8_t> o(bits_.get(), bits_.get() + size_);
    auto off = [&](long long p) { return size_t(p / W) * stride_ + 3 * size_t(p % W); };
    for (long long p = W + 1; p + W + 2 <= count; ++p) {
        const size_t k = off(p);
        for (int c = 0; c < 3; ++c) {
            float sum = float(o[k + size_t(c)]) * w;
            for (long long d : used)
                sum += float(o[off(p + d) + size_t(c)]);
            bits_[k + size_t(c)] = ClampByte(int32_t(std::nearbyint(sum * norm)));
        }
    }
}

void CDIB::AlphaBlend(const CDIB& dibToBlend, int32_t atX, int32_t atY, int32_t Visibility, int32_t ExCol)
{
    if (!bits_ || !dibToBlend.bits_ || Visibility < 1 || Visibility > 100 || atX > width_ || atY > height_)
        return;
    // The blended surface's top left pixel goes to column atX, row atY counted
    // from the top; whatever falls outside this surface is cut off.
    for (int32_t y = std::max(0, -atY); y < dibToBlend.height_ && y + atY < height_; ++y)
        for (int32_t x = std::max(0, -atX); x < dibToBlend.width_ && x + atX < width_; ++x) {
            const uint8_t* s = dibToBlend.bits_.get() + dibToBlend.offsetOf(x, y);
            if (s[2] + 256 * s[1] + 65536 * s[0] == ExCol)
                continue;
            uint8_t* d = bits_.get() + offsetOf(x + atX, y + atY);
            for (int c = 0; c < 3; ++c)
                d[c] = uint8_t((s[c] * Visibility + d[c] * (100 - Visibility)) / 100);
        }
}
