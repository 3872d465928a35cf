#pragma once
// The one reader of TER files. The terrain loader (mTerLoad) and the object
// loader (a terrain placed as an object) both read through it and word its
// refusals each in their own way.

#include <QString>

#include <cstdint>
#include <optional>

class clsTerrain;

namespace TerFile {

enum class Refusal {
    None,
    Unreadable,    // no regular file, or it could not be opened or read; detail holds why
    NotTerrain,    // the first 16 bytes are not "TERRAGENTERRAIN "
    NoSize,        // no "SIZE" in the leading bytes
    TooBig,        // Size 2050 or more
    BadSize,       // Size below 1
    NotSquare,     // XPTS and YPTS differ
    Inconsistent,  // XPTS or YPTS differs from Size + 1 (marker, markerValue)
    BadScale,      // SCAL's point spacing is zero, negative, infinite or not a number
    BadRadius,     // CRAD is infinite or not a number
    BadUnits,      // HeightScale is 0, or (held exactly) HeightScale or BaseHeight not a finite number
    HeaderCut,     // the file ends inside a header value
    HeightsCut,    // the file ends before the last height
    TooLong,       // far longer than its heights and markers need
};

struct Result {
    Refusal refusal = Refusal::None;
    QString detail;            // the system's reason for Unreadable
    int32_t size = 0;          // SIZE as the file gives it, once found
    int32_t points = 0;        // Size + 1, once the size is known to be sound
    int32_t xPoints = 0;       // as XPTS and YPTS give them (0 when missing)
    int32_t yPoints = 0;
    const char* marker = "";   // the marker that disagrees (Inconsistent)
    int32_t markerValue = 0;
    bool hasSize = false;      // markers found, known once the magic matched
    bool hasAltw = false;
    std::optional<int16_t> crvm;  // missing: the caller decides

    bool ok() const { return refusal == Refusal::None; }
};

// The header values a terrain file gives, before its heights are read.
struct HeaderValues {
    int32_t size = 0;
    int32_t xPoints = 0;  // 0: the file has no such marker
    int32_t yPoints = 0;
    float scaleZ = 30.0f;
    float crad = 6370.0f;
    double heightScale = 30;
    double baseHeight = 5;
};

// The checks every terrain header passes before its heights are read, by the
// TER reader and the backup reader alike: a size of 1..2049, point counts
// that agree with it, a point spacing that is a positive number, a finite
// planet radius, a height scale that is a number other than 0 and a finite
// base height. The
// result is r with the refusal and the point counts filled in.
Result checkHeader(const HeaderValues& v, Result r = {});

// The user's message for a refusal of fileName, "Terrain to big" excepted
// (the loader shows that one as it is).
QString refusalText(const QString& fileName, const Result& r);

// Reads the TER file into t: grid, heights, BaseHeight and HeightScale (5 and
// 30 without "ALTW"), ScaleT (30 without "SCAL"), CRAD (6370 without "CRAD");
// CRVM is left to the caller. Only the header and the heights are read, after
// the file's length was checked against them, so a huge or damaged file costs
// nothing. On refusal t may be half filled: read into a scratch terrain.
Result read(const QString& fileName, clsTerrain& t);

} // namespace TerFile
