// TER files and the backup file of clsTerrain. Both are written through a
// temporary file renamed into place, so a failed save leaves the old file and
// a shorter terrain leaves no stale tail. The heights go out in chunks from a
// reused buffer: a fresh file-sized buffer per save costs more than the write.

#include "terrain/clsTerrain.h"

#include "runtime/ByteIO.h"
#include "runtime/Files.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/TerFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr qsizetype kHeaderBytes = 80;
// Behind a backup's heights when its units are not whole 16-bit values: the
// tag and HeightScale and BaseHeight as 64-bit floats.
constexpr char kExactUnitsTag[] = "ALTW";
constexpr qsizetype kExactUnitsBytes = 20;

void setTag(char* field, size_t n, const char* text)
{
    std::memset(field, 0, n);
    std::memcpy(field, text, std::min(n, std::strlen(text)));
}

// The 16-bit HeightScale and BaseHeight a file holds.
struct FileUnits {
    int16_t heightScale;
    int16_t baseHeight;
};

// The record field by field, as bytes 0..79 of a TER file, with the file's units.
void writeHeader(rt::LeWriter& w, const TerHeader& h, FileUnits units)
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
    w.i16(units.heightScale);
    w.i16(units.baseHeight);
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

// Terrain units t as a raw height under the file's units, unrounded and unclamped.
double rawOf(double t, FileUnits units)
{
    return (t - units.baseHeight) * 65536.0 / units.heightScale;
}

// The raw height nearest to terrain units t under the file's units (halves
// to even), saturated to the 16 bits a file holds.
int16_t nearestRaw(double t, FileUnits units)
{
    const double r = std::nearbyint(rawOf(t, units));
    return std::isnan(r) ? int16_t(0) : int16_t(std::clamp(r, double(INT16_MIN), double(INT16_MAX)));
}

bool holds(FileUnits units, double tMin, double tMax)
{
    return std::nearbyint(rawOf(tMin, units)) >= INT16_MIN && std::nearbyint(rawOf(tMax, units)) <= INT16_MAX;
}

// Of the headers a TER file can hold (HeightScale 1..32767, BaseHeight
// 16 bits) the one with the finest raw step under which every height in
// tMin..tMax has its nearest raw value in the file's range. Among the
// BaseHeights that do, the one nearest the middle of the heights. Nothing
// when no header holds them.
std::optional<FileUnits> finestUnits(double tMin, double tMax)
{
    if (!std::isfinite(tMin) || !std::isfinite(tMax) || tMin > tMax) return std::nullopt;
    const double middle = std::nearbyint((tMin + tMax) / 2);
    // A step of HeightScale / 65536 spans at most 65535 steps: no header
    // below the span minus one can hold it.
    const double first = std::max(1.0, std::floor(tMax - tMin) - 1);
    for (double scale = first; scale <= INT16_MAX; ++scale) {
        const double step = scale / 65536.0;
        // BaseHeights whose raw range reaches both ends, widened by one on each
        // side for rounding and settled by the exact test below.
        double low = std::max(std::ceil(tMax - 32767.5 * step) - 1, double(INT16_MIN));
        double high = std::min(std::floor(tMin + 32768.5 * step) + 1, double(INT16_MAX));
        while (low <= high && !holds({int16_t(scale), int16_t(low)}, tMin, tMax)) ++low;
        while (high >= low && !holds({int16_t(scale), int16_t(high)}, tMin, tMax)) --high;
        if (low <= high) return FileUnits{int16_t(scale), int16_t(std::clamp(middle, low, high))};
    }
    return std::nullopt;
}

// The widest header, centred on the heights as far as BaseHeight reaches,
// for heights no header can hold: the user agreed to lose their ends.
FileUnits widestUnits(double tMin, double tMax)
{
    const double middle = std::isfinite(tMin + tMax) ? std::nearbyint((tMin + tMax) / 2) : 0.0;
    return {INT16_MAX, int16_t(std::clamp(middle, double(INT16_MIN), double(INT16_MAX)))};
}

double unitsOf(const clsTerrain& t, int32_t h)
{
    return double(h) * t.HeightScale() / 65536.0 + t.BaseHeight();
}

// Whether a file holds the terrain as it is: a whole 16-bit header and every
// height of 0..Size within 16 bits. Range() must be current.
bool heldAsIs(const clsTerrain& t)
{
    return t.headerFitsFile() && t.HeightScale() != 0 && t.min() >= INT16_MIN && t.max() <= INT16_MAX;
}

