#include "app/dlgOptions.h"

#include "app/AppState.h"
#include "app/vbConfig.h"
#include "runtime/ByteIO.h"
#include "runtime/FormControls.h"
#include "runtime/Numbers.h"
#include "runtime/Ui.h"
#include "terrain/Palette.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Options {

namespace {

const QString Start = QStringLiteral("Start");
const QString Directory = QStringLiteral("directory");
const QString MimeType = QStringLiteral("application/x-kelvarinor-terrain");
const QString DesktopName = QStringLiteral("kelvarinor.desktop");

// A whole number lo..hi, or def for anything else.
int choice(const QString& text, int lo, int hi, int def)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v >= lo && v <= hi ? v : def;
}

QString number(int v)
{
    return rt::Str(v);
}

} // namespace

const FolderRow FolderRows[3] = {
    {"Select Folder Of Terragen.exe :", "Terragen"},
    {"Select Folder Of Objects :", "Objects"},
    {"Select Folder Of terrains :", "Terrain"},
};

Values readValues()
{
    Values v;
    v.optTer = choice(vbConfig::ReadIni(Start, QStringLiteral("OptTer")), 0, 4, 1);
    v.resizeMode = ResizeMode == 2 ? 2 : 1;
    v.paletteRow = paletteRowClamped();
    return v;
}

static void reportUnwritten(const QString& error)
{
    rt::MsgBox(QStringLiteral("The settings could not be written to %1: %2\nThey apply until the editor closes.")
                   .arg(QDir::toNativeSeparators(vbConfig::SettingsFile), error),
               rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Options"));
}

void writeValues(const Values& v, QRgb backColour)
{
    const int colour = int(rt::RGB(qRed(backColour), qGreen(backColour), qBlue(backColour)));
    QString error;
    // The choices still apply now; the user learns they will not last.
    if (!vbConfig::WriteIni(Start,
                            {{QStringLiteral("OptTer"), number(v.optTer)},
                             {QStringLiteral("optzoom"), number(v.resizeMode)},
                             {QStringLiteral("color"), number(v.paletteRow)},
                             {QStringLiteral("BackColor"), number(colour)}},
                            &error))
        reportUnwritten(error);
}

QString chooseFolder(int row)
{
    if (row < 0 || row > 2) return QString();
    const QString path = rt::ui().folderDialog(QString::fromLatin1(FolderRows[row].title), rt::AppPath());
    if (path.isEmpty()) return QString();
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(path));
    QString error;
    if (!vbConfig::WriteIni(Directory, QString::fromLatin1(FolderRows[row].key), folder, &error))
        reportUnwritten(error);
    if (row == 1) ObjectDirectory = folder;
    if (row == 2) LastDirectory = folder;
    return folder;
}

QString desktopExec(const QString& program)
{
    // Inside quotes the desktop entry format escapes ", `, $ and \ with a
    // backslash, and the value itself doubles every backslash.
    QString quoted;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    quoted.replace(QLatin1String("%"), QLatin1String("%%"));
    return QLatin1Char('"') + quoted + QStringLiteral("\" %f");
}

QString defaultDataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool registerTerFiles(const QString& dataHome, const QString& program, QString* error)
{
    if (dataHome.isEmpty()) {
        if (error) *error = QStringLiteral("no folder for the user's data");
        return false;
    }
    const QString mimeDir = dataHome + QStringLiteral("/mime");
    const QString appsDir = dataHome + QStringLiteral("/applications");
    if (!QDir().mkpath(mimeDir + QStringLiteral("/packages")) || !QDir().mkpath(appsDir)) {
        if (error) *error = QStringLiteral("the folders below %1 could not be made").arg(dataHome);
        return false;
    }

    // The file type: *.ter files are terrains.
    const QByteArray mime =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"" + MimeType.toUtf8() + "\">\n"
        "    <comment>TerrainFiles</comment>\n"
        "    <glob pattern=\"*.ter\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    // The program that opens it, with the file as its one argument.
    const QByteArray desktop = "[Desktop Entry]\n"
                               "Type=Application\n"
                               "Name=Kelvarinor\n"
                               "Comment=TerrainFiles\n"
                               "Exec=" + desktopExec(program).toUtf8() + "\n"
                               "MimeType=" + MimeType.toUtf8() + ";\n"
                               "Terminal=false\n"
                               "Categories=Graphics;\n";
    if (!rt::writeFileAtomic(mimeDir + QStringLiteral("/packages/kelvarinor-ter.xml"), mime, error)) return false;
    if (!rt::writeFileAtomic(appsDir + QLatin1Char('/') + DesktopName, desktop, error)) return false;

    // The desktop reads its databases, not the files: refresh them where possible.
    const auto run = [](const char* tool, const QStringList& args) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!exe.isEmpty()) rt::Shell(exe, args);
    };
    run("update-mime-database", {mimeDir});
    run("update-desktop-database", {appsDir});
    run("xdg-mime", {QStringLiteral("default"), DesktopName, MimeType});
    return true;
}

} // namespace Options

