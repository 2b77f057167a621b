#pragma once

#include <QString>
#include <optional>

// The ranges the options dialog's labels promise. A number typed outside its
// range is pulled to the nearest bound, so the encoder never gets a quality
// it cannot use and the slide show never fires without a pause; a text that
// is no number at all leaves the old value.
namespace options {

inline constexpr int kMinQuality = 1, kMaxQuality = 100;
inline constexpr int kMinSlideSeconds = 1, kMaxSlideSeconds = 30;

// The whole number a typed text stands for (fractions rounded half to even),
// held inside lo..hi; nothing when the text is not a number.
std::optional<int> boundedNumber(const QString& text, int lo, int hi);

} // namespace options
