#pragma once
// Small routines every window uses: file test, increment and exchange,
// minimum/maximum/clamp, the key filter of numeric text boxes, clamping a text
// box's number and cutting a string at its first zero character.
// Free functions in namespace STDIO; text boxes are passed as their text.

#include <QString>

#include <limits>
#include <type_traits>
#include <utility>

namespace STDIO {

// True when path names an existing file (not a folder); wildcards * and ?
// in the file name match as in a directory listing. Empty is false.
bool FileExists(const QString& path);

// v = v + step. Integers saturate at their type's ends instead of wrapping.
template <typename T, typename S = T>
void Inc(T& v, S step = S(1))
{
    if constexpr (std::is_integral_v<T> && std::is_integral_v<S>) {
        T sum;
        if (__builtin_add_overflow(v, step, &sum))
            sum = step > 0 ? std::numeric_limits<T>::max() : std::numeric_limits<T>::min();
        v = sum;
    } else {
        v = static_cast<T>(v + step);
    }
}

template <typename T>
void Swap(T& a, T& b)
{
    using std::swap;
    swap(a, b);
}

// b if a > b, else a: equal values give the first argument.
template <typename A, typename B>
std::common_type_t<A, B> Min(const A& a, const B& b)
{
    if (a > b) return b;
    return a;
}

// b if a < b, else a: equal values give the first argument.
template <typename A, typename B>
std::common_type_t<A, B> Max(const A& a, const B& b)
{
    if (a < b) return b;
    return a;
}

template <typename L, typename U, typename V>
std::common_type_t<L, U, V> Clamp(const L& lower, const U& upper, const V& value)
{
    return Min(std::common_type_t<L, U, V>(upper), Max(std::common_type_t<L, U, V>(value), lower));
}

// Whether a typed key may enter a numeric text box holding text: digits,
// one comma, backspace (8), "-" and carriage return (13).
bool IsNumericKey(const QString& text, int keyAscii);

// The leading number of text clamped to lower..upper; text becomes that
// number as text. Returns the number.
double ClampTextBox(QString& text, double lower, double upper);

// The text before the first zero character, blanks trimmed on both sides.
QString CutAtNull(const QString& s);

} // namespace STDIO
