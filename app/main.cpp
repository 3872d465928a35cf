#include "generate/dlgFltErosion.h"
#include "app/dlgSaveAs.h"
#include "app/frmAbout.h"
#include "app/frmTer.h"
#include "app/frmTerMain.h"
#include "app/frmTerView.h"
// quorvex ships beside the editor; its routines are declared here and never called.
#include "quorvex/quorvex.h"
#include "runtime/QtUi.h"
#include "runtime/Ui.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvarinor"));
    QApplication::setWindowIcon(QIcon(frmAbout::productPicture()));
    rt::setAppPath(QCoreApplication::applicationDirPath());
    rt::QtUi qtUi;
    rt::setUi(&qtUi);
    installFileCommandDialogs(qtUi);
    dlgFltErosion::install(qtUi);

    KVTools2::StartOptions options;
    options.commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
    options.showSplash = qEnvironmentVariable("KV_NO_SPLASH") != QLatin1String("1");
    options.beforeWindowLoad = [&qtUi](frmTer& w) {
        qtUi.dialogParent = &w;
        qtUi.statusSink = [&w](const QString& text) { w.InfoText->setText(text); };
        qtUi.refreshSink = [&w] {
            w.Picture1->update();
            w.ActualScreen();
        };
    };

    int result = 1;
    if (auto window = KVTools2::Main(options)) {
        result = app.exec();
    }
    qtUi.statusSink = nullptr;
    qtUi.refreshSink = nullptr;
    qtUi.dialogParent = nullptr;
    rt::setUi(nullptr);
    KVTools2::releaseTerrains();
    return result;
}
