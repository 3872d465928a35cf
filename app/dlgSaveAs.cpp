#include "app/dlgSaveAs.h"

#include "app/FileCommands.h"
#include "app/dlgBitmapVariable.h"
#include "app/frmPicResize.h"
#include "runtime/QtUi.h"
#include "runtime/Ui.h"

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>

dlgSaveAs::dlgSaveAs(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSaveAs"));
    setWindowTitle(QStringLiteral("Save as"));
    auto* layout = new QVBoxLayout(this);
    auto add = [&](QPushButton*& button, const char* name, const QString& caption, int type) {
        button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, type] { choose(type); });
    };
    add(OKButton, "OKButton", QStringLiteral("&TerraGen-File [.TER]"), FileCommands::SaveTer);
    add(cmdBMP, "cmdBMP", QStringLiteral("&Bitmap-File (24 Bit) [.BMP]"), FileCommands::SaveBitmap);
    add(cmdBMPvariable, "cmdBMPvariable", QStringLiteral("Bitmap-File (variable Size) [.BMP]"),
        FileCommands::SaveBitmapSized);
    add(CancelButton, "CancelButton", QStringLiteral("&Cancel"), FileCommands::SaveCancelled);
    OKButton->setDefault(true);
}

void dlgSaveAs::choose(int type)
{
    m_saveType = type;
    if (type == FileCommands::SaveCancelled) reject();
    else accept();
}

int dlgSaveAs::runSaveAs(QWidget* parent)
{
    dlgSaveAs dialog(parent ? parent : QApplication::activeWindow());
    dialog.exec();
    return dialog.saveType();
}

void installFileCommandDialogs(rt::QtUi& ui)
{
    ui.saveTypeDialog = [] { return dlgSaveAs::runSaveAs(); };
    ui.bitmapSizeDialog = [](int gridSize) { return dlgBitmapVariable::runBitmapVariable(gridSize); };
    ui.pictureResizeDialog = [](int height) { return frmPicResize::runPicResize(height); };
}
