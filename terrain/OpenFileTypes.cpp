#include "terrain/OpenFileTypes.h"

#include <QFileInfo>

#include <array>
#include <span>

namespace OpenFileTypes {
namespace {

struct FileType {
    const char* text;
    const char* patterns;  // joined by ";"
    Reader reader;
};

constexpr FileType kTerrainFiles{"Terrainfiles", "*.ter", Reader::Ter};
constexpr FileType kTerrains{"Terrains", "*.ter", Reader::Ter};
constexpr FileType kAllPictures{"all Picture", "*.bmp;*.jpg;*.gif;*.wmf;*.dib;*.ico", Reader::Picture};
constexpr FileType kBitmap{"Bitmap  *.bmp,*.dib", "*.bmp;*.dib", Reader::Picture};
constexpr FileType kJpeg{"JPEG-Picture *.jpg", "*.jpg", Reader::Picture};
constexpr FileType kMetafile{"Windows-Metafile  *.wmf", "*.wmf", Reader::Picture};
constexpr FileType kIcons{"Icons *.ico", "*.ico", Reader::Picture};
constexpr FileType kSrtm{"SRTM-Files (digital elevation model data) *.hgt", "*.hgt", Reader::Hgt};

constexpr std::array kTerrainOpen{&kTerrainFiles, &kAllPictures, &kBitmap, &kJpeg,
                                  &kMetafile,     &kIcons,       &kSrtm};
constexpr std::array kObjectLoad{&kAllPictures, &kTerrains, &kBitmap, &kJpeg, &kMetafile, &kIcons};
constexpr std::array kMaskLoad{&kAllPictures, &kBitmap, &kJpeg, &kMetafile, &kIcons};

std::span<const FileType* const> typesOf(Dialog dialog)
{
    switch (dialog) {
    case Dialog::TerrainOpen: return kTerrainOpen;
    case Dialog::ObjectLoad: return kObjectLoad;
    case Dialog::MaskLoad: return kMaskLoad;
    }
    return {};
}

} // namespace

QString filter(Dialog dialog)
{
    QString result;
    for (const FileType* type : typesOf(dialog)) {
        if (!result.isEmpty()) result += QLatin1Char('|');
        result += QLatin1String(type->text) + QLatin1Char('|') + QLatin1String(type->patterns);
    }
    return result;
}

std::optional<Reader> readerOf(Dialog dialog, int filterIndex)
{
    const auto types = typesOf(dialog);
    if (filterIndex < 1 || filterIndex > static_cast<int>(types.size())) return std::nullopt;
    return types[static_cast<size_t>(filterIndex - 1)]->reader;
}

Reader readerByName(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("ter")) return Reader::Ter;
    if (ext == QLatin1String("hgt")) return Reader::Hgt;
    return Reader::Picture;
}

} // namespace OpenFileTypes
