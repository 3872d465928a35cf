#include "runtime/QtUi.h"
#include "tests/support/ModalDialogs.h"

#include <QApplication>
#include <QShortcut>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

void clickOn(QMessageBox* box, QMessageBox::StandardButton which)
{
    ASSERT_NE(box->button(which), nullptr);
    box->button(which)->click();
}

} // namespace

TEST(QtUiMsgBox, ClosingAYesNoBoxMeansNo)
{
    rt::QtUi ui;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        buttons = static_cast<int>(box->buttons().size());
        icon = box->icon();
        box->close();
    });
    EXPECT_EQ(ui.msgBox("Spread?", rt::vbYesNo + rt::vbQuestion, "Kelvarinor"), rt::vbNo);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(icon, QMessageBox::Question);
}

TEST(QtUiMsgBox, ClosingAYesNoCancelBoxMeansCancel)
{
    rt::QtUi ui;
    whenShown<QMessageBox>([](QMessageBox* box) { box->close(); });
    EXPECT_EQ(ui.msgBox("Save?", rt::vbYesNoCancel, "t"), rt::vbCancel);
}

TEST(QtUiMsgBox, ButtonsGiveTheirAnswers)
{
    rt::QtUi ui;
    whenShown<QMessageBox>([](QMessageBox* box) { clickOn(box, QMessageBox::No); });
    EXPECT_EQ(ui.msgBox("Save?", rt::vbYesNoCancel, "t"), rt::vbNo);
    whenShown<QMessageBox>([](QMessageBox* box) { clickOn(box, QMessageBox::Yes); });
    EXPECT_EQ(ui.msgBox("Save?", rt::vbYesNo, "t"), rt::vbYes);
    whenShown<QMessageBox>([](QMessageBox* box) { clickOn(box, QMessageBox::Cancel); });
    EXPECT_EQ(ui.msgBox("Go?", rt::vbOKCancel + rt::vbCritical, "t"), rt::vbCancel);
}

TEST(QtUiMsgBox, OkBoxShowsTextTitleAndIcon)
{
    rt::QtUi ui;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenShown<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        clickOn(box, QMessageBox::Ok);
    });
    EXPECT_EQ(ui.msgBox("Terrain empty !", rt::vbExclamation, "Kelvarinor"), rt::vbOK);
    EXPECT_EQ(text, "Terrain empty !");
    EXPECT_EQ(title, "Kelvarinor");
    EXPECT_EQ(icon, QMessageBox::Warning);
}

TEST(DialogNameFilters, TurnsPairsIntoQtFilters)
{
    EXPECT_EQ(rt::dialogNameFilters("Setting |*.par"), QStringList({"Setting (*.par)"}));
    EXPECT_EQ(rt::dialogNameFilters("Pictures|*.bmp;*.jpg|All|*.*"),
              QStringList({"Pictures (*.bmp *.jpg)", "All (*.*)"}));
    EXPECT_EQ(rt::dialogNameFilters("BMP-Files (*.bmp)|*.bmp"), QStringList({"BMP-Files (*.bmp)"}));
    EXPECT_EQ(rt::dialogNameFilters("Bitmap  *.bmp,*.dib|*.bmp;*.dib"),
              QStringList({"Bitmap *.bmp,*.dib (*.bmp *.dib)"}));
    EXPECT_EQ(rt::dialogNameFilters("Lonely text"), QStringList());
    EXPECT_EQ(rt::dialogNameFilters(""), QStringList());
}

class QtUiFileDialog : public testing::Test {
protected:
    rt::FileDialogRequest request(const QString& filter, int index)
    {
        rt::FileDialogRequest r;
        r.title = "Save Setting";
        r.filter = filter;
        r.filterIndex = index;
        r.defaultExt = "par";
        r.initDir = dir.path();
        return r;
    }
    QTemporaryDir dir;
    rt::QtUi ui;
};

