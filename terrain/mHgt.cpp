#include "terrain/mHgt.h"

#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"
#include "runtime/ByteIO.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace mTerLoad {

namespace {

const QString kTitle = QStringLiteral("Load HGT-File");
constexpr int kPoints = 1025;
constexpr int kVoid = -32768;
constexpr int kHighest = 9000;
// The finest HGT tiles (one arc second) have 3601 samples a side.
constexpr qint64 kLargestSide = 3601;

bool isErrorSample(int v)
{
    return v == kVoid || v > kHighest;
}

// Asks once per file whether error samples are repaired; remembers the answer.
class ErrorRepair {
public:
    int replace(int previous)
    {
        if (!m_asked) {
            m_asked = true;
            m_repair = rt::MsgBox(QStringLiteral("Errors in the height markings are in the file. "
                                                 "Shall I try to correct these errors?"),
                                  rt::vbYesNo, kTitle) == rt::vbYes;
            rt::ui().setStatusText(QStringLiteral("load DEM - Terrain ....."));
            rt::DoEvents();
        }
        return m_repair ? previous : 0;
    }

private:
    bool m_asked = false;
    bool m_repair = false;
};

// Resamples the file's grid onto a fresh 1025-point terrain. The progress is
// that of loading the current terrain, which fresh replaces afterwards.
void sampleGrid(const QByteArray& data, int side, clsTerrain& fresh)
{
    const int n = side - 1;
    const float step = float(n) / float(kPoints - 1);
    auto index = [&](int i) { return std::clamp<int64_t>(rt::roundHalfEven(double(i) * double(step)), 0, n); };
    ErrorRepair repair;
    int previous = 0;
    for (int x = 0; x < kPoints; ++x) {
        CurrentTerrain->pProgress = rt::CLng(x / 11.0);
        rt::DoEvents();
        const int64_t column = index(x);
        for (int y = 0; y < kPoints; ++y) {
            int h = readHgtSample(data, qsizetype(index(y) * side + column));
            if (isErrorSample(h)) h = repair.replace(previous);
            fresh.SetPoint(x, y, h);
            previous = h;
        }
    }
}

// Header of a 10-metre grid; FixHeight stays the current terrain's choice.
void setHgtHeader(clsTerrain& fresh)
{
    fresh.setBaseHeight(0);
    fresh.setHeightScale(30);
    fresh.setScaleT(10.0f);
    fresh.setCRVM(0);
    fresh.setCRAD(6340.0f);
    fresh.setFixHeight(CurrentTerrain->FixHeight());
}

// Terrain units are tenths of the file's metres: the raw heights, metres so
// far, stand for metres under HeightScale 65536 / ScaleT, and the spread
// keeps each point's terrain units, below sea level included. FixHeight is
// the user's choice for later rescales; the import sets its own header.
void scaleToMetres(clsTerrain& ter)
{
    ter.setHeightScale(65536.0 / ter.ScaleT());
    ter.spreadKeepingUnits();
}

void refuse(const QString& text)
{
    rt::MsgBox(text, rt::vbOKOnly | rt::vbExclamation, kTitle);
}

bool refuseLength(qint64 length)
{
    refuse(QStringLiteral("This is not a HGT file: its length must be twice a square number "
                          "of at least 4 and at most 3601 x 3601 (%1 bytes).")
               .arg(length));
    return false;
}

} // namespace

int readHgtSample(const QByteArray& data, qsizetype k)
{
    const auto hi = static_cast<uint8_t>(data[2 * k]);
    const auto lo = static_cast<uint8_t>(data[2 * k + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>((hi << 8) | lo));
}

int hgtGridSide(qint64 byteLength)
{
    if (byteLength < 8 || byteLength % 2 != 0) return 0;
    const qint64 samples = byteLength / 2;
    auto side = static_cast<qint64>(std::llround(std::sqrt(double(samples))));
    while (side * side > samples) --side;
    while ((side + 1) * (side + 1) <= samples) ++side;
    if (side * side != samples || side > kLargestSide) return 0;
    return int(side);
}

bool LoadHgtFile(const QString& fileName)
{
    if (!CurrentTerrain) return false;
    rt::BusyGuard busy;
    rt::DoEvents();

    // The length decides before a byte is read; then the file is read whole.
    const qint64 length = QFileInfo(fileName).isFile() ? QFileInfo(fileName).size() : 0;
    if (length > 0 && hgtGridSide(length) == 0) return refuseLength(length);
    QString error;
    const auto data = rt::readWholeFile(fileName, &error);
    if (!data) {
        refuse(QStringLiteral("The file could not be read: ") + error);
        return false;
    }
    const int side = hgtGridSide(data->size());
    if (side == 0) return refuseLength(data->size());

    // Resample into a fresh terrain.
    CurrentTerrain->pProgress = 0;
    rt::ui().setStatusText(QStringLiteral("load DEM - Terrain ......."));
    rt::DoEvents();
    clsTerrain fresh;
    fresh.Init(kPoints);
    sampleGrid(*data, side, fresh);

    // Header of a 10-metre grid.
    setHgtHeader(fresh);

    // The read succeeded: the new terrain takes the current one's place.
    CurrentTerrain->swap(fresh);
    scaleToMetres(*CurrentTerrain);
    CurrentTerrain->pProgress = 100;

    rt::DoEvents();
    return true;
}

} // namespace mTerLoad
