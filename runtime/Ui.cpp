#include "runtime/Ui.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace rt {

namespace {

bool g_busy = false;
int g_busyDepth = 0;

// Used before anything is installed: answers every question with Cancel and
// says so on stderr, so a missing installation is noticed.
class NullUi : public UiService {
public:
    int msgBox(const QString& text, int, const QString&) override
    {
        std::fprintf(stderr, "MsgBox without a user interface: %s\n", qPrintable(text));
        return vbCancel;
    }
    FileDialogResult openFileDialog(const FileDialogRequest&) override { return {}; }
    FileDialogResult saveFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QColor> colorDialog(const QColor&) override { return std::nullopt; }
    void setStatusText(const QString&) override {}
    void processEvents() override {}
    bool startProgram(const QString&, const QStringList&, const QString&) override { return false; }
    void refreshMainWindow() override {}
};

NullUi g_null;
UiService* g_ui = nullptr;
QString g_appPath;

} // namespace

const bool& BusyFlag = g_busy;

BusyGuard::BusyGuard()
{
    ++g_busyDepth;
    g_busy = true;
}

BusyGuard::~BusyGuard()
{
    --g_busyDepth;
    g_busy = g_busyDepth > 0;
}

UiService& ui()
{
    return g_ui ? *g_ui : g_null;
}

void setUi(UiService* service)
{
    g_ui = service;
}

int MsgBox(const QString& text, int style, const QString& title)
{
    return ui().msgBox(text, style, title.isEmpty() ? AppTitle() : title);
}

void DoEvents()
{
    static QElapsedTimer since;
    ui().pumpAsked();
    if (since.isValid() && since.elapsed() < 40) return;
    since.start();
    ui().processEvents();
}

bool Shell(const QString& program, const QStringList& arguments, const QString& workingDir)
{
    return ui().startProgram(program, arguments, workingDir);
}

QString AppPath()
{
    if (g_appPath.isEmpty() && QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return g_appPath;
}

void setAppPath(const QString& path)
{
    g_appPath = path;
    while (g_appPath.size() > 1 && g_appPath.endsWith(QLatin1Char('/'))) g_appPath.chop(1);
}

QString AppTitle()
{
    return QStringLiteral("Kelvarinor");
}

} // namespace rt
