#include "generate/dlgSavePerlinsetNew.h"

#include "generate/PerlinSetWriter.h"
#include "runtime/FormControls.h"
#include "runtime/Ui.h"
#include "terrain/KVTools2Scale.h"
#include "terrain/TerrainGlobals.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool SavePerlinSet(const QString& name)
{
    // The file first: a cancel leaves the terrain as it is.
    rt::FileDialogRequest request;
    request.initDir = rt::AppPath() + QLatin1Char('/');
    request.defaultExt = QStringLiteral("KPS");
    request.title = QStringLiteral("PerlinSets save ...");
    request.filter = QStringLiteral("PerlinSets|*.KPS");
    request.fileName = name.trimmed();
    const rt::FileDialogResult chosen = rt::ui().saveFileDialog(request);
    if (!chosen.accepted || chosen.fileName.isEmpty()) return false;

    // The set is stored over the full 16-bit range.
    RunScaleTerrain(*CurrentTerrain);

    // The whole file in one write, so a failure keeps any older file.
    QString error;
    if (!PerlinSetWriter::writePerlinSet(chosen.fileName, *CurrentTerrain, name, &error)) {
        rt::MsgBox(QStringLiteral("The perlin set could not be saved as %1: %2").arg(chosen.fileName, error),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("PerlinSets save ..."));
        return false;
    }
    return true;
}

dlgSavePerlinsetNew::dlgSavePerlinsetNew(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgSavePerlinsetNew"));
    setWindowTitle(QStringLiteral("Sichere Perlinset Neu"));
    Label1 = new QLabel(QStringLiteral("Name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    // The file holds 24 characters; a longer name would be cut unseen.
    Text1->setMaxLength(PerlinSetWriter::NameLength);
    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(Text1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(
        rt::okCancelRow(this, OKButton, QStringLiteral("OK"), CancelButton, QStringLiteral("Abbrechen")));
    OKButton->setDefault(true);
    CancelButton->setAutoDefault(false);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void dlgSavePerlinsetNew::OKButton_Click()
{
    if (Text1->text().trimmed().isEmpty()) return;
    SavePerlinSet(Text1->text());
    accept();
}
