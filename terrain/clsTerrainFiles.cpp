// TER files and the backup file of clsTerrain. Both are built whole in memory
// and written through a temporary file renamed into place, so a failed save
// leaves the old file and a shorter terrain leaves no stale tail.

#include "terrain/clsTerrain.h"

#include "runtime/ByteIO.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

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

bool fail(QString* error, const QString& text)
{
    if (error) *error = text;
    return false;
}

} // namespace

bool clsTerrain::SaveT(const QString& fileName, QString* error)
{
    // 1.-2.
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
    if (rows < 1 || cols < 1 || rows > m_side || cols > m_side)
        return fail(error, QStringLiteral("The terrain's grid does not match its size %1.").arg(m_header.Size));

    // 3.-4.
    rt::LeWriter w;
    w.reserve(kHeaderBytes + 2 * qsizetype(rows) * cols + 4);
    writeHeader(w, m_header);
    QByteArray out = w.data();
    const qsizetype heightsAt = out.size();
    out.resize(heightsAt + 2 * qsizetype(rows) * cols);
    char* dst = out.data() + heightsAt;
    // 5. File row k holds the terrain's row Size - k; heights saturate to 16 bits.
    const int32_t size = m_header.Size;
    for (int32_t r = rows - 1; r >= 0; --r) {
        pProgress = size > 0 ? rt::CLng(double(size - r) / size * 100.0) : 100;
        const int32_t* h = row(r);
        for (int32_t c = 0; c < cols; ++c, dst += 2)
            qToLittleEndian<int16_t>(int16_t(std::clamp<int32_t>(h[c], INT16_MIN, INT16_MAX)), dst);
        rt::DoEvents();
    }
    // 6.-7.
    out.append("EOF", 3);
    out.append('\0');
    if (!rt::writeFileAtomic(fileName, out, error)) return false;
    pProgress = 100;
    return true;
}

bool clsTerrain::LoadArray(const QByteArray& fileData, int64_t pos)
{
    const int32_t size = m_header.Size;
    const int64_t n = int64_t(size) + 1;
    if (size < 0 || n > m_side || pos < 1) return false;
    if (pos - 1 + 2 * n * n > fileData.size()) return false;
    // File row k is the terrain's row Size - k; rows are read straight in.
    const char* src = fileData.constData() + (pos - 1);
    int32_t lo = m_min, hi = m_max;
    for (int64_t k = 0; k < n; ++k) {
        int32_t* h = row(int32_t(size - k));
        const char* s = src + 2 * k * n;
        for (int64_t x = 0; x < n; ++x) {
            const int32_t v = qFromLittleEndian<int16_t>(s + 2 * x);
            h[x] = v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
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
    rt::LeWriter w;
    const qsizetype heightBytes = 4 * qsizetype(m_data.size());
    w.reserve(kHeaderBytes + heightBytes);
    writeHeader(w, m_header);
    QByteArray out = w.data();
    const qsizetype heightsAt = out.size();
    out.resize(heightsAt + heightBytes);
    char* dst = out.data() + heightsAt;
    for (const int32_t v : m_data) {
        qToLittleEndian<int32_t>(v, dst);
        dst += 4;
    }
    return rt::writeFileAtomic(fileName, out, error);
}

bool clsTerrain::LoadBackup(const QString& fileName, QString* error)
{
    if (!QFileInfo(fileName).isFile())
        return fail(error, QStringLiteral("The backup file %1 does not exist.").arg(fileName));
    const std::optional<QByteArray> data = rt::readWholeFile(fileName, error);
    if (!data) return false;
    if (data->size() < kHeaderBytes)
        return fail(error, QStringLiteral("The backup file %1 is too short.").arg(fileName));
    const TerHeader h = readHeader(*data);
    if (h.Size < 1 || h.Size > kLargestBackupSize)
        return fail(error, QStringLiteral("The backup file %1 holds an invalid size %2.").arg(fileName).arg(h.Size));
    const qsizetype side = qsizetype(h.Size) + 3;
    if (data->size() != kHeaderBytes + 4 * side * side)
        return fail(error, QStringLiteral("The backup file %1 has the wrong length for size %2.")
                               .arg(fileName)
                               .arg(h.Size));

    // Checked: now the terrain is replaced. The cache stays empty as Init
    // leaves it; the caller calls Range.
    m_header = h;
    Init(int32_t(h.Size) + 1);
    const char* src = data->constData() + kHeaderBytes;
    for (int32_t& v : m_data) {
        v = qFromLittleEndian<int32_t>(src);
        src += 4;
    }
    return true;
}
