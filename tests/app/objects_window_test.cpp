// Placed objects on the main window: loading through the Objects panel,
// merging, clearing, deleting, dragging and the properties dialog.

#include "app/Zoom.h"
#include "runtime/Numbers.h"
#include "objects/dlgObjectsProperties.h"
#include "app/frmTerObjects.h"
#include "app/frmTerView.h"
#include "tests/app/MainWindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class ObjectsWindowTest : public StartedMainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartedMainWindowTest::SetUp());
        objects = w().Objects;
        ASSERT_NE(objects, nullptr);
    }

    QString whitePicture(int side, const char* name = "obj.png")
    {
        QImage img(side, side, QImage::Format_RGB32);
        img.fill(Qt::white);
        const QString path = programDir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(img.save(path, "PNG"));
        return path;
    }

    ObjectRecord& record(int slot) { return mdlObjects::PlacedObjects().record(slot); }

    frmTerObjects* objects = nullptr;
};

TEST_F(ObjectsWindowTest, AddObjectsButtonLoadsThePictureAtTheTopLeft)
{
    const QString path = whitePicture(16);
    scriptedUi().expectOpenDialog({true, path, 1});
    auto* add = w().findChild<QPushButton*>(QStringLiteral("cmdObjLoad"));
    ASSERT_NE(add, nullptr);
    add->click();
    ASSERT_NE(objects->PicTer(6), nullptr);
    EXPECT_EQ(objects->PicTer(6)->parentWidget(), w().Picture1);
    EXPECT_EQ(objects->PicTer(6)->pos(), QPoint(0, 0));
    EXPECT_TRUE(ObjectsPresent);
    EXPECT_FALSE(button(20)->isEnabled());  // Zoom in
    EXPECT_EQ(scriptedUi().dialogRequests.at(0).title, QStringLiteral("Object load ..."));
}

TEST_F(ObjectsWindowTest, MergeAllStampsTheObjectAndMarksTheTerrainChanged)
{
    TerrainSaved = true;
    ASSERT_EQ(objects->loadObjectMaker(whitePicture(16)), 6);
    record(6).X = 20;
    record(6).Y = 30;
    objects->mnuObjMergeAll_Click();
    EXPECT_EQ(objects->PicTer(6), nullptr);
    EXPECT_FALSE(mdlObjects::PlacedObjects().exists(6));
    EXPECT_FALSE(ObjectsPresent);
    EXPECT_FALSE(TerrainSaved);
    EXPECT_FALSE(TerrainEmpty);
    // Rescaled: the object is the highest ground, the rest the lowest.
    EXPECT_GT(CurrentTerrain->GetPoint(25, 35), CurrentTerrain->GetPoint(100, 100));
    EXPECT_EQ(CurrentTerrain->GetPoint(25, 35), CurrentTerrain->max());
}

TEST_F(ObjectsWindowTest, LaterSlotDecidesWhereObjectsOverlap)
{
    // Slot 6 adds 100 over 10..18, slot 7 (inside it, 12..16) multiplies by 3.
    ASSERT_EQ(objects->loadObjectMaker(whitePicture(8)), 6);
    ASSERT_EQ(objects->loadObjectMaker(whitePicture(4, "b.png")), 7);
    record(6).Mode = 0;
    record(6).H1 = 100;
    record(6).X = record(6).Y = 10;
    record(7).Mode = 2;
    record(7).H1 = 3;
    record(7).X = record(7).Y = 12;
    objects->PicTer(6)->raise();  // on top on the screen; merging still goes by slot
    CurrentTerrain->Fill(0);
    objects->mnuObjMergeAll_Click();
    // Slot order gives 0, 100 and 300 (the other order 0 and 100 only); the
    // rescale keeps their units, so the ring lies a third of the way up.
    const int32_t outside = CurrentTerrain->GetPoint(0, 0);
    const int32_t ring = CurrentTerrain->GetPoint(10, 10);
    const int32_t inner = CurrentTerrain->GetPoint(14, 14);
    EXPECT_GT(inner, ring);
    EXPECT_NEAR(ring - outside, (inner - outside) / 3.0, 1.0);
    EXPECT_EQ(objects->PicTer(6), nullptr);
    EXPECT_EQ(objects->PicTer(7), nullptr);
}

TEST_F(ObjectsWindowTest, ClearStampsPlacedObjectsIntoTheFlatTerrain)
{
    ASSERT_EQ(objects->loadObjectMaker(whitePicture(8)), 6);
    record(6).X = 40;
    record(6).Y = 40;
    scriptedUi().expectMsgBox(rt::vbYes);
    w().Toolbar1_ButtonClick(QStringLiteral("Löschen"));
    EXPECT_EQ(objects->PicTer(6), nullptr);
    EXPECT_GT(CurrentTerrain->GetPoint(42, 42), CurrentTerrain->GetPoint(0, 0));
    EXPECT_FALSE(TerrainEmpty);
    EXPECT_FALSE(ObjectsPresent);
}