namespace {

QWidget* page(QTabWidget* tabs, const QString& title)
{
    auto* w = new QWidget(tabs);
    new QVBoxLayout(w);
    tabs->addTab(w, title);
    return w;
}

void setSwatch(QLabel* swatch, QRgb c)
{
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(c));
    swatch->setPalette(p);
}

} // namespace

dlgOptions::dlgOptions(QWidget* backTarget, QWidget* parent) : QDialog(parent), m_backTarget(backTarget)
{
    setObjectName(QStringLiteral("dlgOptions"));
    setWindowTitle(QStringLiteral("Options"));
    ssTabOptions = new QTabWidget(this);
    ssTabOptions->setObjectName(QStringLiteral("ssTabOptions"));
    QWidget* general = page(ssTabOptions, QStringLiteral("General"));
    QWidget* folders = page(ssTabOptions, QStringLiteral("Folders"));

    auto* terSize = new QGroupBox(QStringLiteral("Terrainsize"), general);
    auto* tl = new QVBoxLayout(terSize);
    const char* sizes[] = {"128x128", "256x256", "512x512", "1024x1024", "2048x2048"};
    for (int k = 0; k < 5; ++k) {
        Option1[size_t(k)] = new QRadioButton(QString::fromLatin1(sizes[k]), terSize);
        Option1[size_t(k)]->setObjectName(QStringLiteral("Option1_%1").arg(k));
        tl->addWidget(Option1[size_t(k)]);
    }
    auto* resize = new QGroupBox(QStringLiteral("Modus for Resize"), general);
    auto* rl = new QVBoxLayout(resize);
    Option2[1] = new QRadioButton(QStringLiteral("Bilinear"), resize);
    Option2[2] = new QRadioButton(QStringLiteral("pixel repetition"), resize);
    for (int k = 1; k <= 2; ++k) {
        Option2[size_t(k)]->setObjectName(QStringLiteral("Option2_%1").arg(k));
        rl->addWidget(Option2[size_t(k)]);
    }
    auto* colours = new QGroupBox(QStringLiteral("Display Color"), general);
    auto* cl = new QVBoxLayout(colours);
    List1 = new QListWidget(colours);
    List1->setObjectName(QStringLiteral("List1"));
    List1->addItems({QStringLiteral("Greyscala"), QStringLiteral("Woodland"), QStringLiteral("Deset"),
                     QStringLiteral("Greenlands"), QStringLiteral("Palette"), QStringLiteral("Hills & Wood"),
                     QStringLiteral("Iceland"), QStringLiteral("Neon!")});
    cl->addWidget(List1);
    auto* back = new QGroupBox(QStringLiteral("BackColor"), general);
    auto* bl = new QHBoxLayout(back);
    shColor = new QLabel(back);
    shColor->setObjectName(QStringLiteral("shColor"));
    shColor->setFixedSize(40, 24);
    shColor->setFrameShape(QFrame::Box);
    shColor->setAutoFillBackground(true);
    cmdSelectColor = new QPushButton(QStringLiteral("select .."), back);
    cmdSelectColor->setObjectName(QStringLiteral("cmdSelectColor"));
    bl->addWidget(new QLabel(QStringLiteral("actual"), back));
    bl->addWidget(shColor);
    bl->addWidget(cmdSelectColor);
    auto* gl = new QGridLayout;
    gl->addWidget(terSize, 0, 0);
    gl->addWidget(resize, 1, 0);
    gl->addWidget(colours, 0, 1, 2, 1);
    gl->addWidget(back, 2, 0, 1, 2);
    static_cast<QVBoxLayout*>(general->layout())->addLayout(gl);

    const char* labels[] = {"Link to Terragen", "Object path", "Terrain path"};
    const char* textNames[] = {"Text1", "Text2", "Text3"};
    const char* buttonNames[] = {"command1", "Command2", "Command3"};
    auto* fl = new QGridLayout;
    for (int r = 0; r < 3; ++r) {
        folderText[size_t(r)] = new QLineEdit(folders);
        folderText[size_t(r)]->setObjectName(QString::fromLatin1(textNames[r]));
        // Folders come from the browser, which also stores them.
        folderText[size_t(r)]->setReadOnly(true);
        folderButton[size_t(r)] = new QPushButton(QStringLiteral("..."), folders);
        folderButton[size_t(r)]->setObjectName(QString::fromLatin1(buttonNames[r]));
        folderButton[size_t(r)]->setAutoDefault(false);
        fl->addWidget(new QLabel(QString::fromLatin1(labels[r]), folders), r, 0);
        fl->addWidget(folderText[size_t(r)], r, 1);
        fl->addWidget(folderButton[size_t(r)], r, 2);
        connect(folderButton[size_t(r)], &QPushButton::clicked, this, [this, r] { browse_Click(r); });
    }
    chkRegTERFile = new QCheckBox(QStringLiteral("register TER-Files with Kelvarinor"), folders);
    chkRegTERFile->setObjectName(QStringLiteral("chkRegTERFile"));
    fl->addWidget(chkRegTERFile, 3, 0, 1, 3);
    static_cast<QVBoxLayout*>(folders->layout())->addLayout(fl);
    static_cast<QVBoxLayout*>(folders->layout())->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ssTabOptions);
    layout->addLayout(
        rt::okCancelRow(this, OKButton, QStringLiteral("&Save"), CancelButton, QStringLiteral("&Cancel")));

    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButton_Click(); });
    connect(cmdSelectColor, &QPushButton::clicked, this, [this] { cmdSelectColor_Click(); });
    connect(chkRegTERFile, &QCheckBox::clicked, this, [this] { chkRegTERFile_Click(); });

    // On opening: the swatch, the choices and the folders as the settings hold them.
    m_swatch = backColour();
    setSwatch(shColor, m_swatch);
    const Options::Values v = Options::readValues();
    Option1[size_t(v.optTer)]->setChecked(true);
    Option2[size_t(v.resizeMode)]->setChecked(true);
    List1->setCurrentRow(v.paletteRow);
    folderText[0]->setText(vbConfig::ReadIni(QStringLiteral("directory"), QStringLiteral("terragen")));
    folderText[1]->setText(vbConfig::ReadIni(QStringLiteral("directory"), QStringLiteral("objects")));
    folderText[2]->setText(vbConfig::ReadIni(QStringLiteral("directory"), QStringLiteral("terrain")));
}

