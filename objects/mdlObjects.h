#pragma once
// Placed objects: small square grey pictures over the top view whose pixels
// are heights. The table of slots, the loader every object comes in through,
// merging into the terrain, and the picture transforms. No widgets here: the
// main window shows the slots' pictures and is told when they change.

#include "terrain/clsTerrain.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

struct ObjectRecord {
    double X = 0;        // left column on the grid
    double Y = 0;        // top row on the grid
    double H1 = 0;       // raw height a white pixel stands for
    double XSpread = 0;  // extent read by the merge, in picture pixels
    double YSpread = 0;
    QString Name;
    QString FileName;
    int16_t Mode = 0;    // merge mode 0..6 (ObjectMergeMode)
    int32_t H2 = 0;      // raw height over the terrain, mode 4
};

enum ObjectMergeMode : int16_t {
    ModeAdd = 0,
    ModeSubtract = 1,
    ModeMultiply = 2,
    ModeDivide = 3,
    ModePutOnTerrain = 4,
    ModeHighest = 5,
    ModeLowest = 6,
};

// The folder the object and object-maker file dialogs start in ([Directory] Objects).
extern QString ObjectDirectory;

namespace mdlObjects {

constexpr int FirstObjectSlot = 6;
constexpr int LastObjectSlot = 32;  // 27 objects at most

// The object slots 6..32 (records indexed 0..99 as the window's tables are).
class ObjectTable {
public:
    bool exists(int slot) const;
    QImage& picture(int slot);
    const QImage& picture(int slot) const;
    ObjectRecord& record(int slot) { return m_records.at(size_t(slot)); }
    const ObjectRecord& record(int slot) const { return m_records.at(size_t(slot)); }
    std::optional<int> freeSlot() const;
    void take(int slot, QImage picture);
    void release(int slot);
    void releaseAll();
    std::vector<int> usedSlots() const;  // in slot order
    int count() const;

private:
    std::array<ObjectRecord, 100> m_records;
    std::array<std::optional<QImage>, LastObjectSlot + 1> m_pictures;
};

// The one table of placed objects.
ObjectTable& PlacedObjects();

// Loads the bitmap file as a new placed object in the first free slot at the
// top-left corner: mode Add, H2 0, H1 from the brightest pixel. Refuses with a
// message (and takes no slot) when all slots are used, the file is no readable
// picture, the picture is not square, or it is wider than the current
// terrain's Size. The file stays where it is. Returns the slot, or nothing;
// the caller shows the object placed there.
std::optional<int> loadObjectMaker(const QString& bitmapPath);

// The same against an explicit table and terrain side limit (tests, callers
// that keep their own table).
std::optional<int> loadObject(ObjectTable& table, const QString& bitmapPath, int maxSide,
                              const QString& fileName = QString());

// H1 of a picture: its largest colour value (red + 256 green + 65536 blue)
// divided by 256.
double objectHeightScale(const QImage& picture);

// Draws the heights of a TER file as a grey picture, upside down against the
// file's rows, and saves it as a bitmap at bitmapPath, pumping events with
// progress on progressOn (the terrain the window shows) per row. False with a
// message when the file is no terrain, too big, short, or the bitmap cannot be
// written.
bool LoadTer2Picture(const QString& fileName, const QString& bitmapPath, QImage& pic, const clsTerrain& progressOn);

// Stamps the object into the terrain by its mode. Sums are worked out wide and
// stored clamped to the 32-bit range. Does not rescale.
void MergeObject(clsTerrain& terrain, const QImage& picture, const ObjectRecord& record);

// The five orientation commands.
enum class ObjectTransform { RotateRight, RotateLeft, ReflectHorizontal, ReflectVertical, ReflectDiagonal };
QImage transformObject(const QImage& picture, ObjectTransform transform);

// Mask text for "Save as Mask": "(x= 10 y= 20 to - x= 110 y= 121)".
QString maskCoordinateText(const ObjectRecord& record);
// The chosen name with suffix put before its ending ".bmp" (any case, kept as
// typed): without a suffix exactly the chosen file. Nothing when the name
// does not end in ".bmp".
std::optional<QString> objectBitmapName(const QString& chosen, const QString& suffix = QString());

// The picture filters of the object menu: number and parameter.
struct ObjectFilter {
    int32_t number;
    int32_t parameter;
};
// Runs a picture filter over the picture (nothing changes when it fails).
bool filterObject(QImage& picture, ObjectFilter filter);

// Saves the object's picture / its black-and-white mask as a bitmap; a failed
// write keeps the old file.
bool saveObjectBitmap(const QImage& picture, const QString& path, QString* error = nullptr);
bool saveObjectMask(const QImage& picture, const QString& path, QString* error = nullptr);

} // namespace mdlObjects
