#include "generate/Elevator.h"

#include "generate/KVFilter.h"
#include "runtime/ByteIO.h"
#include "runtime/Files.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/clsTerrain.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

int32_t ElevatorGridSize = 256;
QString ElevatorFile;
std::vector<uint8_t> ElevatorGrid;
int32_t CurrentElevatorSet = 0;

namespace {

// A curve byte holds rows 0..255; the bottom row N cannot be stored, so a
// column marked only there keeps the nearest storable row.
constexpr int32_t kLowestStoredRow = 255;
constexpr int32_t kCurveBytes = int32_t(ElevatorRecordLength) - ElevatorNameLength;

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Sets are stored beside ElevatorFile while its folder can be written; where
// it cannot (an installed program folder) they go to the user's own copy.
QString setFileToWrite()
{
    if (ElevatorFile.isEmpty() || rt::folderWritable(ElevatorFile)) return ElevatorFile;
    return rt::userDataPath(QFileInfo(ElevatorFile).fileName(), true);
}

// The user's copy, once there is one, holds the sets saved over those of
// ElevatorFile, so it is read in its place.
QString setFileToRead()
{
    const QString own = setFileToWrite();
    return QFileInfo(own).isFile() ? own : ElevatorFile;
}

// The whole set file, read as the other whole-file readers read theirs.
// nullopt when there is none (*missing true) or it cannot be read: no regular
// file, unreadable or larger than they take (*why names what it is).
std::optional<QByteArray> readSetFile(const QString& path, bool* missing, QString* why)
{
    *missing = path.isEmpty() || !QFileInfo::exists(path);
    if (*missing) return std::nullopt;
    QString reason;
    auto data = rt::readWholeFile(path, &reason);
    if (!data) *why = QStringLiteral("The elevator set file %1 cannot be read: %2").arg(shownPath(path), reason);
    return data;
}

// The name as stored, cut at the first NUL.
QString recordName(const QByteArray& record)
{
    QByteArray name = record.left(ElevatorNameLength);
    const int nul = name.indexOf('\0');
    if (nul >= 0) name.truncate(nul);
    return QString::fromLatin1(name);
}

// The record for the current grid: name, then for each column the row the
// shift uses, its upper marked row.
QByteArray recordFromGrid(const QString& name)
{
    const int32_t N = ElevatorGridSize;
    QByteArray record = name.toLatin1().left(ElevatorNameLength).leftJustified(ElevatorNameLength, ' ');
    QByteArray curve(kCurveBytes, char(kLowestStoredRow));
    for (int32_t i = 0; i <= N; ++i) {
        const int32_t k = N - i;
        if (k < 0 || k >= kCurveBytes) continue;
        for (int32_t j = 0; j <= N - 1 && j <= kLowestStoredRow; ++j)
            if (elevatorCell(i, j) == 1) {
                curve[k] = char(uint8_t(j));
                break;
            }
    }
    return record + curve;
}

// First marked row of column c from the top; -1 when there is none.
int32_t firstMarkedRow(int32_t c)
{
    for (int32_t r = 0; r <= ElevatorGridSize; ++r)
        if (elevatorCell(c, r) == 1) return r;
    return -1;
}

} // namespace

uint8_t& elevatorCell(int32_t column, int32_t row)
{
    const size_t side = size_t(std::max<int32_t>(ElevatorGridSize, 0)) + 1;
    if (ElevatorGrid.size() != side * side) ElevatorGrid.assign(side * side, 0);
    return ElevatorGrid[size_t(row) * side + size_t(column)];
}

void resetElevatorGrid()
{
    const int32_t N = std::max<int32_t>(ElevatorGridSize, 0);
    ElevatorGrid.assign(size_t(N + 1) * size_t(N + 1), 0);
    for (int32_t i = 0; i <= N; ++i) elevatorCell(N - i, i) = 1;
}