// The units the TER writer gives the file: the terrain's own when the file
// holds it as it is, else the finest header that holds every height (the
// widest, cutting the ends, when none does). Range() must be current.
struct FileChoice {
    FileUnits units{};
    bool asIs = false;
    bool holdsAll = true;
};

FileChoice chooseFileUnits(const clsTerrain& t)
{
    if (heldAsIs(t)) return {{int16_t(t.HeightScale()), int16_t(t.BaseHeight())}, true, true};
    const double a = unitsOf(t, t.min()), b = unitsOf(t, t.max());
    const double tMin = std::min(a, b), tMax = std::max(a, b);
    const std::optional<FileUnits> finest = finestUnits(tMin, tMax);
    return {finest.value_or(widestUnits(tMin, tMax)), false, finest.has_value()};
}

// Largest table of encoded heights worked out beforehand (2 MB).
constexpr int64_t kLargestEncodingTable = int64_t(1) << 20;

// What the TER writer puts in the file under the chosen units: the heights as
// they are, or each point at its nearest raw value. Range() must be current.
class FileEncoding {
public:
    explicit FileEncoding(const clsTerrain& t) : m_t(t), m_first(t.min()), m_choice(chooseFileUnits(t))
    {
        if (m_choice.asIs) return;
        // The new height depends on the old one alone: a spread terrain takes
        // at most 65535 values, each encoded once.
        const int64_t values = int64_t(t.max()) - t.min() + 1;
        const int64_t points = (int64_t(t.Size()) + 1) * (int64_t(t.Size()) + 1);
        if (values <= kLargestEncodingTable && values <= points) {
            m_table.resize(size_t(values));
            for (int64_t k = 0; k < values; ++k)
                m_table[size_t(k)] = nearestRaw(unitsOf(t, int32_t(m_first + k)), m_choice.units);
        }
    }
    FileUnits fileUnits() const { return m_choice.units; }
    bool asIs() const { return m_choice.asIs; }
    int16_t encode(int32_t h) const
    {
        const uint64_t k = uint64_t(int64_t(h) - m_first);
        return k < m_table.size() ? m_table[k] : nearestRaw(unitsOf(m_t, h), m_choice.units);
    }
    // One row of heights as file heights, little-endian.
    void encodeRow(const int32_t* src, char* dst, int64_t n) const
    {
        if (m_choice.asIs) {
            narrowToFileRow(src, dst, n);
            return;
        }
        for (int64_t x = 0; x < n; ++x) qToLittleEndian<int16_t>(encode(src[x]), dst + 2 * x);
    }

private:
    const clsTerrain& m_t;
    int64_t m_first;
    FileChoice m_choice;
    std::vector<int16_t> m_table;
};

constexpr qsizetype kChunkBytes = 1 << 20;

bool fail(QString* error, const QString& text)
{
    if (error) *error = text;
    return false;
}

} // namespace

bool clsTerrain::SaveT(const QString& fileName, QString* error)
{
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
        return fail(error, QStringLiteral("The terrain's grid does not match its size %1.").arg(m_header.Size));
    }

    // The file's units come from the heights of the terrain proper.
    Range();
    const FileEncoding encoding(*this);
    rt::AtomicFile file(fileName);
    rt::LeWriter header;
    writeHeader(header, m_header, encoding.fileUnits());
    file.write(header.data());
    // File row k holds the terrain's row Size - k.
    const int32_t size = m_header.Size;
    const qsizetype rowBytes = 2 * qsizetype(cols);
    const qsizetype rowsPerChunk = std::max<qsizetype>(1, kChunkBytes / rowBytes);
    std::vector<char> chunk(static_cast<size_t>(rowsPerChunk * rowBytes));
    qsizetype used = 0;
    for (int32_t r = rows - 1; r >= 0; --r) {
        pProgress = size > 0 ? rt::CLng(double(size - r) / size * 100.0) : 100;
        encoding.encodeRow(row(r), chunk.data() + used, cols);
        used += rowBytes;
        if (used + rowBytes > qsizetype(chunk.size()) || r == 0) {
            file.write(chunk.data(), used);
            used = 0;
        }
        rt::DoEvents();
        if (!file.ok()) break;  // a full disk stays full: no need to go on
    }
    file.write("EOF\0", 4);
    if (!file.commit(error)) return false;
    // The terrain takes what the file holds, as if it had been opened: a
    // second save writes the same bytes instead of re-encoding again.
    if (!encoding.asIs()) {
        for (int32_t* h = m_data.data(); h != m_data.data() + m_data.size(); ++h) *h = encoding.encode(*h);
        m_header.HeightScale = encoding.fileUnits().heightScale;
        m_header.BaseHeight = encoding.fileUnits().baseHeight;
        Range();
    }
    pProgress = 100;
    return true;
}