TEST_F(QtUiFileDialog, SaveAppendsTheDefaultExtensionAndReportsTheFilter)
{
    QStringList filters;
    QString selected, title, folder;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        filters = d->nameFilters();
        selected = d->selectedNameFilter();
        title = d->windowTitle();
        folder = d->directory().absolutePath();
        typeAndAccept(d, "abc");
    });
    const auto r = ui.saveFileDialog(request("Setting |*.par|All files|*.*", 2));
    EXPECT_EQ(filters, QStringList({"Setting (*.par)", "All files (*.*)"}));
    EXPECT_EQ(selected, "All files (*.*)");
    EXPECT_EQ(title, "Save Setting");
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.fileName, QDir(dir.path()).absoluteFilePath("abc.par"));
    EXPECT_EQ(r.filterIndex, 2);
}

TEST_F(QtUiFileDialog, SaveOverAnExistingFileAsksFirst)
{
    {
        QFile f(dir.filePath("old.par"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    bool asked = false;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        whenShown<QMessageBox>([&](QMessageBox* box) {
            asked = true;
            clickOn(box, QMessageBox::Yes);
        });
        typeAndAccept(d, "old");
    });
    const auto r = ui.saveFileDialog(request("Setting |*.par", 1));
    EXPECT_TRUE(asked);
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.fileName, QDir(dir.path()).absoluteFilePath("old.par"));
}

TEST_F(QtUiFileDialog, SaveStartsWithTheGivenFileName)
{
    auto r = request("PerlinSets|*.KPS", 1);
    r.defaultExt = ".KPS";
    r.fileName = "alps";
    QString shown;
    whenShown<QFileDialog>([&](QFileDialog* d) {
        auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        shown = edit->text();
        static_cast<QDialog*>(d)->accept();
    });
    const auto result = ui.saveFileDialog(r);
    EXPECT_EQ(shown, "alps");
    ASSERT_TRUE(result.accepted);
    EXPECT_EQ(result.fileName, QDir(dir.path()).absoluteFilePath("alps.KPS"));
}

TEST_F(QtUiFileDialog, CancelledOpenIsNotAccepted)
{
    whenShown<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(ui.openFileDialog(request("Terrain|*.ter", 1)).accepted);
}

