#include "terrain/OpenFileTypes.h"

#include <gtest/gtest.h>

using namespace OpenFileTypes;

// A filter the dialog cannot name back leaves the reader to the file's extension.
TEST(OpenFileTypes, AnIndexOfNoFilterNamesNoReader)
{
    EXPECT_EQ(readerOf(Dialog::TerrainOpen, 0), std::nullopt);
    EXPECT_EQ(readerOf(Dialog::TerrainOpen, 8), std::nullopt);
    EXPECT_EQ(readerOf(Dialog::MaskLoad, 6), std::nullopt);
    EXPECT_EQ(readerByName("/x/box.wmf"), Reader::Picture);
    EXPECT_EQ(readerByName("/x/Alps.TER"), Reader::Ter);
}
