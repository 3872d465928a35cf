#pragma once
// The number rules every part of the program shares: integer conversion with
// halves to even, truncating division, and the number texts of the settings files.

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace rt {

inline int16_t saturateToInt16(int64_t v)
{
    if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(v);
}

inline int32_t saturateToInt32(int64_t v)
{
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// Nearest integer, halves to even (std::nearbyint in the default rounding mode),
// saturating where the value does not fit. NaN becomes 0.
inline int64_t roundHalfEven(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 9.2e18) return std::numeric_limits<int64_t>::max();
    if (v <= -9.2e18) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::nearbyint(v));
}

inline int16_t CInt(double v) { return saturateToInt16(roundHalfEven(v)); }
inline int32_t CLng(double v) { return saturateToInt32(roundHalfEven(v)); }

// Int: rounds down.
inline double Int(double v) { return std::floor(v); }

// The truncating integer division "\" (toward zero). Division by zero gives 0
// rather than a trap; callers that care check the divisor first.
inline int64_t IDiv(int64_t a, int64_t b)
{
    if (b == 0) return 0;
    if (a == std::numeric_limits<int64_t>::min() && b == -1) return std::numeric_limits<int64_t>::max();
    return a / b;
}

// Colour value red + 256 * green + 65536 * blue; components clamp to 0..255.
inline uint32_t RGB(int r, int g, int b)
{
    auto c = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    return c(r) | (c(g) << 8) | (c(b) << 16);
}

// |v| as decimal digits rounded to `significant` digits, the same under every
// locale: digits "d1d2...dn" without trailing zeros and the exponent e of d1
// (value = d1.d2...dn x 10^e). Zero gives the digits "0" and exponent 0.
struct Decimal {
    std::string digits;
    int exponent = 0;
};
Decimal toDecimal(double v, int significant);

// Number text with a blank before non-negative values and "-" before negative
// ones, no zero before the decimal point and no trailing zeros: " 10000", "-3",
// " .5", "-.25". Doubles are rounded to 15 significant digits, singles to 7 (so
// a single 0.1 is " .1"); from 10^15 (singles: 10^7) up and below 10^-4 the
// text has an exponent (" 1E+15"). Integers of any type print as doubles.
QString Str(double v);
QString Str(float v);
template <typename T>
    requires std::is_integral_v<T>
QString Str(T v)
{
    return Str(static_cast<double>(v));
}

// The leading number of a text; 0 when there is none. Blanks, tabs and line
// feeds are skipped wherever they stand ("1 2" is 12); then an optional sign,
// digits with "." as decimal point and an exponent (E, e, D or d); reading
// stops at the first other character ("12abc" is 12). "&H" and "&O" start hex
// and octal numbers, which count as 16-bit or 32-bit values ("&HFFFF" is -1).
double Val(const QString& s);

// Format patterns: "#" digit or nothing, "0" digit or zero, "." decimal point
// (always shown when the pattern has one), "%" multiplies by 100 and shows
// itself; \c and "text" are literal, any other character is literal too.
// The leftmost integer placeholder takes all digits that do not fit. Values
// round half away from zero to the pattern's decimals. An empty pattern gives
// the plain number text. Thousand separators and exponents are not supported.
// Examples: Format(0, "##") = "", Format(30, "#####.###") = "30.",
// Format(1.5, "###.##%") = "150.%", Format(1234.5678, "#####.## TU") = "1234.57 TU".
// Singles are taken at their 7 significant digits first, so a single 2.675
// rounds like the number it shows.
QString Format(double v, const QString& pattern);
QString Format(float v, const QString& pattern);
template <typename T>
    requires std::is_integral_v<T>
QString Format(T v, const QString& pattern)
{
    return Format(static_cast<double>(v), pattern);
}

} // namespace rt
