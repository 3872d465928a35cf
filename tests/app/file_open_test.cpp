#include "tests/app/FileCommandsFixture.h"
#include "tests/support/Metafiles.h"
#include "tests/support/ModalDialogs.h"

#include "runtime/QtUi.h"

#include <QFileInfo>
#include <QImage>

namespace {

class OpenTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        TerrainFileName = path(QStringLiteral("old.ter"));
        TerrainSaved = true;
        ZoomFactor = 2.0;
        m_kept = terrain.GetPoint(100, 7);
    }

    // After a refused or cancelled open: terrain, name, flags and zoom as before.
    void expectNothingChanged()
    {
        EXPECT_EQ(terrain.XPoints(), 129);
        EXPECT_EQ(terrain.GetPoint(100, 7), m_kept);
        EXPECT_EQ(TerrainFileName, path(QStringLiteral("old.ter")));
        EXPECT_FALSE(TerrainEmpty);
        EXPECT_TRUE(TerrainSaved);
        EXPECT_EQ(ZoomFactor, 2.0);
        EXPECT_EQ(view.redraws, 0);
    }

    QString writeTer(int points, const QString& name = QStringLiteral("other.ter"))
    {
        clsTerrain t;
        t.Init(points);
        for (int x = 0; x < points; ++x)
            for (int y = 0; y < points; ++y) t.SetPoint(x, y, -32000 + 64000 * y / (points - 1));
        t.Range();
        const QString file = path(name);
        EXPECT_TRUE(t.SaveT(file));
        return file;
    }

    // A grey picture whose brightness rises to the right.
    QString writePicture(int width, int height, const QString& name)
    {
        QImage img(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int g = x * 255 / (width - 1);
                line[x] = qRgb(g, g, g);
            }
        }
        const QString file = path(name);
        EXPECT_TRUE(img.save(file));  // in the format its extension names
        return file;
    }

    void expectImported(int points)
    {
        EXPECT_EQ(terrain.XPoints(), points);
        EXPECT_FALSE(TerrainEmpty);
        EXPECT_TRUE(TerrainSaved) << "opening a file is no edit";
        EXPECT_FALSE(closingNeedsSaveQuestion());
        EXPECT_EQ(ZoomFactor, 1.0);
        EXPECT_EQ(view.resizes, 1);
        EXPECT_EQ(view.redraws, 1);
    }

private:
    int32_t m_kept = 0;
};

} // namespace

TEST_F(OpenTest, DialogStartsInTheTerrainFolderWithSevenFilters)
{
    LastDirectory = QStringLiteral("/somewhere");
    scriptedUi().expectOpenDialog(cancelled());
    FileCommands::cmdOpen(view);
    ASSERT_EQ(scriptedUi().dialogRequests.size(), 1u);
    const rt::FileDialogRequest& r = scriptedUi().dialogRequests[0];
    EXPECT_EQ(r.title, QStringLiteral("Terrain open ..."));
    EXPECT_EQ(r.filterIndex, 1);
    EXPECT_EQ(r.initDir, QStringLiteral("/somewhere"));
    EXPECT_EQ(r.filter.split(QLatin1Char('|')).size(), 14);
    EXPECT_TRUE(r.filter.startsWith(QStringLiteral("Terrainfiles|*.ter|all Picture|")));
    EXPECT_TRUE(r.filter.endsWith(QStringLiteral("|SRTM-Files (digital elevation model data) *.hgt|*.hgt")));
}

// Each filter of the Open dialog, chosen in Qt's own file dialog, reads the
// file with its reader. The file dialog folds the double blanks in "Bitmap  *.bmp"
// and "Windows-Metafile  *.wmf"; those two were once read as terrain files.
namespace {

struct FilterCase {
    int filter;
    const char* file;
    int points;               // of the terrain after the open
    const char* sizeMessage;  // the picture reader's first word; nullptr for terrain readers
};

class OpenThroughTheFileDialog : public OpenTest, public testing::WithParamInterface<FilterCase> {
protected:
    // The program's questions stay scripted; the file dialog is Qt's.
    class RealFileDialog : public ScriptedUi {
    public:
        rt::FileDialogResult openFileDialog(const rt::FileDialogRequest& request) override
        {
            return m_qt.openFileDialog(request);
        }

