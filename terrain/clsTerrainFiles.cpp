// TER files and the backup file of clsTerrain. Both are written through a
// temporary file renamed into place, so a failed save leaves the old file and
// a shorter terrain leaves no stale tail. The heights go out in chunks from a
// reused buffer: a fresh file-sized buffer per save costs more than the write.

#include "terrain/clsTerrain.h"

#include "runtime/ByteIO.h"
#include "runtime/Files.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr qsizetype kHeaderBytes = 80;
constexpr int kLargestBackupSize = 2049;

void setTag(char* field, size_t n, const char* text)
{
    std::memset(field, 0, n);
    std::memcpy(field, text, std::min(n, std::strlen(text)));
}

// The record field by field, as bytes 0..79 of a TER file.
void writeHeader(rt::LeWriter& w, const TerHeader& h)
{
    w.bytes(h.Magic, sizeof h.Magic);
    w.i16(h.Size);
    w.bytes(h.TagX, sizeof h.TagX);
    w.i16(h.XPoints);
    w.bytes(h.TagY, sizeof h.TagY);
    w.i16(h.YPoints);
    w.bytes(h.TagS, sizeof h.TagS);
    w.f32(h.ScaleX);
    w.f32(h.ScaleY);
    w.f32(h.ScaleZ);
    w.bytes(h.TagR, sizeof h.TagR);
    w.f32(h.CRAD);
    w.bytes(h.TagC, sizeof h.TagC);
    w.i16(h.CRVM);
    w.bytes(h.TagA, sizeof h.TagA);
    w.i16(h.HeightScale);
    w.i16(h.BaseHeight);
}

// Reads the record from the first 80 bytes; the caller checked the length.
TerHeader readHeader(const QByteArray& data)
{
    const char* p = data.constData();
    TerHeader h;
    auto text = [&p](char* field, size_t n) { std::memcpy(field, p, n); p += n; };
    auto i16 = [&p] { const int16_t v = qFromLittleEndian<int16_t>(p); p += 2; return v; };
    auto f32 = [&p] { const float v = qFromLittleEndian<float>(p); p += 4; return v; };
    text(h.Magic, sizeof h.Magic);
    h.Size = i16();
    text(h.TagX, sizeof h.TagX);
    h.XPoints = i16();
    text(h.TagY, sizeof h.TagY);
    h.YPoints = i16();
    text(h.TagS, sizeof h.TagS);
    h.ScaleX = f32();
    h.ScaleY = f32();
    h.ScaleZ = f32();
    text(h.TagR, sizeof h.TagR);
    h.CRAD = f32();
    text(h.TagC, sizeof h.TagC);
    h.CRVM = i16();
    text(h.TagA, sizeof h.TagA);
    h.HeightScale = i16();
    h.BaseHeight = i16();
    return h;
}

// One row of file heights (16-bit little-endian, any alignment) widened to
// 32 bits; lo and hi widened by the values. SSE2 reads eight at a time and
// keeps min and max in 16-bit lanes, which hold every file height.
void widenFileRow(const char* src, int32_t* dst, int64_t n, int32_t& lo, int32_t& hi)
{
    int64_t x = 0;
#if defined(__SSE2__) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    if (n >= 8) {
        __m128i vLo = _mm_set1_epi16(INT16_MAX), vHi = _mm_set1_epi16(INT16_MIN);
        for (; x + 8 <= n; x += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 2 * x));
            vLo = _mm_min_epi16(vLo, v);
            vHi = _mm_max_epi16(vHi, v);
            // Each height into the top half of a 32-bit lane, then shifted down with its sign.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x + 4), _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16));
        }
        int16_t lanesLo[8], lanesHi[8];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanesLo), vLo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanesHi), vHi);
        lo = std::min<int32_t>(lo, *std::min_element(lanesLo, lanesLo + 8));
        hi = std::max<int32_t>(hi, *std::max_element(lanesHi, lanesHi + 8));
    }
#endif
    for (; x < n; ++x) {
        const int32_t v = qFromLittleEndian<int16_t>(src + 2 * x);
        dst[x] = v;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
}

// One row of heights saturated to 16 bits, straight into the file buffer as
// little-endian. SSE2's pack saturates eight at a time.
void narrowToFileRow(const int32_t* src, char* dst, int64_t n)
{
    int64_t x = 0;
#if defined(__SSE2__) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    for (; x + 8 <= n; x += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * x), _mm_packs_epi32(a, b));
    }
#endif
    for (; x < n; ++x) {
        const int32_t v = src[x];
        qToLittleEndian<int16_t>(int16_t(v < INT16_MIN ? INT16_MIN : (v > INT16_MAX ? INT16_MAX : v)), dst + 2 * x);
    }
}

constexpr qsizetype kChunkBytes = 1 << 20;

bool fail(QString* error, const QString& text)
{
    if (error) *error = text;
    return false;
}

} // namespace

