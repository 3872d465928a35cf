#pragma once
// Freezes what a routine produced, so a faster version can be checked against
// it: a hash of the whole allocated grid with the min/max cache, and a record
// of every DoEvents call (the progress seen there). The record also keeps the
// longest time between two calls, for reading, never for asserting.

#include "terrain/clsTerrain.h"
#include "tests/support/ScriptedUi.h"

#include <QElapsedTimer>

#include <cstdint>
#include <cstring>

// FNV-1a, 64 bits: small and stable across runs and machines.
inline uint64_t fnvAdd(uint64_t h, const void* data, size_t n)
{
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}
constexpr uint64_t kFnvStart = 14695981039346656037ull;

// Every allocated height (spare rows and columns too), then min, max and the
// two header values a rescale writes.
inline uint64_t terrainHash(const clsTerrain& t)
{
    uint64_t h = kFnvStart;
    const int32_t side = t.allocatedSide();
    for (int32_t y = 0; y < side; ++y) h = fnvAdd(h, t.row(y), sizeof(int32_t) * size_t(side));
    const int32_t tail[] = {t.min(), t.max(), int32_t(t.HeightScale()), int32_t(t.BaseHeight())};
    h = fnvAdd(h, tail, sizeof tail);
    // Units a file cannot hold count exactly.
    if (t.headerFitsFile()) return h;
    const double units[] = {t.HeightScale(), t.BaseHeight()};
    return fnvAdd(h, units, sizeof units);
}

// Records the progress of `watched` at every DoEvents call while it lives.
class PumpRecord {
public:
    explicit PumpRecord(const clsTerrain& watched) : m_watched(watched)
    {
        m_clock.start();
        scriptedUi().onPumpAsked = [this] {
            const int32_t p = m_watched.pProgress;
            m_hash = fnvAdd(m_hash, &p, sizeof p);
            ++m_calls;
            noteGap();
        };
    }
    ~PumpRecord() { scriptedUi().onPumpAsked = nullptr; }
    PumpRecord(const PumpRecord&) = delete;
    PumpRecord& operator=(const PumpRecord&) = delete;

    uint64_t hash() const { return m_hash; }
    int64_t calls() const { return m_calls; }
    // Longest stretch without a call so far, the one running now included.
    double longestGapMs()
    {
        noteGap();
        return m_longestNs / 1e6;
    }

private:
    void noteGap()
    {
        const qint64 now = m_clock.nsecsElapsed();
        if (now - m_lastNs > m_longestNs) m_longestNs = now - m_lastNs;
        m_lastNs = now;
    }

    const clsTerrain& m_watched;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
    qint64 m_longestNs = 0;
    uint64_t m_hash = kFnvStart;
    int64_t m_calls = 0;
};