    private:
        rt::QtUi m_qt;
    };

    void SetUp() override
    {
        OpenTest::SetUp();
        rt::setUi(&ui);
    }
    void TearDown() override
    {
        rt::setUi(&scriptedUi());
        EXPECT_TRUE(ui.allAnswersUsed());
        OpenTest::TearDown();
    }

    QString writeFileFor(const QString& name)
    {
        if (name.endsWith(".ter")) return writeTer(257, name);
        if (name.endsWith(".wmf")) {
            writeBytes(path(name), redRectangleMetafile());
        } else if (name.endsWith(".hgt")) {
            writeBytes(path(name), QByteArray("\x00\x64\x00\xC8\x01\x36\xFF\xCE", 8));
        } else {
            return writePicture(129, 129, name);
        }
        return path(name);
    }

    RealFileDialog ui;
};

} // namespace

TEST_P(OpenThroughTheFileDialog, ReadsTheFileWithTheReaderOfTheChosenFilter)
{
    const FilterCase c = GetParam();
    const QString file = writeFileFor(QString::fromLatin1(c.file));
    QString shownFilter;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        ASSERT_EQ(d->nameFilters().size(), 7);
        d->selectNameFilter(d->nameFilters()[c.filter - 1]);
        shownFilter = d->selectedNameFilter();
        typeAndAccept(d, QString::fromLatin1(c.file));
    });
    if (c.sizeMessage) ui.expectMsgBox(rt::vbOK);
    if (c.points == 0) ui.expectMsgBox(rt::vbCancel);  // not a grid size: no resize
    FileCommands::cmdOpen(view);

    EXPECT_FALSE(shownFilter.isEmpty());
    if (c.sizeMessage) {
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages[0].text, QString::fromLatin1(c.sizeMessage));
    } else {
        EXPECT_TRUE(ui.messages.empty());
    }
    if (c.points == 0) {
        expectNothingChanged();
        return;
    }
    expectImported(c.points);
    EXPECT_EQ(TerrainFileName, c.filter == 1 ? file : QStringLiteral("noname"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFilter, OpenThroughTheFileDialog,
    testing::Values(FilterCase{1, "a.ter", 257, nullptr}, FilterCase{2, "b.bmp", 129, "BMP-Size : 129 x 129"},
                    FilterCase{3, "c.bmp", 129, "BMP-Size : 129 x 129"},
                    FilterCase{4, "d.jpg", 129, "BMP-Size : 129 x 129"},
                    FilterCase{5, "e.wmf", 0, "BMP-Size : 4 x 8"},
                    FilterCase{6, "f.ico", 129, "BMP-Size : 129 x 129"}, FilterCase{7, "g.hgt", 1025, nullptr}),
    [](const testing::TestParamInfo<FilterCase>& info) { return "Filter" + std::to_string(info.param.filter); });

TEST_F(OpenTest, CancelledDialogChangesNothing)
{
    scriptedUi().expectOpenDialog(cancelled());
    FileCommands::cmdOpen(view);
    expectNothingChanged();
    EXPECT_TRUE(scriptedUi().messages.empty());
}

TEST_F(OpenTest, TerFileReplacesTerrainNameAndResetsZoom)
{
    const QString file = writeTer(257);
    scriptedUi().expectOpenDialog(chosen(file, 1));
    FileCommands::cmdOpen(view);
    expectImported(257);
    EXPECT_EQ(TerrainFileName, file);
    EXPECT_LT(terrain.GetPoint(0, 0), terrain.GetPoint(0, 256));
}

TEST_F(OpenTest, FileChosenAsTerrainWithoutItsMagicIsRefusedAndEverythingKept)
{
    // A picture chosen under the terrain filter is read as a terrain file too:
    // the filter decides, not the name.
    writeBytes(path(QStringLiteral("bad.ter")), QByteArray(300, 'x'));
    for (const QString& file : {path(QStringLiteral("bad.ter")), writePicture(129, 129, QStringLiteral("grey.bmp"))}) {
        scriptedUi().expectMsgBox(rt::vbOK);
        scriptedUi().expectOpenDialog(chosen(file, 1));
        FileCommands::cmdOpen(view);
    }
    EXPECT_EQ(scriptedUi().messages.size(), 2u);  // the loader says why
    expectNothingChanged();
}

TEST_F(OpenTest, TerFileTooBigIsRefusedAndEverythingKept)
{
    QByteArray bytes("TERRAGENTERRAIN SIZE");
    bytes.append(char(2050 & 0xFF));
    bytes.append(char(2050 >> 8));
    bytes.append(QByteArray(200, '\0'));
    const QString file = path(QStringLiteral("big.ter"));
    writeBytes(file, bytes);
    scriptedUi().expectMsgBox(rt::vbOK);
    scriptedUi().expectOpenDialog(chosen(file, 1));
    FileCommands::cmdOpen(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("Terrain to big"));
    expectNothingChanged();
}

TEST_F(OpenTest, TerFileCutShortIsRefusedAndEverythingKept)
{
    const QString file = writeTer(257);
    QFile f(file);
    ASSERT_TRUE(f.resize(20000));
    scriptedUi().expectMsgBox(rt::vbOK);
    scriptedUi().expectOpenDialog(chosen(file, 1));
    FileCommands::cmdOpen(view);
    EXPECT_EQ(scriptedUi().messages.size(), 1u);
    expectNothingChanged();
}

TEST_F(OpenTest, PictureOfAGridHeightIsImportedAtItsOwnSize)
{
    const QString file = writePicture(257, 257, QStringLiteral("grey.bmp"));
    scriptedUi().expectOpenDialog(chosen(file, 3));
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdOpen(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("BMP-Size : 257 x 257"));
    EXPECT_TRUE(pictureHeights.empty());
    expectImported(257);
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
    // Brighter is higher, and the heights fill the raw range.
    EXPECT_LT(terrain.GetPoint(0, 10), terrain.GetPoint(128, 10));
    EXPECT_LT(terrain.GetPoint(128, 10), terrain.GetPoint(256, 10));
    EXPECT_GT(terrain.max() - terrain.min(), 60000);
}

TEST_F(OpenTest, PictureOfAnotherHeightIsResizedToTheChosenGrid)
{
    const QString file = writePicture(400, 300, QStringLiteral("odd.bmp"));
    scriptedUi().expectOpenDialog(chosen(file, 2));
    scriptedUi().expectMsgBox(rt::vbOK);  // BMP-Size
    scriptedUi().expectMsgBox(rt::vbOK);  // Resize ?
    pictureGridPoints.push_back(129);
    FileCommands::cmdOpen(view);
    ASSERT_EQ(scriptedUi().messages.size(), 2u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("BMP-Size : 300 x 400"));
    EXPECT_EQ(scriptedUi().messages[1].text, QStringLiteral("Terrain doesn't have the correct size ! Resize ?"));
    EXPECT_EQ(scriptedUi().messages[1].title, QStringLiteral("BMP-File Analyse"));
    EXPECT_EQ(scriptedUi().messages[1].style, rt::vbOKCancel | rt::vbQuestion);
    EXPECT_EQ(pictureHeights, std::vector<int>{300});
    expectImported(129);
    EXPECT_LT(terrain.GetPoint(0, 64), terrain.GetPoint(128, 64));
}

TEST_F(OpenTest, DecliningThePictureResizeKeepsEverything)
{
    const QString file = writePicture(40, 30, QStringLiteral("small.bmp"));
    scriptedUi().expectOpenDialog(chosen(file, 2));
    scriptedUi().expectMsgBox(rt::vbOK);
    scriptedUi().expectMsgBox(rt::vbCancel);
    FileCommands::cmdOpen(view);
    EXPECT_TRUE(pictureHeights.empty());
    expectNothingChanged();
}

TEST_F(OpenTest, CancellingPictureResizeDialogKeepsEverything)
{
    const QString file = writePicture(40, 30, QStringLiteral("small.bmp"));
    scriptedUi().expectOpenDialog(chosen(file, 2));
    scriptedUi().expectMsgBox(rt::vbOK);
    scriptedUi().expectMsgBox(rt::vbOK);
    pictureGridPoints.push_back(0);
    FileCommands::cmdOpen(view);
    expectNothingChanged();
}

TEST_F(OpenTest, UnreadablePictureIsReportedAndEverythingKept)
{
    const QString file = path(QStringLiteral("broken.bmp"));
    writeBytes(file, QByteArray("BMnot really a bitmap"));
    scriptedUi().expectOpenDialog(chosen(file, 3));
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdOpen(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_TRUE(scriptedUi().messages[0].text.contains(file));
    expectNothingChanged();
}

// A metafile that would keep drawing for a minute is given up at the drawer's
// time limit: the message names the file and why, and the terrain stays.
TEST_F(OpenTest, MetafileThatKeepsDrawingIsGivenUpAndEverythingKept)
{
    const QString file = path(QStringLiteral("spins.wmf"));
    writeBytes(file, spinningMetafile());
    scriptedUi().expectOpenDialog(chosen(file, 5));
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdOpen(view);
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text,
              QStringLiteral("The picture %1 could not be read.\nThe Windows metafile could not be read: drawing it "
                             "took longer than 5 seconds")
                  .arg(file));
    expectNothingChanged();
}

TEST_F(OpenTest, HgtFileIsImportedUnnamedByItsNameWhenNoFilterIsChosen)
{
    const QString file = path(QStringLiteral("n47e011.hgt"));
    writeBytes(file, QByteArray("\x00\x64\x00\xC8\x01\x36\xFF\xCE", 8));  // 100, 200, 310, -50 m
    scriptedUi().expectOpenDialog(chosen(file, 0));  // no filter: the name decides
    FileCommands::cmdOpen(view);
    expectImported(1025);
    EXPECT_EQ(TerrainFileName, QStringLiteral("noname"));
    EXPECT_NEAR(terrain.GetPointMeters(1024, 1024), -50, 1.0);
}

TEST_F(OpenTest, HgtFileOfTheWrongLengthIsRefusedAndEverythingKept)
{
    const QString file = path(QStringLiteral("bad.hgt"));
    writeBytes(file, QByteArray(10, '\0'));
    scriptedUi().expectOpenDialog(chosen(file, 7));
    scriptedUi().expectMsgBox(rt::vbOK);
    FileCommands::cmdOpen(view);
    expectNothingChanged();
}

// --- unsaved work ------------------------------------------------------------------

TEST_F(OpenTest, UnsavedWorkAsksTheCloseQuestionFirstAndCancelKeepsIt)
{
    TerrainSaved = false;
    scriptedUi().expectMsgBox(rt::vbCancel);
    EXPECT_FALSE(FileCommands::cmdOpen(view));
    ASSERT_EQ(scriptedUi().messages.size(), 1u);
    EXPECT_EQ(scriptedUi().messages[0].text, QStringLiteral("The terrain is not saved!  Do you want to save?"));
    EXPECT_EQ(scriptedUi().messages[0].title, QStringLiteral("EXIT"));
    EXPECT_TRUE(scriptedUi().dialogRequests.empty()) << "no file is chosen before the answer";
    TerrainSaved = true;
    expectNothingChanged();
}

TEST_F(OpenTest, UnsavedWorkAnsweredYesIsSavedBeforeTheFileReplacesIt)
{
    TerrainSaved = false;
    const QString file = writeTer(257);
    const QString saved = path(QStringLiteral("work.ter"));
    scriptedUi().expectMsgBox(rt::vbYes);
    saveTypes.push_back(FileCommands::SaveTer);
    scriptedUi().expectSaveDialog(chosen(saved));
    scriptedUi().expectOpenDialog(chosen(file, 1));
    FileCommands::cmdOpen(view);
    // The 129-point work, not the 257-point file opened after it.
    EXPECT_GT(QFileInfo(saved).size(), 2 * 129 * 129);
    EXPECT_LT(QFileInfo(saved).size(), 2 * 257 * 257);
    EXPECT_EQ(terrain.XPoints(), 257);
    EXPECT_EQ(TerrainFileName, file);
}