bool clsTerrain::SaveT(const QString& fileName, QString* error)
{
    // A failed save leaves the progress as it found it, not at 100.
    const int32_t progressBefore = pProgress;
    const auto failed = [&] {
        pProgress = progressBefore;
        return false;
    };
    pProgress = 0;
    setTag(m_header.Magic, sizeof m_header.Magic, "TERRAGENTERRAIN SIZE");
    setTag(m_header.TagX + 2, 4, "XPTS");
    setTag(m_header.TagY + 2, 4, "YPTS");
    setTag(m_header.TagS + 2, 4, "SCAL");
    setTag(m_header.TagA + 2, 4, "ALTW");
    m_header.TagX[0] = m_header.TagX[1] = m_header.TagY[0] = m_header.TagY[1] = 0;
    m_header.TagS[0] = m_header.TagS[1] = m_header.TagA[0] = m_header.TagA[1] = 0;
    setTag(m_header.TagR, sizeof m_header.TagR, "CRAD");
    setTag(m_header.TagC, sizeof m_header.TagC, "CRVM");

    const int32_t rows = m_header.XPoints;
    const int32_t cols = m_header.YPoints;
    if (rows < 1 || cols < 1 || rows > m_side || cols > m_side) {
        fail(error, QStringLiteral("The terrain's grid does not match its size %1.").arg(m_header.Size));
        return failed();
    }

    rt::AtomicFile file(fileName);
    rt::LeWriter header;
    writeHeader(header, m_header);
    file.write(header.data());
    // File row k holds the terrain's row Size - k; heights saturate to 16 bits.
    const int32_t size = m_header.Size;
    const qsizetype rowBytes = 2 * qsizetype(cols);
    const qsizetype rowsPerChunk = std::max<qsizetype>(1, kChunkBytes / rowBytes);
    std::vector<char> chunk(static_cast<size_t>(rowsPerChunk * rowBytes));
    qsizetype used = 0;
    for (int32_t r = rows - 1; r >= 0; --r) {
        pProgress = size > 0 ? rt::CLng(double(size - r) / size * 100.0) : 100;
        narrowToFileRow(row(r), chunk.data() + used, cols);
        used += rowBytes;
        if (used + rowBytes > qsizetype(chunk.size()) || r == 0) {
            file.write(chunk.data(), used);
            used = 0;
        }
        rt::DoEvents();
        if (!file.ok()) break;  // a full disk stays full: no need to go on
    }
    file.write("EOF\0", 4);
    if (!file.commit(error)) return failed();
    pProgress = 100;
    return true;
}

bool clsTerrain::LoadRows(const char* bytes, int64_t firstRow, int64_t rows)
{
    const int32_t size = m_header.Size;
    const int64_t n = int64_t(size) + 1;
    if (size < 0 || n > m_side || firstRow < 0 || rows < 0 || firstRow + rows > n) return false;
    // Widened straight from the file's bytes, min and max kept on the way.
    int32_t lo = m_min, hi = m_max;
    for (int64_t k = 0; k < rows; ++k)
        widenFileRow(bytes + 2 * k * n, row(int32_t(size - (firstRow + k))), n, lo, hi);
    m_min = lo;
    m_max = hi;
    return true;
}

bool clsTerrain::SaveBackup(const QString& fileName, QString* error)
{
    // The loader checks the length against Size, so a grid that does not
    // match its Size (written without Init) is not saved.
    if (m_side != int32_t(m_header.Size) + 3)
        return fail(error, QStringLiteral("The terrain's grid does not match its size %1.").arg(m_header.Size));
    rt::AtomicFile file(fileName);
    rt::LeWriter header;
    writeHeader(header, m_header);
    file.write(header.data());
    const qsizetype perChunk = kChunkBytes / 4;
    std::vector<char> chunk(static_cast<size_t>(kChunkBytes));
    const qsizetype count = qsizetype(m_data.size());
    for (qsizetype i = 0; i < count; i += perChunk) {
        const qsizetype n = std::min(perChunk, count - i);
        qToLittleEndian<int32_t>(m_data.data() + i, n, chunk.data());
        file.write(chunk.data(), 4 * n);
    }
    return file.commit(error);
}

bool clsTerrain::LoadBackup(const QString& fileName, QString* error)
{
    QFile file(fileName);
    QString why;
    if (!rt::openRegularFile(file, &why)) return fail(error, why);
    // The header gives the one length a backup can have: checked before the heights are read.
    const QByteArray head = file.read(kHeaderBytes);
    if (head.size() < kHeaderBytes)
        return fail(error, QStringLiteral("The backup file %1 is too short.").arg(fileName));
    const TerHeader h = readHeader(head);
    if (h.Size < 1 || h.Size > kLargestBackupSize)
        return fail(error, QStringLiteral("The backup file %1 holds an invalid size %2.").arg(fileName).arg(h.Size));
    const qint64 side = qint64(h.Size) + 3;
    if (file.size() != kHeaderBytes + 4 * side * side)
        return fail(error, QStringLiteral("The backup file %1 has the wrong length for size %2.")
                               .arg(fileName)
                               .arg(h.Size));
    const QByteArray body = file.read(4 * side * side);
    if (body.size() != 4 * side * side)
        return fail(error, file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QStringLiteral("The backup file %1 is too short.").arg(fileName));

    // Checked: now the terrain is replaced. The cache stays empty as Init
    // leaves it; the caller calls Range.
    m_header = h;
    Init(int32_t(h.Size) + 1);
    qFromLittleEndian<int32_t>(body.constData(), qsizetype(m_data.size()), m_data.data());
    return true;
}