QString ReadElevatorRecord(int32_t n, QString* error)
{
    // The diagonal first, so every refusal leaves the straight curve.
    resetElevatorGrid();
    const QString nothing = QStringLiteral("nothing");
    const QString path = setFileToRead();
    bool missing = false;
    QString why;
    const auto data = readSetFile(path, &missing, &why);
    if (!data) {
        if (error)
            *error = missing ? QStringLiteral("The elevator set file %1 was not found.").arg(shownPath(path)) : why;
        return nothing;
    }
    // Past the end: nothing; exactly at the end: the empty name that ends the list.
    const int64_t offset = int64_t(std::max(n, 0)) * ElevatorRecordLength;
    if (n < 0 || offset > data->size()) return nothing;
    if (offset == data->size()) return QString();
    // A set cut short is refused rather than half loaded.
    const QByteArray record = data->mid(qsizetype(offset), qsizetype(ElevatorRecordLength));
    if (record.size() != ElevatorRecordLength) {
        if (error)
            *error = QStringLiteral("Elevator set %1 in %2 is incomplete; the straight curve is used.")
                         .arg(n + 1)
                         .arg(shownPath(path));
        return nothing;
    }
    // Each stored column holds just its stored row: the diagonal beside it
    // would win wherever the curve lies below it, and be saved in its place.
    const int32_t N = ElevatorGridSize;
    for (int32_t x = 0; x <= N && x < kCurveBytes; ++x) {
        const int32_t r = uint8_t(record.at(ElevatorNameLength + x));
        if (r <= N) drawElevatorPoint(N - x, r);
    }
    return recordName(record);
}

bool WriteElevatorRecord(const QString& name, int32_t n, QString* error)
{
    // A cancelled or empty name writes nothing.
    if (name.isEmpty()) return true;
    const auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QByteArray record = recordFromGrid(name);
    // The whole file is rewritten in one step, so a failure keeps the old one;
    // a first save to the user's copy takes the sets of ElevatorFile along.
    const QString source = setFileToRead();
    const QString target = setFileToWrite();
    // No file yet is an empty one; one that cannot be read is not replaced.
    bool missing = false;
    QString why;
    const auto old = readSetFile(source, &missing, &why);
    if (!old && !missing) return fail(why);
    QByteArray data = old.value_or(QByteArray());
    const int64_t offset = int64_t(n) * ElevatorRecordLength;
    if (n < 0 || offset > data.size())
        return fail(QStringLiteral("Elevator set %1 cannot be stored in %2: the file holds fewer sets.")
                        .arg(n + 1)
                        .arg(shownPath(source)));
    // A set written over an incomplete last set replaces it whole.
    if (offset + ElevatorRecordLength > data.size()) data.resize(qsizetype(offset + ElevatorRecordLength));
    data.replace(qsizetype(offset), qsizetype(ElevatorRecordLength), record);
    if (!rt::writeFileAtomic(target, data, &why))
        return fail(QStringLiteral("The elevator set file %1 cannot be written: %2").arg(shownPath(target), why));
    return true;
}

QStringList ElevatorSetNames(QString* error)
{
    QStringList names;
    const QString path = setFileToRead();
    bool missing = false;
    QString why;
    const auto data = readSetFile(path, &missing, &why);
    if (!data) {
        if (error && !missing) *error = why;
        return names;
    }
    for (qsizetype at = 0; at + ElevatorRecordLength <= data->size(); at += ElevatorRecordLength) {
        const QString name = recordName(data->mid(at, ElevatorRecordLength));
        if (name.isEmpty()) return names;
        names << name;
    }
    if (data->size() % ElevatorRecordLength != 0 && error)
        *error = QStringLiteral("The last elevator set in %1 is incomplete and is not listed.").arg(shownPath(path));
    return names;
}

std::vector<QPoint> elevatorCurvePoints()
{
    const int32_t N = ElevatorGridSize;
    std::vector<QPoint> points{QPoint(0, N)};
    for (int32_t i = N; i >= 0; --i)
        for (int32_t j = 0; j <= N; ++j)
            if (elevatorCell(i, j) == 1) points.emplace_back(i, j);
    return points;
}

