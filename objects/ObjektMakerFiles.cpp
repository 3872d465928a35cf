#include "objects/ObjektMakerFiles.h"

#include "runtime/ByteIO.h"
#include "runtime/Picture.h"
#include "runtime/Ui.h"

#include <QFileInfo>

#include <algorithm>

namespace ObjektMaker {

namespace {

constexpr qint64 ProfileBytes = 2 * ProfileLength;
constexpr qint64 GridBytes = 2 * qint64(GridSide) * GridSide;
constexpr qint64 TagWindow = 100;

void writeProfile(rt::LeWriter& w, const Profile& p)
{
    for (int16_t v : p) w.i16(v);
}

Profile readProfile(rt::LeReader& r, qint64 pos1)
{
    Profile p{};
    for (int k = 0; k < ProfileLength; ++k) p[size_t(k)] = r.i16At(pos1 + 2 * k).value_or(0);
    return p;
}

// The 1-based position of a tag in the first 100 bytes; 0 when absent.
qint64 tagPosition(const QByteArray& data, const char* tag)
{
    const qsizetype at = data.left(TagWindow).indexOf(tag);
    return at < 0 ? 0 : at + 1;
}

void failWith(QString* error, const QString& text)
{
    if (error) *error = text;
}

} // namespace

QByteArray settingFileBytes(const State& state, const Controls& controls)
{
    rt::LeWriter w;
    w.reserve(SettingFileSize);
    w.bytes("OBJECTMAKER2", 12);
    w.bytes("RESMOD", 6);
    w.i32(state.ResultModeIndex);
    w.bytes("VIEWR", 5);
    w.i32(state.SavedView3D);
    w.bytes("ROTX", 4);
    w.i32(controls.RotationX);
    w.bytes("ROTM", 4);
    w.i32(controls.RotationMask);
    w.bytes("ROTY", 4);
    w.i32(controls.YCross);
    w.bytes("ARRAY", 5);
    writeProfile(w, state.XProfile);
    writeProfile(w, state.YProfile);

    // The mask goes into a copy of the grid: the result in memory stays the
    // result. Row and column 0 carry the mask too, so it comes back whole.
    Grid grid = state.ObjectGrid;
    const MaskReader mask(controls.Mask);
    for (int j = 0; j < PictureSide; ++j)
        for (int i = 0; i < PictureSide; ++i) grid(i, j) = mask.rounded(i, j);
    for (int16_t v : grid.cells()) w.i16(v);
    return w.data();
}

std::optional<SettingFile> parseSettingFile(const QByteArray& data, QString* error)
{
    rt::LeReader r(data);
    SettingFile file;
    const qint64 resmod = tagPosition(data, "RESMOD");
    const qint64 viewr = tagPosition(data, "VIEWR");
    const qint64 array = tagPosition(data, "ARRAY");
    if (!resmod || !viewr || !array) {
        failWith(error, QStringLiteral("This is no ObjectMaker settings file: the RESMOD, VIEWR or ARRAY entry is missing."));
        return std::nullopt;
    }

    const auto mode = r.i32At(resmod + 6);
    const auto view = r.i32At(viewr + 5);
    if (!mode || !view) {
        failWith(error, QStringLiteral("The ObjectMaker settings file is too short."));
        return std::nullopt;
    }
    if (*mode < 0 || *mode >= ResultModeCount) {
        failWith(error, QStringLiteral("The ObjectMaker settings file names an unknown mode (%1).").arg(*mode));
        return std::nullopt;
    }
    file.ResultMode = *mode;
    file.View3D = *view;

    // The rotation boxes are optional; present ones must hold a value.
    const std::pair<const char*, std::optional<int32_t>*> boxes[] = {
        {"ROTX", &file.RotationX}, {"ROTM", &file.RotationMask}, {"ROTY", &file.YCross}};
    for (const auto& [tag, value] : boxes) {
        if (const qint64 at = tagPosition(data, tag)) {
            *value = r.i32At(at + 4);
            if (!*value) {
                failWith(error, QStringLiteral("The ObjectMaker settings file is too short."));
                return std::nullopt;
            }
        }
    }
    for (const std::optional<int32_t>* check : {&file.RotationX, &file.RotationMask, &file.YCross}) {
        if (*check && **check != 0 && **check != 1) {
            failWith(error, QStringLiteral("The ObjectMaker settings file holds a check box value other than 0 or 1."));
            return std::nullopt;
        }
    }
    if (file.View3D != 0 && file.View3D != 1) {
        failWith(error, QStringLiteral("The ObjectMaker settings file holds a check box value other than 0 or 1."));
        return std::nullopt;
    }

    const qint64 profiles = array + 5;
    if (data.size() - (profiles - 1) < 2 * ProfileBytes + GridBytes) {
        failWith(error, QStringLiteral("The ObjectMaker settings file is too short: its profiles or its mask are missing."));
        return std::nullopt;
    }
    file.XProfile = readProfile(r, profiles);
    file.YProfile = readProfile(r, profiles + ProfileBytes);
    const qint64 grid = profiles + 2 * ProfileBytes;
    std::vector<int16_t>& cells = file.ObjectGrid.cells();
    for (size_t k = 0; k < cells.size(); ++k) cells[k] = r.i16At(grid + 2 * qint64(k)).value_or(0);
    return file;
}

void applySettingFile(const SettingFile& file, State& state, Controls& controls)
{
    state.ResultMode = int16_t(file.ResultMode);
    controls.View3D = file.View3D;
    if (file.RotationX) {
        // The profile mirroring of the box is moot: the file's profiles follow.
        controls.RotationX = *file.RotationX;
        state.RotationX = int16_t(*file.RotationX);
        if (*file.RotationX > 0) {
            if (file.RotationMask) controls.RotationMask = *file.RotationMask;
            if (file.YCross) controls.YCross = *file.YCross;
        }
    }
    state.XProfile = file.XProfile;
    state.YProfile = file.YProfile;
    state.ObjectGrid = file.ObjectGrid;

    QImage mask = Controls::blankMask();
    for (int j = 0; j < PictureSide; ++j) {
        QRgb* row = reinterpret_cast<QRgb*>(mask.scanLine(j));
        for (int i = 0; i < PictureSide; ++i) {
            const int g = maskGreyForStored(file.ObjectGrid(i, j));
            row[i] = qRgb(g, g, g);
        }
    }
    controls.Mask = mask;
}

bool saveObjektMaker(const QString& fileName, State& state, const Controls& controls, const QString& title)
{
    state.ResultModeIndex = state.ResultMode;
    QString error;
    if (!rt::writeFileAtomic(fileName, settingFileBytes(state, controls), &error)) {
        rt::MsgBox(QStringLiteral("The settings cannot be written to %1:\n%2").arg(fileName, error), rt::vbCritical, title);
        return false;
    }
    return true;
}

LoadResult LoadObjektMaker(const QString& fileName, State& state, Controls& controls, LoadReport report)
{
    // Only a name that names nothing is passed over; a folder, pipe or device
    // is refused with its reason, which readWholeFile gives without opening it.
    if (!QFileInfo::exists(fileName)) return LoadResult::Missing;
    QString error;
    std::optional<SettingFile> file;
    if (const auto data = rt::readWholeFile(fileName, &error)) file = parseSettingFile(*data, &error);
    if (!file) {
        if (report == LoadReport::Message)
            rt::MsgBox(QStringLiteral("%1 cannot be loaded:\n%2").arg(fileName, error), rt::vbExclamation,
                       QString::fromLatin1(SettingsLoadTitle));
        return LoadResult::Refused;
    }
    applySettingFile(*file, state, controls);
    return LoadResult::Loaded;
}

QByteArray profileFileBytes(const Profile& profile)
{
    rt::LeWriter w;
    w.bytes("OBS", 3);
    writeProfile(w, profile);
    return w.data();
}

std::optional<Profile> parseProfileFile(const QByteArray& data, QString* error)
{
    if (data.size() < ProfileFileSize) {
        failWith(error, QStringLiteral("This is no profile file: it has %1 bytes, a profile needs %2.")
                            .arg(data.size())
                            .arg(ProfileFileSize));
        return std::nullopt;
    }
    rt::LeReader r(data);
    return readProfile(r, 4);
}

bool saveProfileFile(const QString& fileName, const Profile& profile, const QString& title)
{
    QString error;
    if (!rt::writeFileAtomic(fileName, profileFileBytes(profile), &error)) {
        rt::MsgBox(QStringLiteral("The profile cannot be written to %1:\n%2").arg(fileName, error), rt::vbCritical, title);
        return false;
    }
    return true;
}

bool loadProfileFile(const QString& fileName, Profile& profile, const QString& title)
{
    QString error;
    std::optional<Profile> loaded;
    if (const auto data = rt::readWholeFile(fileName, &error)) loaded = parseProfileFile(*data, &error);
    if (!loaded) {
        rt::MsgBox(QStringLiteral("%1 cannot be loaded:\n%2").arg(fileName, error), rt::vbExclamation, title);
        return false;
    }
    profile = *loaded;
    return true;
}

bool savePictureFile(const QString& fileName, const QImage& picture, const QString& title)
{
    QString error;
    if (!rt::SavePicture(picture, fileName, &error)) {
        rt::MsgBox(QStringLiteral("The picture cannot be written to %1:\n%2").arg(fileName, error), rt::vbCritical, title);
        return false;
    }
    return true;
}

} // namespace ObjektMaker
