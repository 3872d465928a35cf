#pragma once
// The user-interface service of the running program, on Qt dialogs.

#include "runtime/Ui.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QWidget;

namespace rt {

// Qt name filters ("Setting (*.par)") from a dialog filter "text|pattern|...",
// in the same order, so a 1-based filter index points at the same entry. Runs
// of blanks fold to one, as the file dialog shows the texts.
QStringList dialogNameFilters(const QString& filter);

class QtUi : public UiService {
public:
    // Where status text goes and what redraws the main window; set by the main window.
    std::function<void(const QString&)> statusSink;
    std::function<void()> refreshSink;
    QWidget* dialogParent = nullptr;
    // The program's own dialogs, filled in by the program at start; a
    // question without its dialog counts as cancelled.
    std::function<int()> saveTypeDialog;
    std::function<int(int gridSize)> bitmapSizeDialog;
    std::function<int(int pictureHeight)> pictureResizeDialog;
    std::function<std::optional<ErosionSettings>()> erosionDialog;

    int msgBox(const QString& text, int style, const QString& title) override;
    FileDialogResult openFileDialog(const FileDialogRequest& request) override;
    FileDialogResult saveFileDialog(const FileDialogRequest& request) override;
    std::optional<QColor> colorDialog(const QColor& initial) override;
    void setStatusText(const QString& text) override;
    void processEvents() override;
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDir) override;
    void refreshMainWindow() override;
    QString folderDialog(const QString& title, const QString& startDir) override;
    int askSaveType() override;
    int askBitmapSize(int gridSize) override;
    int askPictureGridPoints(int pictureHeight) override;
    std::optional<ErosionSettings> askErosionSettings() override;
};

// Holds back user input while BusyFlag is set: mouse, keys, wheel, shortcuts,
// context menus and drops aimed at a window that was open when the busy state
// began are dropped, so the event pump inside a long operation cannot start
// another command, tool or edit. Windows the operation opens itself (its
// questions and file dialogs, their pop-ups) take input as usual; painting and
// timers go on. Installs itself on the application while it lives.
class BusyInputHold : public QObject {
public:
    explicit BusyInputHold(QObject* parent = nullptr);
    ~BusyInputHold() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> m_openedWhileBusy;
    // Buttons whose press was held back, until their release.
    Qt::MouseButtons m_heldButtons;
};

} // namespace rt
