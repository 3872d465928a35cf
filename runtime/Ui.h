#pragma once
// The user-interface services that logic code calls: message boxes, file and
// colour dialogs, the program's own questions, status text, progress, the
// event pump and starting programs.
// The program installs the Qt implementation (QtUi); tests install ScriptedUi,
// which answers from a queue and fails on anything it was not told to expect.

#include <QColor>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace rt {

// MsgBox styles: buttons + icon (+ 4096 system-modal, ignored here).
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbSystemModal = 4096,
};

// MsgBox answers.
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

struct FileDialogRequest {
    QString title;
    QString filter;       // "text|pattern|text|pattern", patterns joined by ";"
    int filterIndex = 1;  // 1-based
    QString defaultExt;   // without the dot
    QString initDir;
    QString fileName;
};

struct FileDialogResult {
    bool accepted = false;  // false: the user cancelled
    QString fileName;       // absolute path
    int filterIndex = 1;    // 1-based index of the filter the user chose; 0: none of the request's
};

// The droplet erosion's four settings, at their design values.
struct ErosionSettings {
    int32_t dropCount = 10000;  // "Drops count", 1000..50000
    int32_t dropWith = 9;       // "drops with", 1..20 (shown and stored, not used)
    int32_t landslide = 4;      // "Landslide depht", 1..10: width of the dug square
    int32_t depth = 3;          // "Erosion", 1..8: depth factor of each dig
};

class UiService {
public:
    virtual ~UiService() = default;

    virtual int msgBox(const QString& text, int style, const QString& title) = 0;
    virtual FileDialogResult openFileDialog(const FileDialogRequest& request) = 0;
    virtual FileDialogResult saveFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> colorDialog(const QColor& initial) = 0;

    // The main window's status label (InfoText).
    virtual void setStatusText(const QString& text) = 0;
    // Runs pending window events; DoEvents throttles the calls.
    virtual void processEvents() = 0;
    // Told of every DoEvents call, throttled or not, so a test can see where a
    // routine lets the pump run.
    virtual void pumpAsked() {}
    // Starts a separate program with a list of arguments (never a shell string).
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              const QString& workingDir) = 0;
    // Redraws the main window after the current terrain changed.
    virtual void refreshMainWindow() = 0;
    // A folder chosen by the user, starting at startDir; empty when cancelled.
    virtual QString folderDialog(const QString& title, const QString& startDir) { return QString(); }

    // The program's own questions, each answered by one of its dialogs; 0
    // means cancelled.
    // The save type: 1 TER file, 2 bitmap, 3 bitmap of a chosen size.
    virtual int askSaveType() { return 0; }
    // The side in pixels of a bitmap of a terrain of Size gridSize.
    virtual int askBitmapSize(int gridSize) { return 0; }
    // The grid points (129 .. 2049) a picture of this height is resized to.
    virtual int askPictureGridPoints(int pictureHeight) { return 0; }
    // The droplet erosion's settings; nullopt when cancelled.
    virtual std::optional<ErosionSettings> askErosionSettings() { return std::nullopt; }
};

// The installed service; a scripted default that fails on every question is
// used until the program or a test installs one.
UiService& ui();
// Installs a service (not owned); nullptr restores the default.
void setUi(UiService* service);

// Convenience forms with the runtime's names.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());
// Runs the event pump at most every few milliseconds, so loops that call it
// once per row spend their time on work, not on repainting.
void DoEvents();
// Starts a program; false when it could not be started.
bool Shell(const QString& program, const QStringList& arguments, const QString& workingDir = QString());

// The program folder, without a trailing separator. Defaults to the folder of
// the executable; tests point it elsewhere.
QString AppPath();
void setAppPath(const QString& path);

// The program's title, shown on message boxes without a title of their own.
QString AppTitle();

// True while a long operation runs, that is while any BusyGuard lives. The
// main window holds back user input while it is set and its timer shows the
// progress. Only BusyGuard changes it.
extern const bool& BusyFlag;

// Marks a long operation for as long as it lives. Guards nest: the flag stays
// set until the outermost guard ends, so a command or step that ends inside
// another one never makes the window usable while the outer one still runs.
class BusyGuard {
public:
    BusyGuard();
    ~BusyGuard();
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

} // namespace rt
