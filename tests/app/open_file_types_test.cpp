#include "terrain/OpenFileTypes.h"

#include <gtest/gtest.h>

using namespace OpenFileTypes;

TEST(OpenFileTypes, EachDialogOffersItsTypesInItsOrder)
{
    EXPECT_EQ(filter(Dialog::TerrainOpen),
              "Terrainfiles|*.ter|all Picture|*.bmp;*.jpg;*.gif;*.wmf;*.dib;*.ico|Bitmap  *.bmp,*.dib|*.bmp;*.dib"
              "|JPEG-Picture *.jpg|*.jpg|Windows-Metafile  *.wmf|*.wmf|Icons *.ico|*.ico"
              "|SRTM-Files (digital elevation model data) *.hgt|*.hgt");
    EXPECT_EQ(filter(Dialog::ObjectLoad),
              "all Picture|*.bmp;*.jpg;*.gif;*.wmf;*.dib;*.ico|Terrains|*.ter|Bitmap  *.bmp,*.dib|*.bmp;*.dib"
              "|JPEG-Picture *.jpg|*.jpg|Windows-Metafile  *.wmf|*.wmf|Icons *.ico|*.ico");
    EXPECT_EQ(filter(Dialog::MaskLoad),
              "all Picture|*.bmp;*.jpg;*.gif;*.wmf;*.dib;*.ico|Bitmap  *.bmp,*.dib|*.bmp;*.dib"
              "|JPEG-Picture *.jpg|*.jpg|Windows-Metafile  *.wmf|*.wmf|Icons *.ico|*.ico");
}

// A filter the dialog cannot name back leaves the reader to the file's extension.
TEST(OpenFileTypes, AnIndexOfNoFilterNamesNoReader)
{
    EXPECT_EQ(readerOf(Dialog::TerrainOpen, 0), std::nullopt);
    EXPECT_EQ(readerOf(Dialog::TerrainOpen, 8), std::nullopt);
    EXPECT_EQ(readerOf(Dialog::MaskLoad, 6), std::nullopt);
    EXPECT_EQ(readerByName("/x/box.wmf"), Reader::Picture);
    EXPECT_EQ(readerByName("/x/Alps.TER"), Reader::Ter);
}
