#pragma once
// A user-interface service for tests: message boxes and dialogs are answered
// from queues filled by the test. A question nobody queued an answer for fails
// the running test, so unexpected messages cannot pass unnoticed.

#include "runtime/Ui.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

class ScriptedUi : public rt::UiService {
public:
    struct ShownMessage {
        QString text;
        int style = 0;
        QString title;
    };
    struct StartedProgram {
        QString program;
        QStringList arguments;
        QString workingDir;
    };

    // Answers for the next message boxes, in order.
    void expectMsgBox(int answer) { msgBoxAnswers.push_back(answer); }
    // Answers for the next open/save dialogs; a result with accepted=false is a cancel.
    void expectOpenDialog(rt::FileDialogResult r) { openAnswers.push_back(std::move(r)); }
    void expectSaveDialog(rt::FileDialogResult r) { saveAnswers.push_back(std::move(r)); }
    void expectColorDialog(std::optional<QColor> c) { colorAnswers.push_back(c); }
    void setStartProgramResult(bool ok) { startResult = ok; }

    int msgBox(const QString& text, int style, const QString& title) override;
    rt::FileDialogResult openFileDialog(const rt::FileDialogRequest& request) override;
    rt::FileDialogResult saveFileDialog(const rt::FileDialogRequest& request) override;
    std::optional<QColor> colorDialog(const QColor& initial) override;
    void setStatusText(const QString& text) override;
    void processEvents() override;
    void pumpAsked() override
    {
        ++pumpAskedCount;
        if (onPumpAsked) onPumpAsked();
    }
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& workingDir) override;
    void refreshMainWindow() override { ++refreshCount; }
    // Answers for the next folder dialogs; an empty path is a cancel.
    void expectFolderDialog(const QString& path) { folderAnswers.push_back(path); }
    QString folderDialog(const QString& title, const QString& startDir) override;
    std::deque<QString> folderAnswers;
    QStringList folderTitles;

    // Answers for the program's own questions; 0 is a cancel.
    void expectSaveType(int type) { saveTypeAnswers.push_back(type); }
    void expectBitmapSize(int side) { bitmapSizeAnswers.push_back(side); }
    void expectPictureGridPoints(int points) { pictureGridPointsAnswers.push_back(points); }
    void expectErosionSettings(std::optional<rt::ErosionSettings> s) { erosionAnswers.push_back(s); }
    int askSaveType() override;
    int askBitmapSize(int gridSize) override;
    int askPictureGridPoints(int pictureHeight) override;
    std::optional<rt::ErosionSettings> askErosionSettings() override;
    std::deque<int> saveTypeAnswers;
    std::deque<int> bitmapSizeAnswers;
    std::deque<int> pictureGridPointsAnswers;
    std::deque<std::optional<rt::ErosionSettings>> erosionAnswers;
    // What the bitmap-size and picture-resize questions were asked with.
    std::vector<int> bitmapSizeGridSizes;
    std::vector<int> pictureGridPointsHeights;

    // True when every queued answer was used.
    bool allAnswersUsed() const;

    std::deque<int> msgBoxAnswers;
    std::deque<rt::FileDialogResult> openAnswers;
    std::deque<rt::FileDialogResult> saveAnswers;
    std::deque<std::optional<QColor>> colorAnswers;

    std::vector<ShownMessage> messages;
    std::vector<rt::FileDialogRequest> dialogRequests;
    std::vector<StartedProgram> started;
    QStringList statusTexts;
    int pumpCount = 0;
    // Every DoEvents call, before the throttle; onPumpAsked runs at each.
    int pumpAskedCount = 0;
    std::function<void()> onPumpAsked;
    // Runs at every pump: what the user does while a command lets events through.
    std::function<void()> onPump;
    int refreshCount = 0;
    bool startResult = true;
};

// The scripted service installed for the running test (fresh for every test).
ScriptedUi& scriptedUi();