bool clsTerrain::fileHoldsHeights()
{
    Range();
    return chooseFileUnits(*this).holdsAll;
}

bool clsTerrain::fileHoldsAsIs()
{
    Range();
    return heldAsIs(*this);
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
    // Units the record cannot hold follow the heights, so the terrain comes
    // back as it is; the record holds them rounded.
    const bool exact = !headerFitsFile();
    rt::AtomicFile file(fileName);
    rt::LeWriter header;
    writeHeader(header, m_header, {rt::CInt(m_header.HeightScale), rt::CInt(m_header.BaseHeight)});
    file.write(header.data());
    const qsizetype perChunk = kChunkBytes / 4;
    std::vector<char> chunk(static_cast<size_t>(kChunkBytes));
    const qsizetype count = qsizetype(m_data.size());
    for (qsizetype i = 0; i < count; i += perChunk) {
        const qsizetype n = std::min(perChunk, count - i);
        qToLittleEndian<int32_t>(m_data.data() + i, n, chunk.data());
        file.write(chunk.data(), 4 * n);
    }
    if (exact) {
        char units[kExactUnitsBytes];
        std::memcpy(units, kExactUnitsTag, 4);
        qToLittleEndian<double>(m_header.HeightScale, units + 4);
        qToLittleEndian<double>(m_header.BaseHeight, units + 12);
        file.write(units, kExactUnitsBytes);
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
    TerHeader h = readHeader(head);
    TerFile::HeaderValues values{h.Size, h.XPoints, h.YPoints, h.ScaleZ, h.CRAD, h.HeightScale, h.BaseHeight};
    const TerFile::Result sized = TerFile::checkHeader(values);
    if (sized.refusal == TerFile::Refusal::TooBig || sized.refusal == TerFile::Refusal::BadSize)
        return fail(error, TerFile::refusalText(fileName, sized));
    const qint64 side = qint64(h.Size) + 3;
    const qint64 bodyBytes = 4 * side * side;
    const bool exact = file.size() == kHeaderBytes + bodyBytes + kExactUnitsBytes;
    if (file.size() != kHeaderBytes + bodyBytes && !exact)
        return fail(error, QStringLiteral("The backup file %1 has the wrong length for size %2.")
                               .arg(fileName)
                               .arg(h.Size));
    const QByteArray body = file.read(bodyBytes + (exact ? kExactUnitsBytes : 0));
    if (body.size() != bodyBytes + (exact ? kExactUnitsBytes : 0))
        return fail(error, file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QStringLiteral("The backup file %1 is too short.").arg(fileName));
    if (exact) {
        const char* units = body.constData() + bodyBytes;
        if (std::memcmp(units, kExactUnitsTag, 4) != 0)
            return fail(error, QStringLiteral("The backup file %1 has the wrong length for size %2.")
                                   .arg(fileName)
                                   .arg(h.Size));
        values.heightScale = h.HeightScale = qFromLittleEndian<double>(units + 4);
        values.baseHeight = h.BaseHeight = qFromLittleEndian<double>(units + 12);
    }
    // The checks of a TER file's header, so a damaged backup is refused as a damaged file is.
    const TerFile::Result checked = TerFile::checkHeader(values);
    if (!checked.ok()) return fail(error, TerFile::refusalText(fileName, checked));

    std::vector<int32_t, UnclearedAllocator<int32_t>> heights(size_t(side * side));
    qFromLittleEndian<int32_t>(body.constData(), qsizetype(heights.size()), heights.data());
    // Heights no edit can leave: Range could not tell their span.
    int64_t lo = INT64_MAX, hi = INT64_MIN;
    for (int32_t y = 0; y <= h.Size; ++y)
        for (int32_t x = 0; x <= h.Size; ++x) {
            const int64_t v = heights[size_t(y) * size_t(side) + size_t(x)];
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    if (hi - lo > INT32_MAX)
        return fail(error, QStringLiteral("The backup file %1 holds heights from %2 to %3: more than a terrain can span.")
                               .arg(fileName)
                               .arg(lo)
                               .arg(hi));

    // Checked: now the terrain is replaced. The cache stays empty as Init
    // leaves it; the caller calls Range.
    m_header = h;
    setSize(h.Size);
    m_side = int32_t(side);
    m_data.swap(heights);
    m_max = -400000;
    m_min = 400000;
    return true;
}
