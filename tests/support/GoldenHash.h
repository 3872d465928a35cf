#pragma once
// A running 64-bit FNV-1a hash for golden tests: a faster routine must give
// the same hash over its whole result as the routine it replaced.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

class GoldenHash {
public:
    void bytes(const void* data, size_t n)
    {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < n; ++i) m_h = (m_h ^ p[i]) * 0x100000001b3ull;
    }
    template <class T>
    void value(const T& v)
    {
        bytes(&v, sizeof v);
    }
    void text(const QString& s)
    {
        const QByteArray utf8 = s.toUtf8();
        value(utf8.size());
        bytes(utf8.constData(), size_t(utf8.size()));
    }
    uint64_t result() const { return m_h; }

private:
    uint64_t m_h = 0xcbf29ce484222325ull;
};
