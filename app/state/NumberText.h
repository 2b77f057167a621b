#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Conversions of stored and typed texts into numbers. Each gives nothing when
// the text is not a number of the wanted kind or does not fit its range, so a
// caller can leave its field as it was. Surrounding blanks are ignored; whole
// numbers are also accepted with a fraction, rounded half to even.
namespace numtext {

std::optional<int16_t> toInt16(const QString& text);
std::optional<uint8_t> toByte(const QString& text);
std::optional<int32_t> toInt32(const QString& text);
// "True"/"False" in any letter case, or a number (0 false, anything else true).
std::optional<bool> toBool(const QString& text);
// Accepts "." or a decimal comma.
std::optional<float> toSingle(const QString& text);
std::optional<double> toDouble(const QString& text);

// The number at the start of a text (blanks skipped), 0 when it starts with none.
double leadingNumber(const QString& text);
// The same held within [lo, hi], so that a stored or typed text far out of
// range never overflows the type its number is put into.
double leadingNumberIn(const QString& text, double lo, double hi);

// Decimal text that reads back everywhere: "." as the decimal point, no grouping.
QString fromDouble(double value);
// The shortest text that reads back as the same single-precision value.
QString fromSingle(float value);
inline QString fromBool(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

} // namespace numtext
