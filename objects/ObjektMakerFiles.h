#pragma once
// The object maker's files: the setting file (*.omd and om_temp.dat, 256,386
// bytes) and the profile file (*.obs, 717 bytes). Both are read whole and
// checked before anything changes, and written whole through a temporary file.

#include "objects/ObjektMaker.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ObjektMaker {

constexpr qint64 SettingFileSize = 256386;
constexpr qint64 ProfileFileSize = 717;

// The titles of the file dialogs, also used on their messages.
inline const char* const SettingsSaveTitle = "ObjectMaker Settings Save ...";
inline const char* const SettingsLoadTitle = "ObjectMaker Settings load ...";
inline const char* const ProfileSaveXTitle = "Objects Setting save ...";
inline const char* const ProfileSaveYTitle = "Object Setting save ...";
inline const char* const ProfileLoadTitle = "Object load ...";
inline const char* const MaskSaveTitle = "Mask save ...";
inline const char* const ResultSaveTitle = "Object save ...";

// A setting file's contents. The check boxes' values are there only when
// their tags are.
struct SettingFile {
    int32_t ResultMode = 0;
    int32_t View3D = 0;
    std::optional<int32_t> RotationX;
    std::optional<int32_t> RotationMask;
    std::optional<int32_t> YCross;
    Profile XProfile{};
    Profile YProfile{};
    Grid ObjectGrid;
};

// The bytes of a setting file. The grid block holds the mask at
// 0..255 x 0..255 (rounded: grey 128..255 as 129..256) and the result
// elsewhere; state.ObjectGrid itself is not changed.
QByteArray settingFileBytes(const State& state, const Controls& controls);

// Reads a setting file's bytes. Nothing, with a reason, when the "RESMOD",
// "VIEWR" or "ARRAY" tag is missing from the first 100 bytes, a value after a
// tag is missing, the mode is not 0..8, a check value not 0 or 1, or the
// profiles and grid after "ARRAY" are short.
std::optional<SettingFile> parseSettingFile(const QByteArray& data, QString* error = nullptr);

// Takes a read file into the state and the controls: mode, 3-D box, the
// rotation boxes (mask and cross only when ROTX is above 0), profiles, grid,
// and the mask painted from the grid block.
void applySettingFile(const SettingFile& file, State& state, Controls& controls);

// saveObjektMaker: ResultModeIndex = ResultMode, then the file written whole.
// A failed write keeps any old file and shows a message titled title.
bool saveObjektMaker(const QString& fileName, State& state, const Controls& controls,
                     const QString& title = QString::fromLatin1(SettingsSaveTitle));

enum class LoadResult { Loaded, Missing, Refused };
enum class LoadReport { Message, Quiet };
// LoadObjektMaker: a missing file changes nothing silently; a file that fails
// the checks, or a folder, pipe or device in its place, changes nothing and,
// with LoadReport::Message, says why in a message box titled
// "ObjectMaker Settings load ...".
LoadResult LoadObjektMaker(const QString& fileName, State& state, Controls& controls,
                           LoadReport report = LoadReport::Message);

// The profile file: "OBS" and the 357 values.
QByteArray profileFileBytes(const Profile& profile);
// Nothing, with a reason, when the data is shorter than 717 bytes.
std::optional<Profile> parseProfileFile(const QByteArray& data, QString* error = nullptr);
// Save and load with a message (titled title) on failure; a failed load
// leaves the profile as it was.
bool saveProfileFile(const QString& fileName, const Profile& profile, const QString& title);
bool loadProfileFile(const QString& fileName, Profile& profile,
                     const QString& title = QString::fromLatin1(ProfileLoadTitle));

// A picture saved as bitmap (mask, result, applyobj.tmp) with a message on
// failure; the old file stays.
bool savePictureFile(const QString& fileName, const QImage& picture, const QString& title);

} // namespace ObjektMaker
