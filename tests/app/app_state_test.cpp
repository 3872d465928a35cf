#include "app/MainWindowLogic.h"
#include "app/frmTerToolbar.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

// --- settings read at start -----------------------------------------------------

MainWindowLogic::StartSettings readFrom(const QMap<QString, QString>& values)
{
    return MainWindowLogic::readStartSettings(
        [&values](const QString& section, const QString& key) { return values.value(section + "/" + key); });
}

TEST(StartSettings, MissingFileGivesDefaults)
{
    const auto s = readFrom({});
    EXPECT_EQ(s.gridPoints, 257);
    EXPECT_EQ(s.resizeMode, 0);
    EXPECT_EQ(s.paletteRow, 0);
    EXPECT_FALSE(s.backColor.has_value());
    EXPECT_TRUE(s.objectDirectory.isEmpty());
    EXPECT_EQ(s.elevatorName, QStringLiteral("Elevator.set"));
}

TEST(StartSettings, GridSizeFromOptTerComparedAsText)
{
    EXPECT_EQ(readFrom({{"Start/OptTer", "0"}}).gridPoints, 129);
    EXPECT_EQ(readFrom({{"Start/OptTer", "2"}}).gridPoints, 513);
    EXPECT_EQ(readFrom({{"Start/OptTer", "4"}}).gridPoints, 2049);
    EXPECT_EQ(readFrom({{"Start/OptTer", "5"}}).gridPoints, 257);
    EXPECT_EQ(readFrom({{"Start/OptTer", "x"}}).gridPoints, 257);
    EXPECT_EQ(readFrom({{"Start/OptTer", "12"}}).gridPoints, 257);
}

TEST(StartSettings, ColourSchemeOutsideZeroToSevenFallsBackToZero)
{
    EXPECT_EQ(readFrom({{"Start/COLOR", "7"}}).paletteRow, 7);
    EXPECT_EQ(readFrom({{"Start/COLOR", " 3"}}).paletteRow, 3);
    EXPECT_EQ(readFrom({{"Start/COLOR", "8"}}).paletteRow, 0);
    EXPECT_EQ(readFrom({{"Start/COLOR", "-1"}}).paletteRow, 0);
    EXPECT_EQ(readFrom({{"Start/COLOR", "99999999"}}).paletteRow, 0);
    EXPECT_EQ(readFrom({{"Start/COLOR", "green"}}).paletteRow, 0);
}

TEST(StartSettings, ResizeModeTakesAny16BitNumberRoundedHalvesToEven)
{
    EXPECT_EQ(readFrom({{"Start/OptZoom", "2"}}).resizeMode, 2);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "3"}}).resizeMode, 3);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "2.5"}}).resizeMode, 2);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "-7.5x"}}).resizeMode, -8);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "32767"}}).resizeMode, 32767);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "-32768"}}).resizeMode, -32768);
    // Past 16 bits, or no number at all: the unset mode 0.
    EXPECT_EQ(readFrom({{"Start/OptZoom", "32768"}}).resizeMode, 0);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "-40000"}}).resizeMode, 0);
    EXPECT_EQ(readFrom({{"Start/OptZoom", "bilinear"}}).resizeMode, 0);
}

TEST(StartSettings, BackColourIsUsedOnlyWhenItIsAColourNumber)
{
    const auto red = readFrom({{"Start/Backcolor", "255"}});
    ASSERT_TRUE(red.backColor.has_value());
    EXPECT_EQ(*red.backColor, qRgb(255, 0, 0));
    const auto blue = readFrom({{"Start/Backcolor", " 16711680"}});
    ASSERT_TRUE(blue.backColor.has_value());
    EXPECT_EQ(*blue.backColor, qRgb(0, 0, 255));
    EXPECT_FALSE(readFrom({{"Start/Backcolor", "purple"}}).backColor.has_value());
    EXPECT_FALSE(readFrom({{"Start/Backcolor", "16777216"}}).backColor.has_value());
    EXPECT_FALSE(readFrom({{"Start/Backcolor", "-5"}}).backColor.has_value());
    EXPECT_FALSE(readFrom({{"Start/Backcolor", "12abc"}}).backColor.has_value());
}

TEST(StartSettings, FoldersAndElevatorNameAreTakenAsWritten)
{
    const auto s = readFrom({{"Directory/Objects", "/data/obj"},
                             {"Directory/Terrain", "/data/ter"},
                             {"Directory/terragen", "/opt/tg"},
                             {"ELEVATOR/Name", "Mine.set"}});
    EXPECT_EQ(s.objectDirectory, QStringLiteral("/data/obj"));
    EXPECT_EQ(s.terrainDirectory, QStringLiteral("/data/ter"));
    EXPECT_EQ(s.terragenDirectory, QStringLiteral("/opt/tg"));
    EXPECT_EQ(s.elevatorName, QStringLiteral("Mine.set"));
}

// --- captions and toolbar states ---------------------------------------------------

TEST(Captions, MainAndMinimized)
{
    EXPECT_EQ(MainWindowLogic::mainCaption("noname"), QStringLiteral("Kelvarinor  [noname]"));
    EXPECT_EQ(MainWindowLogic::minimizedCaption(false, 45, "a.ter"), QStringLiteral("Ready - Kelvarinor  [a.ter]   "));
    EXPECT_EQ(MainWindowLogic::minimizedCaption(true, 45, "a.ter"), QStringLiteral("45 % - Kelvarinor  [a.ter]   "));
    EXPECT_EQ(MainWindowLogic::progressBarValue(140), 100);
    EXPECT_EQ(MainWindowLogic::progressBarValue(-3), 0);
}

TEST(ToolbarKeys, MatchExactlyAndOnlyButtons)
{
    using ToolbarCommands::find;
    ASSERT_NE(find(ToolbarCommands::toolbar1(), QStringLiteral("Öffnen")), nullptr);
    EXPECT_EQ(find(ToolbarCommands::toolbar1(), QStringLiteral("Öffnen"))->position, 2);
    EXPECT_EQ(find(ToolbarCommands::toolbar2(), QStringLiteral("UP")), nullptr);
    EXPECT_EQ(find(ToolbarCommands::toolbar2(), QStringLiteral("Pen square")), nullptr);
    EXPECT_EQ(find(ToolbarCommands::toolbar1(), QString()), nullptr) << "separators have no key to match";
}

TEST(Toolbar1States, EmptyTerrainDisablesSavingAndBackup)
{
    // The state a button's rule gives at a 1-based position; nothing when it keeps its state.
    auto find = [](int pos, ToolbarCommands::State s) -> std::optional<bool> {
        const auto& c = ToolbarCommands::toolbar1()[size_t(pos - 1)];
        return c.enabled ? c.enabled(s) : std::nullopt;
    };
    const ToolbarCommands::State empty{true, false, false};
    EXPECT_EQ(find(3, empty), false);   // Save
    EXPECT_EQ(find(5, empty), false);   // Save as
    EXPECT_EQ(find(9, empty), false);   // Restore
    EXPECT_EQ(find(10, empty), false);  // Backup
    EXPECT_EQ(find(20, empty), true);   // Zoom in
    EXPECT_FALSE(find(1, empty).has_value());

    const ToolbarCommands::State withBackup{true, true, true};
    EXPECT_EQ(find(9, withBackup), true);
    EXPECT_EQ(find(20, withBackup), false);
}

} // namespace
