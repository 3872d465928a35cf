#pragma once
// Makes a terrain of the test's own the current one (progress goes there) and
// starts from palette scheme 0; both come back as they were after the test.

#include "terrain/Palette.h"
#include "terrain/TerrainGlobals.h"
#include "terrain/clsTerrain.h"

#include <gtest/gtest.h>

class CurrentTerrainFixture : public testing::Test {
protected:
    void SetUp() override
    {
        LoadPalette();
        m_savedRow = PaletteRow;
        PaletteRow = 0;
        m_saved = CurrentTerrain;
        CurrentTerrain = &current;
    }
    void TearDown() override
    {
        CurrentTerrain = m_saved;
        PaletteRow = m_savedRow;
    }
    clsTerrain current;

private:
    clsTerrain* m_saved = nullptr;
    int m_savedRow = 0;
};
