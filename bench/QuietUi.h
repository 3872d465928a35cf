#pragma once
// A user interface for benchmarks: every question gets the same answer and
// status, pumps and redraws cost nothing, so only the work is measured.

#include "runtime/Ui.h"

class QuietUi : public rt::UiService {
public:
    explicit QuietUi(int answer = rt::vbOK) : m_answer(answer) {}
    int msgBox(const QString&, int, const QString&) override { return m_answer; }
    rt::FileDialogResult openFileDialog(const rt::FileDialogRequest&) override { return {}; }
    rt::FileDialogResult saveFileDialog(const rt::FileDialogRequest&) override { return {}; }
    std::optional<QColor> colorDialog(const QColor&) override { return std::nullopt; }
    void setStatusText(const QString&) override {}
    void processEvents() override {}
    bool startProgram(const QString&, const QStringList&, const QString&) override { return false; }
    void refreshMainWindow() override {}

private:
    int m_answer;
};