TEST_F(ObjectsWindowTest, DeleteAllAnsweredNoKeepsEveryObject)
{
    objects->loadObjectMaker(whitePicture(8));
    objects->loadObjectMaker(whitePicture(8));
    scriptedUi().expectMsgBox(rt::vbNo);
    objects->mnuObjDeleteAll_Click();
    EXPECT_EQ(mdlObjects::PlacedObjects().count(), 2);
    EXPECT_TRUE(ObjectsPresent);
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("Delete all Objects  ?"));
    EXPECT_EQ(scriptedUi().messages.at(0).style, 20);

    scriptedUi().expectMsgBox(rt::vbYes);
    objects->mnuObjDeleteAll_Click();
    EXPECT_EQ(mdlObjects::PlacedObjects().count(), 0);
    EXPECT_FALSE(ObjectsPresent);
}

TEST_F(ObjectsWindowTest, CopyOfAnObjectIsANewObjectAtTheCorner)
{
    objects->loadObjectMaker(whitePicture(8));
    record(6).X = 50;
    objects->SelectedObject = 6;
    objects->mnuObjCopy_Click();
    ASSERT_TRUE(mdlObjects::PlacedObjects().exists(7));
    EXPECT_EQ(record(7).X, 0);
    EXPECT_EQ(record(7).Name, QStringLiteral("Object 2"));
    EXPECT_FALSE(QFile::exists(programDir.filePath("temppic.bmp")));
}

TEST_F(ObjectsWindowTest, HandOverFilesNeedNoWritableProgramFolderAndAreRemoved)
{
    clsTerrain small;
    small.Init(9);
    const QString ter = programDir.filePath("hill.ter");
    ASSERT_TRUE(small.SaveT(ter));
    const QString picture = whitePicture(8);
    const QString state = programFolderNotWritable();

    objects->loadObjectMaker(picture);
    objects->SelectedObject = 6;
    objects->mnuObjCopy_Click();
    scriptedUi().expectOpenDialog({true, ter, 2});
    objects->cmdObjLoad_Click();
    EXPECT_EQ(mdlObjects::PlacedObjects().usedSlots(), (std::vector<int>{6, 7, 8}));
    EXPECT_TRUE(QDir(state).isEmpty());
}