QRgb dlgOptions::backColour() const
{
    return m_backTarget ? m_backTarget->palette().color(QPalette::Window).rgb() : qRgb(212, 208, 200);
}

void dlgOptions::setBackColour(QRgb c)
{
    if (!m_backTarget) return;
    QPalette p = m_backTarget->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(c));
    m_backTarget->setPalette(p);
    m_backTarget->setAutoFillBackground(true);
}

void dlgOptions::cmdSelectColor_Click()
{
    if (const auto c = rt::ui().colorDialog(QColor::fromRgb(backColour()))) setBackColour(c->rgb());
}

void dlgOptions::CancelButton_Click()
{
    reject();
}

void dlgOptions::reject()
{
    // The colour chosen on the way was never saved: the window gets its own back.
    setBackColour(m_swatch);
    QDialog::reject();
}

void dlgOptions::OKButton_Click()
{
    Options::Values v;
    // The first checked option of each array.
    for (int k = 0; k < 5; ++k)
        if (Option1[size_t(k)]->isChecked()) {
            v.optTer = k;
            break;
        }
    v.resizeMode = Option2[2]->isChecked() ? 2 : 1;
    // Stored in the settings file and used at once.
    v.paletteRow = std::max(List1->currentRow(), 0);
    Options::writeValues(v, backColour());
    ResizeMode = int16_t(v.resizeMode);
    PaletteRow = v.paletteRow;
    accept();
}

void dlgOptions::browse_Click(int row)
{
    const QString folder = Options::chooseFolder(row);
    if (!folder.isEmpty()) folderText[size_t(row)]->setText(folder);
}

void dlgOptions::chkRegTERFile_Click()
{
    QString error;
    if (!Options::registerTerFiles(Options::defaultDataHome(), rt::AppPath() + QStringLiteral("/kelvarinor"), &error))
        rt::MsgBox(QStringLiteral("TER files could not be registered with Kelvarinor: %1").arg(error),
                   rt::vbOKOnly | rt::vbExclamation, QStringLiteral("Options"));
}
