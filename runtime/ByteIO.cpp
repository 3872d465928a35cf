#include "runtime/ByteIO.h"

#include "runtime/Files.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace rt {

void LeWriter::f32(float v)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    put(bits, 4);
}

void LeWriter::fixedText(const QByteArray& text, qsizetype n)
{
    QByteArray t = text.left(n);
    t.append(QByteArray(n - t.size(), '\0'));
    m_data.append(t);
}

bool LeReader::fits(qint64 pos1, qint64 n)
{
    // Compared without adding, so positions near the top of the range cannot overflow.
    if (pos1 < 1 || n < 0 || n > m_data.size() || pos1 - 1 > m_data.size() - n) {
        m_short = true;
        return false;
    }
    return true;
}

static uint32_t getLe(const char* p, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(p[i])) << (8 * i);
    return v;
}

std::optional<int16_t> LeReader::i16At(qint64 pos1)
{
    if (!fits(pos1, 2)) return std::nullopt;
    return static_cast<int16_t>(getLe(m_data.constData() + pos1 - 1, 2));
}

std::optional<int32_t> LeReader::i32At(qint64 pos1)
{
    if (!fits(pos1, 4)) return std::nullopt;
    return static_cast<int32_t>(getLe(m_data.constData() + pos1 - 1, 4));
}

std::optional<float> LeReader::f32At(qint64 pos1)
{
    if (!fits(pos1, 4)) return std::nullopt;
    const uint32_t bits = getLe(m_data.constData() + pos1 - 1, 4);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

std::optional<QByteArray> LeReader::bytesAt(qint64 pos1, qint64 n)
{
    if (!fits(pos1, n)) return std::nullopt;
    return m_data.mid(pos1 - 1, n);
}

std::optional<QByteArray> readWholeFile(const QString& path, QString* error, qint64 maxBytes)
{
    QFile f(path);
    if (!openRegularFile(f, error)) return std::nullopt;
    const auto tooLong = [&] {
        if (error) *error = QStringLiteral("The file is too large (more than %1 bytes).").arg(maxBytes);
        return std::nullopt;
    };
    if (f.size() > maxBytes) return tooLong();
    // In pieces up to one byte past the limit: the file may grow while it is read.
    QByteArray data;
    data.reserve(qsizetype(f.size()));
    while (data.size() <= maxBytes) {
        const QByteArray piece = f.read(std::min<qint64>(1 << 20, maxBytes + 1 - data.size()));
        if (piece.isEmpty()) break;
        data += piece;
    }
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    if (data.size() > maxBytes) return tooLong();
    return data;
}

bool writeAll(QFileDevice& file, const char* p, qint64 n)
{
    while (n > 0) {
        const qint64 written = file.write(p, n);
        if (written <= 0) return false;
        p += written;
        n -= written;
    }
    return true;
}

QString writeErrorText(const QFileDevice& file)
{
    // Qt reports a write that stopped short without a reason as "Unknown error".
    if (file.error() != QFileDevice::NoError && file.errorString() != QLatin1String("Unknown error"))
        return file.errorString();
    return QStringLiteral("The file could not be written whole; the disk may be full.");
}

// Unbuffered: every write reaches the system at once, so a failure has its
// reason and no failed flush can hide inside the commit.
// A pipe, device or folder in the file's place (or behind a link) is never
// replaced by a regular file: the user named something else than a file.
AtomicFile::AtomicFile(const QString& path) : m_file(path), m_refusal(writeTargetProblem(path))
{
    m_ok = m_refusal.isEmpty() && m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void AtomicFile::write(const char* p, qint64 n)
{
    if (m_ok && !writeAll(m_file, p, n)) m_ok = false;
}

bool AtomicFile::commit(QString* error)
{
    // Checked again: something else may have taken the file's place meanwhile.
    if (m_refusal.isEmpty()) m_refusal = writeTargetProblem(m_file.fileName());
    if (m_ok && m_refusal.isEmpty() && m_file.commit()) return true;
    if (error) *error = m_refusal.isEmpty() ? writeErrorText(m_file) : m_refusal;
    if (m_file.isOpen()) m_file.cancelWriting();
    return false;  // an uncommitted QSaveFile removes its temporary file
}

bool writeFileAtomic(const QString& path, const QByteArray& data, QString* error)
{
    AtomicFile f(path);
    f.write(data);
    return f.commit(error);
}

} // namespace rt
