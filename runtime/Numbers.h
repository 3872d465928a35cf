#pragma once
// The number rules every part of the program shares: integer conversion with
// halves to even, truncating division, and the number texts of the settings files.

#include <QString>

#include <cmath>
#include <cstdint>
#include <limits>

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

// Number text with a blank before non-negative values (" 10000", "-3", " 0.5").
QString Str(double v);

// The leading number of a text: optional blanks and sign, digits, "." as
// decimal point, an exponent; 0 when there is none.
double Val(const QString& s);

// Format patterns: "#" optional digit, "0" required digit, "." decimal point,
// "%" multiplies by 100 and prints a percent sign, anything else literal.
QString Format(double v, const QString& pattern);

} // namespace rt
