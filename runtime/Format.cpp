// The platform's Format for the digit patterns the windows use ("#####.## TU",
// "####0.00", "### %").

#include "runtime/Numbers.h"

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace rt {
namespace {

struct Token {
    enum Kind { OptionalDigit, RequiredDigit, Point, Percent, Literal } kind;
    QString text;  // Literal only
};

std::vector<Token> tokenize(const QString& pattern)
{
    std::vector<Token> tokens;
    bool seenPoint = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('#')) {
            tokens.push_back({Token::OptionalDigit, {}});
        } else if (c == QLatin1Char('0')) {
            tokens.push_back({Token::RequiredDigit, {}});
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
            tokens.push_back({Token::Point, {}});
        } else if (c == QLatin1Char('%')) {
            tokens.push_back({Token::Percent, {}});
        } else if (c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            tokens.push_back({Token::Literal, QString(pattern[++i])});
        } else if (c == QLatin1Char('"')) {
            const qsizetype end = pattern.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            tokens.push_back({Token::Literal, pattern.mid(i + 1, stop - i - 1)});
            i = stop;
        } else {
            tokens.push_back({Token::Literal, QString(c)});
        }
    }
    return tokens;
}

bool isDigitToken(const Token& t)
{
    return t.kind == Token::OptionalDigit || t.kind == Token::RequiredDigit;
}

// |v| rounded half away from zero to `decimals` places, from its 15-digit
// decimal text so binary noise (2.675 stored as 2.67499...) does not decide.
struct Fixed {
    std::string intDigits;   // without leading zeros; "" for zero
    std::string fracDigits;  // exactly `decimals` digits
};

Fixed roundFixed(double v, int decimals)
{
    const Decimal decimal = toDecimal(v, 15);
    const std::string& digits = decimal.digits;
    const int exponent = decimal.exponent;

    // Digits from place max(exponent, 0) down to -(decimals + 1); the last one decides the rounding.
    const int top = std::max(exponent, 0);
    std::string fixed;
    for (int place = top; place >= -(decimals + 1); --place) {
        const int index = exponent - place;
        fixed.push_back(index >= 0 && index < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(index)] : '0');
    }
    const bool roundUp = fixed.back() >= '5';
    fixed.pop_back();
    if (roundUp) {
        int i = static_cast<int>(fixed.size()) - 1;
        while (i >= 0 && fixed[static_cast<size_t>(i)] == '9') fixed[static_cast<size_t>(i--)] = '0';
        if (i >= 0) ++fixed[static_cast<size_t>(i)];
        else fixed.insert(fixed.begin(), '1');
    }
    Fixed f;
    f.fracDigits = fixed.substr(fixed.size() - static_cast<size_t>(decimals));
    f.intDigits = fixed.substr(0, fixed.size() - static_cast<size_t>(decimals));
    const size_t firstNonZero = f.intDigits.find_first_not_of('0');
    f.intDigits = firstNonZero == std::string::npos ? std::string() : f.intDigits.substr(firstNonZero);
    return f;
}

// The integer part, filled from the right; the leftmost placeholder takes the
// digits that do not fit.
QString integerPart(const std::vector<Token>& tokens, size_t end, const std::string& digits)
{
    size_t leftmost = end;
    for (size_t i = 0; i < end; ++i)
        if (isDigitToken(tokens[i])) {
            leftmost = i;
            break;
        }
    if (leftmost == end) return QString::fromLatin1(digits);  // no placeholder: digits before the point

    QString out;
    size_t remaining = digits.size();
    for (size_t i = end; i-- > 0;) {
        const Token& t = tokens[i];
        if (!isDigitToken(t)) {
            out.prepend(t.kind == Token::Percent ? QStringLiteral("%") : t.text);
            continue;
        }
        if (i == leftmost) {
            if (remaining > 0) out.prepend(QString::fromLatin1(digits.substr(0, remaining)));
            else if (t.kind == Token::RequiredDigit) out.prepend(QLatin1Char('0'));
            remaining = 0;
        } else if (remaining > 0) {
            out.prepend(QLatin1Char(digits[--remaining]));
        } else if (t.kind == Token::RequiredDigit) {
            out.prepend(QLatin1Char('0'));
        }
    }
    return out;
}

// The fraction: trailing zeros vanish where "#" stands, stay where "0" stands.
QString fractionPart(const std::vector<Token>& tokens, size_t start, const std::string& digits)
{
    int lastRequired = -1;
    int k = 0;
    for (size_t i = start; i < tokens.size(); ++i) {
        if (!isDigitToken(tokens[i])) continue;
        if (tokens[i].kind == Token::RequiredDigit) lastRequired = k;
        ++k;
    }
    int keep = static_cast<int>(digits.size());
    while (keep > lastRequired + 1 && digits[static_cast<size_t>(keep - 1)] == '0') --keep;

    QString out;
    k = 0;
    for (size_t i = start; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (isDigitToken(t)) {
            if (k < keep) out += QLatin1Char(digits[static_cast<size_t>(k)]);
            ++k;
        } else {
            out += t.kind == Token::Percent ? QStringLiteral("%") : t.text;
        }
    }
    return out;
}

} // namespace

QString Format(double v, const QString& pattern)
{
    if (pattern.isEmpty()) {
        QString t = Str(v).trimmed();
        if (t.startsWith(QLatin1Char('.'))) t.prepend(QLatin1Char('0'));
        else if (t.startsWith(QLatin1String("-."))) t.insert(1, QLatin1Char('0'));
        return t;
    }
    if (std::isnan(v) || std::isinf(v)) return Str(v).trimmed();

    // Read the pattern; a percent sign scales by 100.
    const std::vector<Token> tokens = tokenize(pattern);
    size_t point = tokens.size();
    int decimals = 0;
    bool percent = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Point) point = i;
        if (tokens[i].kind == Token::Percent) percent = true;
        if (point < i && isDigitToken(tokens[i])) ++decimals;
    }
    if (percent) v *= 100;

    // Round to the pattern's decimals.
    const Fixed f = roundFixed(v, decimals);
    const bool zero = f.intDigits.empty() && f.fracDigits.find_first_not_of('0') == std::string::npos;

    // Integer part, point, fraction; the sign goes in front of everything.
    QString out = v < 0 && !zero ? QStringLiteral("-") : QString();
    bool anyDigit = false;
    for (const Token& t : tokens) anyDigit = anyDigit || isDigitToken(t);
    if (!anyDigit && point == tokens.size()) {
        for (const Token& t : tokens) out += t.kind == Token::Percent ? QStringLiteral("%") : t.text;
        return out;
    }
    out += integerPart(tokens, point, f.intDigits);
    if (point < tokens.size()) {
        out += QLatin1Char('.');
        out += fractionPart(tokens, point + 1, f.fracDigits);
    }
    return out;
}

QString Format(float v, const QString& pattern)
{
    if (!std::isfinite(v)) return Format(static_cast<double>(v), pattern);
    char buf[32];
    const char* end = std::to_chars(buf, buf + sizeof buf, static_cast<double>(v), std::chars_format::scientific, 6).ptr;
    double shown = v;
    std::from_chars(buf, end, shown);
    return Format(shown, pattern);
}

} // namespace rt
