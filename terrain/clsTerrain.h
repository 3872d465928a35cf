#pragma once
// The terrain height field: a square grid of raw heights with the header values
// of a TER file, unit conversions, a min/max cache, point access, pens and
// reflections. Property reads are named after the property (MaxTU(), Size());
// property writes are setX(v).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// The header values of a TER file, in the order of its first 80 bytes. A
// file holds HeightScale and BaseHeight as 16-bit values; in memory they are
// exact, so a rescale can keep every point's terrain units, and only the
// writers choose values a file can hold.
struct TerHeader {
    char Magic[20] = {};
    int16_t Size = 256;
    char TagX[6] = {};
    int16_t XPoints = 257;
    char TagY[6] = {};
    int16_t YPoints = 257;
    char TagS[6] = {};
    float ScaleX = 30.0f;
    float ScaleY = 30.0f;
    float ScaleZ = 30.0f;
    char TagR[4] = {};
    float CRAD = 6370.0f;
    char TagC[4] = {};
    int16_t CRVM = 0;
    char TagA[6] = {};
    double HeightScale = 30;
    double BaseHeight = 5;
};

// Two-dimensional array of 32-bit heights as GetTerrain/SetTerrain hand it over:
// a(x, y), x fastest.
class HeightArray {
public:
    HeightArray() = default;
    HeightArray(int width, int height) : m_w(width), m_h(height), m_v(size_t(width) * size_t(height), 0) {}
    int width() const { return m_w; }
    int height() const { return m_h; }
    int32_t& operator()(int x, int y) { return m_v[size_t(y) * size_t(m_w) + size_t(x)]; }
    int32_t operator()(int x, int y) const { return m_v[size_t(y) * size_t(m_w) + size_t(x)]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_w && y < m_h; }

private:
    int m_w = 0;
    int m_h = 0;
    std::vector<int32_t> m_v;
};

