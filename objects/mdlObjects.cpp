#include "objects/mdlObjects.h"

#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/TerrainPicture.h"

#include <algorithm>

QString ObjectDirectory;

namespace mdlObjects {

namespace {
bool isObjectSlot(int slot) { return slot >= FirstObjectSlot && slot <= LastObjectSlot; }

const QString kLoadTitle = QStringLiteral("Load Object");
} // namespace

// --- the slot table -------------------------------------------------------------

bool ObjectTable::exists(int slot) const
{
    return isObjectSlot(slot) && m_pictures[size_t(slot)].has_value();
}

QImage& ObjectTable::picture(int slot) { return m_pictures.at(size_t(slot)).value(); }
const QImage& ObjectTable::picture(int slot) const { return m_pictures.at(size_t(slot)).value(); }

std::optional<int> ObjectTable::freeSlot() const
{
    for (int i = FirstObjectSlot; i <= LastObjectSlot; ++i)
        if (!exists(i)) return i;
    return std::nullopt;
}

void ObjectTable::take(int slot, QImage picture)
{
    if (isObjectSlot(slot)) m_pictures[size_t(slot)] = std::move(picture);
}

void ObjectTable::release(int slot)
{
    if (isObjectSlot(slot)) m_pictures[size_t(slot)].reset();
}

void ObjectTable::releaseAll()
{
    for (auto& p : m_pictures) p.reset();
}

std::vector<int> ObjectTable::usedSlots() const
{
    std::vector<int> used;
    for (int i = FirstObjectSlot; i <= LastObjectSlot; ++i)
        if (exists(i)) used.push_back(i);
    return used;
}

int ObjectTable::count() const { return int(usedSlots().size()); }

ObjectTable& PlacedObjects()
{
    static ObjectTable table;
    return table;
}

// --- the loader -----------------------------------------------------------------

double objectHeightScale(const QImage& picture)
{
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    int64_t brightest = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = line[x];
            const int64_t c = qRed(p) + 256 * int64_t(qGreen(p)) + 65536 * int64_t(qBlue(p));
            brightest = std::max(brightest, c);
        }
    }
    return double(brightest) / 256.0;
}

std::optional<int> loadObject(ObjectTable& table, const QString& bitmapPath, int maxSide, const QString& fileName)
{
    // A free slot (slots 6..32).
    const std::optional<int> slot = table.freeSlot();
    if (!slot) {
        rt::MsgBox(QStringLiteral("to many objects"), rt::vbOKOnly, kLoadTitle);
        return std::nullopt;
    }
    // The picture; one that cannot be read places nothing.
    QString error;
    QImage pic = LoadPicture(bitmapPath, &error);
    if (pic.isNull()) {
        rt::MsgBox(QStringLiteral("The picture cannot be read:\n%1\n%2").arg(bitmapPath, error), rt::vbCritical,
                   kLoadTitle);
        return std::nullopt;
    }
    pic = pic.convertToFormat(QImage::Format_RGB32);
    // Square, and no wider than the view's scale (the terrain's Size).
    const double xSpread = pic.height();
    const double ySpread = pic.width();
    if (xSpread != ySpread) {
        rt::MsgBox(QStringLiteral("Object not square !"), rt::vbCritical, kLoadTitle);
        return std::nullopt;
    }
    if (maxSide < xSpread) {
        rt::MsgBox(QStringLiteral("Object too large!"), rt::vbCritical, kLoadTitle);
        return std::nullopt;
    }
    // The record: top-left corner, mode Add, H1 from the brightest pixel.
    ObjectRecord& r = table.record(*slot);
    r = ObjectRecord{};
    r.FileName = fileName;
    r.XSpread = xSpread;
    r.YSpread = ySpread;
    r.Name = QStringLiteral("Object") + rt::Str(*slot - (FirstObjectSlot - 1));
    r.H1 = objectHeightScale(pic);
    table.take(*slot, std::move(pic));
    return slot;
}

std::optional<int> loadObjectMaker(const QString& bitmapPath)
{
    rt::BusyGuard busy;
    const int maxSide = CurrentTerrain ? CurrentTerrain->Size() : 0;
    return loadObject(PlacedObjects(), bitmapPath, maxSide, bitmapPath);
}

} // namespace mdlObjects
