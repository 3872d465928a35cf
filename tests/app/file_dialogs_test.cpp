#include "app/dlgBitmapVariable.h"
#include "app/dlgSaveAs.h"
#include "app/frmPicResize.h"
#include "app/FileCommands.h"
#include "runtime/QtUi.h"
#include "runtime/Ui.h"
#include "tests/support/ScriptedUi.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

template <class T>
T* child(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

int chooseSaveType(const char* button)
{
    dlgSaveAs d;
    child<QPushButton>(d, button)->click();
    return d.saveType();
}

} // namespace

TEST(SaveAsDialog, EachButtonGivesItsSaveType)
{
    EXPECT_EQ(chooseSaveType("OKButton"), FileCommands::SaveTer);
    EXPECT_EQ(chooseSaveType("cmdBMP"), FileCommands::SaveBitmap);
    EXPECT_EQ(chooseSaveType("cmdBMPvariable"), FileCommands::SaveBitmapSized);
    // Cancel ends the dialog, not the save command that asked.
    rt::BusyGuard save;
    EXPECT_EQ(chooseSaveType("CancelButton"), FileCommands::SaveCancelled);
    EXPECT_TRUE(rt::BusyFlag);
}

TEST(SaveAsDialog, ClosingTheWindowIsCancel)
{
    dlgSaveAs d;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Save as"));
    d.show();
    d.close();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(d.saveType(), FileCommands::SaveCancelled);
}

TEST(BitmapSizeDialog, OpensWithTheGridSize)
{
    dlgBitmapVariable d(256);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Bitmap size"));
    EXPECT_EQ(child<QLineEdit>(d, "Text1")->text(), QStringLiteral("256"));
    EXPECT_EQ(child<QPushButton>(d, "OKButton")->text(), QStringLiteral("Save"));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_EQ(d.bitmapSize(), 256);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(BitmapSizeDialog, EntryIsRoundedHalvesToEven)
{
    dlgBitmapVariable d(256);
    child<QLineEdit>(d, "Text1")->setText(QStringLiteral("1000.5"));
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_EQ(d.bitmapSize(), 1000);
    EXPECT_EQ(dlgBitmapVariable::sizeFromText(QStringLiteral("1001.5")), 1002);
    EXPECT_EQ(dlgBitmapVariable::sizeFromText(QStringLiteral(" 64 px")), 64);
}

TEST(BitmapSizeDialog, EntriesOutsideOneToMaxSideAreRefused)
{
    EXPECT_FALSE(dlgBitmapVariable::sizeFromText(QStringLiteral("0")));
    EXPECT_FALSE(dlgBitmapVariable::sizeFromText(QStringLiteral("0.4")));
    EXPECT_FALSE(dlgBitmapVariable::sizeFromText(QStringLiteral("-5")));
    EXPECT_FALSE(dlgBitmapVariable::sizeFromText(QStringLiteral("abc")));
    EXPECT_FALSE(dlgBitmapVariable::sizeFromText(QStringLiteral("8193")));
    EXPECT_EQ(dlgBitmapVariable::sizeFromText(QStringLiteral("8192")), 8192);
    EXPECT_EQ(dlgBitmapVariable::sizeFromText(QStringLiteral("0.5")), std::nullopt);  // 0 after rounding
}

TEST(BitmapSizeDialog, NonsenseIsReportedAndTheDialogStaysOpen)
{
    dlgBitmapVariable d(256);
    d.show();
    child<QLineEdit>(d, "Text1")->setText(QStringLiteral("huge"));
    scriptedUi().expectMsgBox(rt::vbOK);
    child<QPushButton>(d, "OKButton")->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.bitmapSize(), 0);
    d.close();
}

TEST(BitmapSizeDialog, CancelAndCloseGiveZero)
{
    dlgBitmapVariable d(256);
    child<QPushButton>(d, "CancelButton")->click();
    EXPECT_EQ(d.bitmapSize(), 0);
    dlgBitmapVariable e(128);
    e.show();
    e.close();
    EXPECT_EQ(e.bitmapSize(), 0);
}

TEST(PictureResizeDialog, PreselectsByPictureHeight)
{
    EXPECT_EQ(frmPicResize::preselectedIndex(180), 0);
    EXPECT_EQ(frmPicResize::preselectedIndex(181), 1);
    EXPECT_EQ(frmPicResize::preselectedIndex(300), 1);
    EXPECT_EQ(frmPicResize::preselectedIndex(400), 1);
    EXPECT_EQ(frmPicResize::preselectedIndex(401), 2);
    EXPECT_EQ(frmPicResize::preselectedIndex(800), 2);
    EXPECT_EQ(frmPicResize::preselectedIndex(801), 3);
    EXPECT_EQ(frmPicResize::preselectedIndex(5000), 3);
}

TEST(PictureResizeDialog, ConfirmingThePreselectionGivesItsGrid)
{
    frmPicResize d(300);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Picture Resize"));
    EXPECT_TRUE(child<QRadioButton>(d, "Option1_1")->isChecked());
    EXPECT_EQ(child<QRadioButton>(d, "Option1_1")->text(), QStringLiteral("256x256"));
    child<QPushButton>(d, "Command1")->click();
    EXPECT_EQ(d.gridPoints(), 257);
}

TEST(PictureResizeDialog, LargestOptionGives2049Points)
{
    frmPicResize d(1000);
    QRadioButton* largest = child<QRadioButton>(d, "Option1_4");
    EXPECT_EQ(largest->text(), QStringLiteral("2048x2048"));
    largest->setChecked(true);
    child<QPushButton>(d, "Command1")->click();
    EXPECT_EQ(d.gridPoints(), 2049);
}

TEST(PictureResizeDialog, CancelAndCloseGiveZero)
{
    frmPicResize d(100);
    child<QPushButton>(d, "Command2")->click();
    EXPECT_EQ(d.gridPoints(), 0);
    frmPicResize e(100);
    e.show();
    e.close();
    EXPECT_EQ(e.gridPoints(), 0);
}

TEST(FileCommandDialogs, InstallingGivesEveryQuestionItsDialog)
{
    rt::QtUi ui;
    // Without its dialog a question counts as cancelled.
    EXPECT_EQ(ui.askSaveType(), FileCommands::SaveCancelled);
    EXPECT_EQ(ui.askBitmapSize(256), 0);
    EXPECT_EQ(ui.askPictureGridPoints(300), 0);
    installFileCommandDialogs(ui);
    EXPECT_TRUE(ui.saveTypeDialog);
    EXPECT_TRUE(ui.bitmapSizeDialog);
    EXPECT_TRUE(ui.pictureResizeDialog);
}
