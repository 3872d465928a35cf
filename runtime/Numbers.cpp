#include "runtime/Numbers.h"

#include <charconv>
#include <string>

namespace rt {

Decimal toDecimal(double v, int significant)
{
    // to_chars, unlike printf, writes "." whatever the user's locale.
    char buf[64];
    const char* end =
        std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, significant - 1).ptr;
    Decimal d;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
    if (p < end) std::from_chars(p + (p[1] == '+' ? 2 : 1), end, d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits == "0") d.exponent = 0;
    return d;
}

namespace {

QString plainText(const Decimal& d)
{
    std::string t;
    if (d.digits == "0") {
        t = "0";
    } else if (d.exponent >= 0) {
        const size_t intLen = static_cast<size_t>(d.exponent) + 1;
        std::string digits = d.digits;
        if (digits.size() < intLen) digits.append(intLen - digits.size(), '0');
        t = digits.substr(0, intLen);
        if (digits.size() > intLen) t += "." + digits.substr(intLen);
    } else {
        // The platform writes fractions without a zero before the point.
        t = "." + std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
    }
    return QString::fromLatin1(t);
}

QString exponentText(const Decimal& d)
{
    std::string t = d.digits.substr(0, 1);
    if (d.digits.size() > 1) t += "." + d.digits.substr(1);
    const int magnitude = std::abs(d.exponent);
    t += d.exponent < 0 ? "E-" : "E+";
    if (magnitude < 10) t += '0';
    t += std::to_string(magnitude);
    return QString::fromLatin1(t);
}

QString numberText(double v, int significant)
{
    if (std::isnan(v)) return QStringLiteral("NaN");
    if (std::isinf(v)) return v > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
    const Decimal d = toDecimal(v, significant);
    const bool plain = d.exponent < significant && d.exponent >= -4;
    const QString body = plain ? plainText(d) : exponentText(d);
    const bool negative = v < 0 && d.digits != "0";
    return (negative ? QStringLiteral("-") : QStringLiteral(" ")) + body;
}

} // namespace

QString Str(double v)
{
    return numberText(v, 15);
}

QString Str(float v)
{
    return numberText(static_cast<double>(v), 7);
}

// ---- Val ----

namespace {

double radixValue(const std::string& s, size_t pos, int radix)
{
    uint64_t value = 0;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0 || digit >= radix) break;
        if (value > (UINT64_MAX >> 4)) break;  // far beyond 32 bits; keep what was read
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    }
    // Like the platform's hex constants: values that fit 16 bits are 16-bit
    // integers, those that fit 32 bits are 32-bit integers (so &HFFFF is -1).
    if (value <= 0xFFFFu) return static_cast<int16_t>(static_cast<uint16_t>(value));
    if (value <= 0xFFFFFFFFu) return static_cast<int32_t>(static_cast<uint32_t>(value));
    return static_cast<double>(value);
}

// The longest prefix of s at pos that has the shape of a decimal number.
size_t decimalEnd(const std::string& s, size_t pos, bool* hasDigits)
{
    auto digitsFrom = [&](size_t p) {
        while (p < s.size() && s[p] >= '0' && s[p] <= '9') ++p;
        return p;
    };
    size_t p = pos;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    const size_t intStart = p;
    p = digitsFrom(p);
    bool digits = p > intStart;
    if (p < s.size() && s[p] == '.') {
        const size_t fracEnd = digitsFrom(p + 1);
        digits = digits || fracEnd > p + 1;
        p = fracEnd;
    }
    *hasDigits = digits;
    if (!digits) return pos;
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E' || s[p] == 'd' || s[p] == 'D')) {
        size_t q = p + 1;
        if (q < s.size() && (s[q] == '+' || s[q] == '-')) ++q;
        const size_t expEnd = digitsFrom(q);
        if (expEnd > q) p = expEnd;
    }
    return p;
}

} // namespace

double Val(const QString& text)
{
    // Drop blanks, tabs and line feeds wherever they stand.
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        s.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '?');
    }
    // Hex and octal prefixes.
    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return radixValue(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o') return radixValue(s, 2, 8);
        return 0;
    }
    // The leading decimal number; "D" exponents read like "E".
    bool hasDigits = false;
    const size_t end = decimalEnd(s, 0, &hasDigits);
    if (!hasDigits) return 0;
    std::string number = s.substr(0, end);
    for (char& c : number)
        if (c == 'd' || c == 'D') c = 'E';
    const char* first = number.c_str();
    if (*first == '+') ++first;
    double v = 0;
    const auto r = std::from_chars(first, number.c_str() + number.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large saturates; too small is zero.
        const bool negative = number[0] == '-';
        const bool huge = number.find_first_of("123456789") != std::string::npos &&
                          number.find("E-") == std::string::npos;
        if (!huge) return 0;
        return negative ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    }
    return v;
}

} // namespace rt