void drawElevatorPoint(int32_t column, int32_t row)
{
    const int32_t N = ElevatorGridSize;
    column = std::clamp(column, 0, N);
    row = std::clamp(row, 0, N);
    for (int32_t r = 0; r <= N; ++r) elevatorCell(column, r) = 0;
    elevatorCell(column, row) = 1;
}

std::optional<int32_t> elevatedHeight(int32_t h)
{
    const int64_t hH = int64_t(h) + 32768;
    if (hH < 0) return std::nullopt;
    // Column and remainder from the same division: a rounded column would
    // lift every height in the upper half of its 512 steps by 512, so even
    // the straight curve would change the terrain.
    const int64_t column = hH / 512;
    const int64_t rest = hH % 512;
    if (column > ElevatorGridSize) return std::nullopt;
    const int32_t r = firstMarkedRow(int32_t(column));
    if (r < 0) return std::nullopt;
    return rt::saturateToInt32(rest + 512 * int64_t(ElevatorGridSize - r) - 32768);
}

namespace {

// The curve read once for a whole shift: per column the output height of
// its lowest input (512 (N - row) - 32768), or kNoMark.
constexpr int64_t kNoMark = INT64_MIN;

std::vector<int64_t> columnBases()
{
    const int32_t N = ElevatorGridSize;
    std::vector<int64_t> bases(size_t(std::max<int64_t>(int64_t(N) + 1, 0)), kNoMark);
    for (size_t c = 0; c < bases.size(); ++c) {
        const int32_t r = firstMarkedRow(int32_t(c));
        if (r >= 0) bases[c] = 512 * (int64_t(N) - r) - 32768;
    }
    return bases;
}

} // namespace

void ElevatorShift(clsTerrain& ter, float& strength, std::optional<int32_t> extent, int32_t x0, int32_t y0,
                   int32_t zMin, int32_t zMax)
{
    (void)strength;
    rt::ui().setStatusText(QStringLiteral("Elevator shift..."));
    rt::BusyGuard busy;
    // Only a curve accepted with OK is applied, and only once.
    if (elevatorCell(0, 0) == 0) return;
    elevatorCell(0, 0) = 0;
    const std::vector<int64_t> bases = columnBases();
    const uint64_t columns = bases.size();
    // Over the window inside the grid, a column at a time with progress.
    const int32_t ext = extent.value_or(ter.XPoints());
    const int64_t last = KVFilter::lastPoint(ter);
    const int64_t xLast = std::min<int64_t>(int64_t(x0) + ext, last);
    const int64_t yLast = std::min<int64_t>(int64_t(y0) + ext, last);
    const int64_t yFirst = std::max(y0, 0);
    const int64_t across = std::max<int64_t>(ter.XPoints(), 1);
    // The lowest and highest height written, and where, widen the min/max
    // cache at the end exactly as writing every point would.
    int32_t lo = INT32_MAX, hi = INT32_MIN;
    int64_t loX = -1, loY = -1, hiX = -1, hiY = -1;
    for (int64_t x = std::max(x0, 0); x <= xLast; ++x) {
        ter.pProgress = int32_t(std::clamp<int64_t>(100 * x / across, 0, 100));
        rt::DoEvents();
        for (int64_t y = yFirst; y <= yLast; ++y) {
            // Rows are read as GetPoint reads them: y held to 16 bits.
            const int32_t h = ter.row(int32_t(std::min<int64_t>(y, INT16_MAX)))[x];
            if (h <= zMin || h >= zMax) continue;
            // A height below the grid wraps to a huge column and is skipped too.
            const uint64_t hH = uint64_t(int64_t(h) + 32768);
            const uint64_t column = hH / 512;
            if (column >= columns || bases[column] == kNoMark) continue;
            const int32_t out = rt::saturateToInt32(int64_t(hH % 512) + bases[column]);
            ter.row(int32_t(y))[x] = out;
            if (out < lo) lo = out, loX = x, loY = y;
            if (out > hi) hi = out, hiX = x, hiY = y;
        }
    }
    if (loX >= 0) ter.SetPoint(int32_t(loX), int32_t(loY), lo);
    if (hiX >= 0) ter.SetPoint(int32_t(hiX), int32_t(hiY), hi);
}