TEST_F(QtUiFileDialog, OpenReturnsTheChosenFile)
{
    {
        QFile f(dir.filePath("a.ter"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    whenShown<QFileDialog>([](QFileDialog* d) { typeAndAccept(d, "a.ter"); });
    const auto r = ui.openFileDialog(request("Terrain|*.ter", 7));  // index out of range: first filter
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.fileName, QDir(dir.path()).absoluteFilePath("a.ter"));
    EXPECT_EQ(r.filterIndex, 1);
}

// The dialog folds the double blank of "Bitmap  *.bmp"; the choice still
// names its filter, and a filter the list does not hold names none.
TEST_F(QtUiFileDialog, OpenNamesTheChosenFilterEvenWhereTheDialogFoldedItsBlanks)
{
    {
        QFile f(dir.filePath("a.bmp"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString filter = "Terrain|*.ter|Bitmap  *.bmp,*.dib|*.bmp;*.dib|Windows-Metafile  *.wmf|*.wmf";
    whenShown<QFileDialog>([](QFileDialog* d) {
        d->selectNameFilter(d->nameFilters()[1]);
        typeAndAccept(d, "a.bmp");
    });
    EXPECT_EQ(ui.openFileDialog(request(filter, 1)).filterIndex, 2);
    whenShown<QFileDialog>([](QFileDialog* d) { typeAndAccept(d, "a.bmp"); });
    EXPECT_EQ(ui.openFileDialog(request(filter, 3)).filterIndex, 3);
    whenShown<QFileDialog>([](QFileDialog* d) {
        d->setNameFilters({"Something else (*.bmp)"});
        typeAndAccept(d, "a.bmp");
    });
    const auto r = ui.openFileDialog(request(filter, 1));
    ASSERT_TRUE(r.accepted);
    EXPECT_EQ(r.filterIndex, 0);
}

TEST(QtUiStartProgram, StartsAProgramOrSaysItCannot)
{
    rt::QtUi ui;
    const QString truePath = QStandardPaths::findExecutable("true");
    if (!truePath.isEmpty()) {
        EXPECT_TRUE(ui.startProgram(truePath, {"-t", "a b.ter"}, QDir::tempPath()));
    }
    EXPECT_FALSE(ui.startProgram("/nonexistent/terragen", {}, QString()));
    EXPECT_FALSE(ui.startProgram("", {}, QString()));
}

TEST(QtUiSinks, StatusAndRefreshGoToTheMainWindow)
{
    rt::QtUi ui;
    QString status;
    int refreshes = 0;
    ui.setStatusText("ignored without a sink");
    ui.refreshMainWindow();
    ui.statusSink = [&](const QString& t) { status = t; };
    ui.refreshSink = [&] { ++refreshes; };
    ui.setStatusText("Ready");
    ui.refreshMainWindow();
    EXPECT_EQ(status, "Ready");
    EXPECT_EQ(refreshes, 1);
}

namespace {

TEST(BusyGuard, AnInnerCommandEndingLeavesTheOuterOneBusy)
{
    ASSERT_FALSE(rt::BusyFlag);
    {
        rt::BusyGuard outer;
        {
            rt::BusyGuard inner;
            EXPECT_TRUE(rt::BusyFlag);
        }
        EXPECT_TRUE(rt::BusyFlag);
        {
            rt::BusyGuard second;
        }
        EXPECT_TRUE(rt::BusyFlag);
    }
    EXPECT_FALSE(rt::BusyFlag);
}

TEST(BusyInputHold, WindowsOpenWhenTheCommandStartedGetNoInputThoseItOpensDo)
{
    rt::BusyInputHold hold;
    int clicks[2] = {0, 0};
    QPushButton before(QStringLiteral("before"));
    QObject::connect(&before, &QPushButton::clicked, [&] { ++clicks[0]; });
    before.show();
    {
        rt::BusyGuard command;
        QPushButton question(QStringLiteral("question"));
        QObject::connect(&question, &QPushButton::clicked, [&] { ++clicks[1]; });
        question.show();
        QTest::mouseClick(&before, Qt::LeftButton);
        QTest::keyClick(&before, Qt::Key_Space);
        QTest::mouseClick(&question, Qt::LeftButton);
        EXPECT_EQ(clicks[0], 0);
        EXPECT_EQ(clicks[1], 1);
    }
    QTest::mouseClick(&before, Qt::LeftButton);
    EXPECT_EQ(clicks[0], 1);
}

// A window restored from the task bar gets a Show event from the system; it
// was open before the command and still gets no input.
TEST(BusyInputHold, AWindowRestoredDuringTheCommandStaysHeld)
{
    rt::BusyInputHold hold;
    int clicks = 0;
    QPushButton main(QStringLiteral("main"));
    QObject::connect(&main, &QPushButton::clicked, [&] { ++clicks; });
    main.show();
    rt::BusyGuard command;
    main.showMinimized();
    main.showNormal();
    ASSERT_TRUE(main.isVisible());
    QTest::mouseClick(&main, Qt::LeftButton);
    QTest::keyClick(&main, Qt::Key_Space);
    EXPECT_EQ(clicks, 0);
}

// A dialog the command opens keeps its keyboard shortcuts; the window open
// before it does not get them.
TEST(BusyInputHold, ShortcutsWorkOnlyInWindowsTheCommandOpened)
{
    rt::BusyInputHold hold;
    int fired[2] = {0, 0};
    QWidget before;
    QShortcut beforeKey(QKeySequence(Qt::CTRL | Qt::Key_K), &before);
    QObject::connect(&beforeKey, &QShortcut::activated, [&] { ++fired[0]; });
    before.show();
    rt::BusyGuard command;
    QWidget dialog;
    QShortcut dialogKey(QKeySequence(Qt::CTRL | Qt::Key_K), &dialog);
    QObject::connect(&dialogKey, &QShortcut::activated, [&] { ++fired[1]; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(fired[1], 1);
    before.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&before));
    QTest::keyClick(&before, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(fired[0], 0);
}

} // namespace