// An allocator whose resize leaves new ints unset, for a grid that the
// caller writes in full anyway: clearing 16 MB first costs as much as the
// writing.
template <class T>
struct UnclearedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UnclearedAllocator<U>;
    };
    UnclearedAllocator() = default;
    template <class U>
    UnclearedAllocator(const UnclearedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

class clsTerrain {
public:
    clsTerrain();

    // Progress of the long operation now running, 0..100. Mutable: work that
    // only reads a terrain, such as drawing it, reports on it too.
    mutable int32_t pProgress = 0;

    // --- header properties --------------------------------------------------
    bool FixHeight() const { return m_fixHeight; }
    void setFixHeight(bool v) { m_fixHeight = v; }
    // Terrain units at the top and bottom of the raw range, to the nearest
    // whole unit (halves to even), as the panels show them.
    int16_t MaxTU();
    int16_t MinTU();
    // The same ends as the header holds them.
    double exactMaxTU() const { return m_header.BaseHeight + m_header.HeightScale / 2.0; }
    double exactMinTU() const { return m_header.BaseHeight - m_header.HeightScale / 2.0; }
    // Gives the terrain the unit range low..top exactly, each end first held
    // to 16 bits. The end kept stays; the other, written at or past it, lands
    // one unit inside it, and gives way where the span would pass 16 bits.
    void setUnitRange(double low, double top, bool keepTop);
    // One end written, the other kept exactly.
    void setMaxTU(int16_t v) { setUnitRange(exactMinTU(), v, false); }
    void setMinTU(int16_t v) { setUnitRange(v, exactMaxTU(), true); }
    double BaseHeight() const { return m_header.BaseHeight; }
    void setBaseHeight(double v) { m_header.BaseHeight = v; }
    double HeightScale() const { return m_header.HeightScale; }
    void setHeightScale(double v) { m_header.HeightScale = v; }
    // Whether HeightScale and BaseHeight are whole 16-bit values, as a TER
    // file holds them.
    bool headerFitsFile() const;
    int16_t CRVM() const { return m_header.CRVM; }
    void setCRVM(int16_t v) { m_header.CRVM = v; }
    float CRAD() const { return m_header.CRAD; }
    void setCRAD(float v) { m_header.CRAD = v; }
    float ScaleT() const { return m_header.ScaleZ; }
    void setScaleT(float v);
    int16_t YPoints() const { return m_header.YPoints; }
    void setYPoints(int16_t v);
    int16_t XPoints() const { return m_header.XPoints; }
    void setXPoints(int16_t v);
    // Writing Size, XPoints or YPoints sets all three (XPoints = YPoints =
    // Size + 1); the grid keeps its allocation until Init (point access stays
    // inside it).
    int16_t Size() const { return m_header.Size; }
    void setSize(int16_t v);
    const TerHeader& header() const { return m_header; }
    TerHeader& header() { return m_header; }

    // --- unit conversions -----------------------------------------------------
    // Metres-to-raw conversions give 0 when HeightScale or ScaleZ is 0; the
    // point readers clamp their indices like GetPoint.
    // Metres of a raw height: (BaseHeight + HeightScale x raw / 65536) x ScaleT,
    // in double precision; the one formula every reader of metres uses.
    double rawToMetres(double raw) const;
    float getMeter2Pixel(float m) const;
    float getPixel2Meters(float v) const;
    float GetV2Meter(float v) const;
    int32_t GetMeter2Int(float m) const;
    float GetPointMeters(int32_t x, int32_t y) const;
    float GetPointTU(int32_t x, int32_t y) const;
    float GetPointTUZ(int32_t v) const;

    // --- files (TER and backup) ----------------------------------------------
    // Each returns false with a message in *error when the file could not be
    // written or read; the terrain is unchanged by a failed load.
    // SaveT writes the heights as they are when the header and every height
    // fit a file; else under the finest header that holds them, each point at
    // its nearest raw value, and the terrain then takes those heights and that
    // header, as if the file had been opened.
    bool SaveT(const QString& fileName, QString* error = nullptr);
    // Whether a TER file can hold every height of 0..Size; when not, SaveT
    // cuts the ends. Rescans the range.
    bool fileHoldsHeights();
    // Whether a TER file holds the terrain exactly as it is in memory: a whole
    // 16-bit header and every height of 0..Size within 16 bits. Rescans the range.
    bool fileHoldsAsIs();
    bool SaveBackup(const QString& fileName, QString* error = nullptr);
    bool LoadBackup(const QString& fileName, QString* error = nullptr);
    // Widens `rows` rows of 16-bit little-endian file heights, file rows
    // firstRow on (file row k is the terrain's row Size - k), into the grid
    // and the min/max cache; false (nothing written) when they do not fit it.
    bool LoadRows(const char* bytes, int64_t firstRow, int64_t rows);

    // --- range ----------------------------------------------------------------
    // Spreads the heights over the full raw range around their centre
    // (spreadKeepingUnits). With FixHeight the header stays instead and only
    // heights beyond +-32767 are squeezed around their centre. Returns the new
    // Range.
    int32_t ScaleTerrain();
    // The spread without consulting FixHeight: factor 65535 / (r + 1) around
    // the centre of min..max over 0..Size, rounded halves to even, row and
    // column Size+1 too (Size+2 not). The header follows exactly, so every
    // point keeps its terrain units within half a new raw step. A flat terrain
    // and one spanning exactly 65534 raw steps are left as they are.
    int32_t spreadKeepingUnits();
    // Rescans min and max over 0..Size; returns max - min (saturated).
    int32_t Range();
    int32_t min() const { return m_min; }
    int32_t max() const { return m_max; }

    // --- grid -----------------------------------------------------------------
    // n points per side (1..32768), all 0, spare rows and columns Size+1 and
    // Size+2, empty min/max cache.
    void Init(int32_t n);
    // Init for a reader that writes every point 0..Size itself: those are
    // left unset (old or new memory), only the spare rows and columns are 0.
    void InitForReading(int32_t n);
    void Fill(int32_t v);
    void SetPoint(int32_t x, int32_t y, int32_t v);
    void IncrPoint(int32_t x, int32_t y, int32_t dv);
    int32_t GetPoint(int32_t x, int32_t y) const;
    int32_t operator()(int32_t x, int32_t y) const { return GetPoint(x, y); }
    int32_t GetPointH(int32_t x, int32_t y) const;

    // --- rectangle operations and pens ----------------------------------------
    // The reflections do nothing unless x1 <= x2, y1 <= y2 and both corners
    // lie in the grid; the pens may run off the grid freely.
    void GetReflectHor(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void GetReflectVer(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void GetCircle(int32_t cx, int32_t cy, int32_t r, int32_t v);
    void GetSquare(int32_t cx, int32_t cy, int32_t r, int32_t v);
    void GetNoise(int32_t cx, int32_t cy, int32_t r, int32_t v);

    // --- whole-array transfer ---------------------------------------------------
    void GetTerrain(HeightArray& a) const;
    void SetTerrain(const HeightArray& a);

    // Side length of the allocated grid (Size + 3 after Init), and direct
    // access for hot loops that have checked their indices.
    int32_t allocatedSide() const { return m_side; }
    int32_t* row(int32_t y) { return m_data.data() + size_t(y) * size_t(m_side); }
    const int32_t* row(int32_t y) const { return m_data.data() + size_t(y) * size_t(m_side); }
    // Widens the min/max cache by lo..hi, the values such a loop wrote.
    void widenRange(int32_t lo, int32_t hi)
    {
        widenCache(lo);
        widenCache(hi);
    }

    void swap(clsTerrain& other) noexcept;

private:
    int32_t ScanMinMax(uint8_t mode);
    // h := factor x (h - centre), rounded halves to even, over 0..XPoints by
    // 0..YPoints.
    void rescaleGrid(double factor, double centre);
    bool inGrid(int64_t x, int64_t y) const;
    // Largest index that is both within 0..Size+2 and allocated; -1 when none.
    int32_t lastIndex() const;
    // H(x, y) with both indices clamped into the allocated grid (0 when empty).
    int32_t clampedAt(int64_t x, int64_t y) const;
    void widenCache(int32_t v);

    TerHeader m_header;
    std::vector<int32_t, UnclearedAllocator<int32_t>> m_data;  // HeightData, x fastest
    int32_t m_side = 0;
    int32_t m_max = -400000;
    int32_t m_min = 400000;
    int16_t m_cachedMinTU = 0;
    int16_t m_cachedMaxTU = 0;
    bool m_fixHeight = false;
};
