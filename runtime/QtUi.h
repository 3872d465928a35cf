#pragma once
// The user-interface service of the running program, on Qt dialogs.

#include "runtime/Ui.h"

#include <functional>

class QWidget;

namespace rt {

// Qt name filters ("Setting (*.par)") from a dialog filter "text|pattern|...",
// in the same order, so a 1-based filter index points at the same entry.
QStringList dialogNameFilters(const QString& filter);

class QtUi : public UiService {
public:
    // Where status text goes and what redraws the main window; set by the main window.
    std::function<void(const QString&)> statusSink;
    std::function<void()> refreshSink;
    QWidget* dialogParent = nullptr;

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
};

} // namespace rt
