#pragma once
// Little-endian binary files, written and read whole. Positions given to the
// reader count the first byte as 1; the loaders give their field positions so.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <cstdint>
#include <optional>

class QFileDevice;

namespace rt {

class LeWriter {
public:
    void i16(int16_t v) { put(static_cast<uint16_t>(v), 2); }
    void i32(int32_t v) { put(static_cast<uint32_t>(v), 4); }
    void f32(float v);
    void bytes(const char* p, qsizetype n) { m_data.append(p, n); }
    void bytes(const QByteArray& b) { m_data.append(b); }
    // Fixed-length text: cut or padded with zero bytes to n characters.
    void fixedText(const QByteArray& text, qsizetype n);
    void reserve(qsizetype n) { m_data.reserve(n); }

    const QByteArray& data() const { return m_data; }
    qsizetype size() const { return m_data.size(); }

private:
    void put(uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i) m_data.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
    QByteArray m_data;
};

// Reads values at 1-based positions. A read that runs past the end returns
// nothing and marks the reader short; it never reads outside the data.
class LeReader {
public:
    explicit LeReader(QByteArray data) : m_data(std::move(data)) {}

    std::optional<int16_t> i16At(qint64 pos1);
    std::optional<int32_t> i32At(qint64 pos1);
    std::optional<float> f32At(qint64 pos1);
    std::optional<QByteArray> bytesAt(qint64 pos1, qint64 n);

    bool wasShort() const { return m_short; }
    qint64 size() const { return m_data.size(); }
    const QByteArray& data() const { return m_data; }

private:
    bool fits(qint64 pos1, qint64 n);
    QByteArray m_data;
    bool m_short = false;
};

// Largest file readWholeFile takes unless told otherwise: far above any file
// the program reads whole, far below what would exhaust memory.
constexpr qint64 kReadWholeLimit = 64LL << 20;

// The whole file; nothing and an error text when it is no regular file (see
// openRegularFile), cannot be read or is longer than maxBytes (checked before
// a byte is read).
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr,
                                        qint64 maxBytes = kReadWholeLimit);

// Writes all n bytes. A short write is retried, so a full disk ends in a
// failed write whose error is the system's reason.
bool writeAll(QFileDevice& file, const char* p, qint64 n);

// Why a write to file failed: the system's reason when it gave one, else that
// the disk may be full (a write that stopped short without a reason).
QString writeErrorText(const QFileDevice& file);

// A file written in pieces into a temporary file that commit renames into
// place: the old file is replaced only when every write and the rename
// succeeded. A file never committed leaves nothing behind.
class AtomicFile {
public:
    explicit AtomicFile(const QString& path);
    // After a failed write the others are skipped and commit fails.
    void write(const char* p, qint64 n);
    void write(const QByteArray& b) { write(b.constData(), b.size()); }
    // False once opening or a write failed: a long writer may stop early.
    bool ok() const { return m_ok; }
    // True when the file now holds everything written; else false with the reason.
    bool commit(QString* error = nullptr);

private:
    QSaveFile m_file;
    QString m_refusal;  // why the path is no file to replace
    bool m_ok = false;
};

// Writes through a temporary file renamed into place, so a failed write leaves
// the old file as it was. Returns false with an error text on failure.
bool writeFileAtomic(const QString& path, const QByteArray& data, QString* error = nullptr);

} // namespace rt
