#include "state/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace numtext {
namespace {

// Parses a whole text as a finite number with "." or "," as the decimal point.
std::optional<double> parseNumber(const QString& text)
{
    std::string s = text.trimmed().toStdString();
    if (s.empty())
        return std::nullopt;
    if (s.find('.') == std::string::npos) {
        if (const auto comma = s.find(','); comma != std::string::npos && s.find(',', comma + 1) == std::string::npos)
            s[comma] = '.';
    }
    const char* first = s.data();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename T>
std::optional<T> toWhole(const QString& text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);  // default rounding: half to even
    if (rounded < double(std::numeric_limits<T>::min()) || rounded > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(rounded);
}

} // namespace

std::optional<int16_t> toInt16(const QString& text) { return toWhole<int16_t>(text); }
std::optional<uint8_t> toByte(const QString& text) { return toWhole<uint8_t>(text); }
std::optional<int32_t> toInt32(const QString& text) { return toWhole<int32_t>(text); }

std::optional<bool> toBool(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto value = parseNumber(t))
        return *value != 0;
    return std::nullopt;
}

std::optional<float> toSingle(const QString& text)
{
    const auto value = parseNumber(text);
    if (!value || std::fabs(*value) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(*value);
}

std::optional<double> toDouble(const QString& text) { return parseNumber(text); }

double leadingNumber(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    size_t n = 0;
    if (n < s.size() && (s[n] == '+' || s[n] == '-'))
        ++n;
    while (n < s.size() && std::isdigit(static_cast<unsigned char>(s[n])))
        ++n;
    if (n < s.size() && s[n] == '.') {
        ++n;
        while (n < s.size() && std::isdigit(static_cast<unsigned char>(s[n])))
            ++n;
    }
    const char* first = s.data();
    if (n > 0 && *first == '+')
        ++first;
    double value = 0;
    const auto [end, ec] = std::from_chars(first, s.data() + n, value);
    return ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

double leadingNumberIn(const QString& text, double lo, double hi)
{
    return std::clamp(leadingNumber(text), lo, hi);
}

QString fromDouble(double value)
{
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? QString::fromLatin1(buf, int(end - buf)) : QStringLiteral("0");
}

QString fromSingle(float value)
{
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? QString::fromLatin1(buf, int(end - buf)) : QStringLiteral("0");
}

} // namespace numtext