TEST_F(ObjectsWindowTest, DraggingAgainstTheLeftEdgeStopsAtOne)
{
    objects->loadObjectMaker(whitePicture(32));
    record(6).X = 20;
    record(6).Y = 20;
    objects->placePictures();
    QWidget* pic = objects->PicTer(6);
    const double k = objects->viewScale();
    const QPoint grab(int(5 * k), int(5 * k));
    QTest::mousePress(pic, Qt::LeftButton, {}, grab);
    EXPECT_FALSE(objects->ObjectResizing);
    QMouseEvent move(QEvent::MouseMove, QPointF(grab) - QPointF(40 * k, 0), pic->mapToGlobal(QPointF(0, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    EXPECT_EQ(record(6).X, 1);
    EXPECT_NEAR(record(6).Y, 20, 1);  // the row where the drag began is kept rounded
    QTest::mouseRelease(pic, Qt::LeftButton, {}, grab);
}

TEST_F(ObjectsWindowTest, ObjectAsWideAsTheViewStaysAtOneWhenDragged)
{
    objects->loadObjectMaker(whitePicture(w().Picture1->terrainSize()));
    QWidget* pic = objects->PicTer(6);
    const double k = objects->viewScale();
    const QPoint grab(int(20 * k), int(20 * k));
    QTest::mousePress(pic, Qt::LeftButton, {}, grab);
    QMouseEvent move(QEvent::MouseMove, QPointF(grab) + QPointF(3 * k, 3 * k), pic->mapToGlobal(QPointF(0, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    EXPECT_EQ(record(6).X, 1);
    EXPECT_EQ(record(6).Y, 1);
    QTest::mouseRelease(pic, Qt::LeftButton, {}, grab);
}

TEST_F(ObjectsWindowTest, PressNearTheRightEdgeResizesAndStoresTheNewSide)
{
    objects->loadObjectMaker(whitePicture(40));
    QWidget* pic = objects->PicTer(6);
    const double k = objects->viewScale();
    QTest::mousePress(pic, Qt::LeftButton, {}, QPoint(int(35 * k), int(5 * k)));
    EXPECT_TRUE(objects->ObjectResizing);
    QMouseEvent move(QEvent::MouseMove, QPointF(60 * k, 5 * k), pic->mapToGlobal(QPointF(0, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &move);
    QTest::mouseRelease(pic, Qt::LeftButton, {}, QPoint(int(60 * k), int(5 * k)));
    EXPECT_FALSE(objects->ObjectResizing);
    EXPECT_EQ(record(6).XSpread, 60);
    EXPECT_EQ(record(6).YSpread, 60);
    EXPECT_EQ(mdlObjects::PlacedObjects().picture(6).size(), QSize(60, 60));
}

TEST_F(ObjectsWindowTest, ClickOnTheResizeBandOfAZoomedOutViewKeepsThePicture)
{
    button(21)->trigger();  // Zoom out: about half a view pixel per point
    QImage img(101, 101, QImage::Format_RGB32);
    img.fill(Qt::black);
    img.setPixel(100, 100, qRgb(255, 255, 255));
    const QString path = programDir.filePath("corner.png");
    ASSERT_TRUE(img.save(path, "PNG"));
    objects->loadObjectMaker(path);
    QWidget* pic = objects->PicTer(6);
    QTest::mouseClick(pic, Qt::LeftButton, {}, QPoint(pic->width() - 2, 5));
    EXPECT_FALSE(objects->ObjectResizing);
    EXPECT_EQ(record(6).XSpread, 101);
    const QImage& kept = mdlObjects::PlacedObjects().picture(6);
    ASSERT_EQ(kept.size(), QSize(101, 101));
    EXPECT_EQ(kept.pixel(100, 100) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(ObjectsWindowTest, TooManyObjectsIsReportedByTheAddButton)
{
    const QString path = whitePicture(4);
    for (int i = 0; i < 27; ++i) ASSERT_TRUE(objects->loadObjectMaker(path));
    scriptedUi().expectOpenDialog({true, path, 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    objects->cmdObjLoad_Click();
    EXPECT_EQ(scriptedUi().messages.at(0).text, QStringLiteral("to many objects"));
    EXPECT_FALSE(rt::BusyFlag);
}

TEST_F(ObjectsWindowTest, RightClickSelectsTheObjectAndOpensItsMenu)
{
    objects->loadObjectMaker(whitePicture(16));
    objects->loadObjectMaker(whitePicture(16));
    objects->SelectedObject = 7;
    QTest::mousePress(objects->PicTer(6), Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(objects->SelectedObject, 6);
    EXPECT_TRUE(objects->mnuObject->isVisible());
    objects->mnuObject->close();
}

TEST_F(ObjectsWindowTest, SaveObjectWritesTheBitmapAndRefusesANameWithoutBmp)
{
    objects->loadObjectMaker(whitePicture(8));
    objects->SelectedObject = 6;
    const QString path = programDir.filePath("saved.bmp");
    scriptedUi().expectSaveDialog({true, path, 1});
    objects->mnuObjSaveObject_Click();
    EXPECT_EQ(QImage(path).size(), QSize(8, 8));
    EXPECT_EQ(scriptedUi().dialogRequests.at(0).fileName, QStringLiteral("Object 1"));

    scriptedUi().expectSaveDialog({true, programDir.filePath("saved.png"), 1});
    scriptedUi().expectMsgBox(rt::vbOK);
    objects->mnuObjSaveObject_Click();
    EXPECT_FALSE(QFile::exists(programDir.filePath("saved.png")));

    // ".bmp" inside a folder's name is not the file's ending.
    writeFile(programDir.filePath("my.bmp"), "other work");
    const QString inFolder = programDir.filePath("my.bmpfiles/hill.bmp");
    QDir().mkpath(programDir.filePath("my.bmpfiles"));
    scriptedUi().expectSaveDialog({true, inFolder, 1});
    objects->mnuObjSaveObject_Click();
    EXPECT_EQ(QImage(inFolder).size(), QSize(8, 8));
    QFile other(programDir.filePath("my.bmp"));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll(), QByteArray("other work"));
}

TEST_F(ObjectsWindowTest, TerrainFileLoadsAsAGreyObject)
{
    clsTerrain small;
    small.Init(9);
    small.Fill(32767);
    const QString ter = programDir.filePath("hill.ter");
    ASSERT_TRUE(small.SaveT(ter));
    scriptedUi().expectOpenDialog({true, ter, 2});
    objects->cmdObjLoad_Click();
    ASSERT_TRUE(mdlObjects::PlacedObjects().exists(6));
    EXPECT_EQ(mdlObjects::PlacedObjects().picture(6).size(), QSize(9, 9));
    EXPECT_EQ(qRed(mdlObjects::PlacedObjects().picture(6).pixel(4, 4)), 255);
}

TEST(ObjectsPropertiesTest, PositionsAreMetresAndOnlyPutOnTerrainEnablesH2)
{
    clsTerrain ter;
    ter.Init(257);
    ter.setScaleT(30);
    ObjectRecord r;
    r.XSpread = 10;
    r.YSpread = 10;
    r.Mode = ModeHighest;
    dlgObjectsProperties dlg(r, ter);
    EXPECT_EQ(dlg.Text1->text(), QStringLiteral("300"));
    EXPECT_FALSE(dlg.Text6->isEnabled());
    dlg.Option1[ModePutOnTerrain]->setChecked(true);
    EXPECT_TRUE(dlg.Text6->isEnabled());
    dlg.Text4->setText(QStringLiteral("300"));
    dlg.txtObjectName->setText(QStringLiteral("hill"));
    dlg.OKButton_Click();
    EXPECT_DOUBLE_EQ(r.X, 10.0);
    EXPECT_EQ(r.Mode, ModePutOnTerrain);
    EXPECT_EQ(r.Name, QStringLiteral("hill"));
}

} // namespace
