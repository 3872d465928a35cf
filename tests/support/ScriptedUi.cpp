#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

namespace {

// The next queued answer; a question nobody queued one for fails the test and counts as cancelled.
int nextAnswer(std::deque<int>& answers, const char* question)
{
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question;
        return 0;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

int ScriptedUi::msgBox(const QString& text, int style, const QString& title)
{
    messages.push_back({text, style, title});
    if (msgBoxAnswers.empty()) {
        ADD_FAILURE() << "unexpected message box: \"" << text.toStdString() << "\" (" << title.toStdString() << ")";
        return (style & 7) == rt::vbYesNo || (style & 7) == rt::vbYesNoCancel ? rt::vbNo : rt::vbOK;
    }
    const int answer = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return answer;
}

rt::FileDialogResult ScriptedUi::openFileDialog(const rt::FileDialogRequest& request)
{
    dialogRequests.push_back(request);
    if (openAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << request.title.toStdString();
        return {};
    }
    auto r = openAnswers.front();
    openAnswers.pop_front();
    return r;
}

rt::FileDialogResult ScriptedUi::saveFileDialog(const rt::FileDialogRequest& request)
{
    dialogRequests.push_back(request);
    if (saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << request.title.toStdString();
        return {};
    }
    auto r = saveAnswers.front();
    saveAnswers.pop_front();
    return r;
}

std::optional<QColor> ScriptedUi::colorDialog(const QColor&)
{
    if (colorAnswers.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    auto c = colorAnswers.front();
    colorAnswers.pop_front();
    return c;
}

void ScriptedUi::setStatusText(const QString& text)
{
    statusTexts << text;
}

void ScriptedUi::processEvents()
{
    ++pumpCount;
    if (onPump) onPump();
}

bool ScriptedUi::startProgram(const QString& program, const QStringList& arguments, const QString& workingDir)
{
    started.push_back({program, arguments, workingDir});
    return startResult;
}

bool ScriptedUi::allAnswersUsed() const
{
    return msgBoxAnswers.empty() && openAnswers.empty() && saveAnswers.empty() && colorAnswers.empty() &&
           folderAnswers.empty() && saveTypeAnswers.empty() && bitmapSizeAnswers.empty() &&
           pictureGridPointsAnswers.empty() && erosionAnswers.empty();
}

QString ScriptedUi::folderDialog(const QString& title, const QString&)
{
    folderTitles.push_back(title);
    if (folderAnswers.empty()) {
        ADD_FAILURE() << "unexpected folder dialog: " << title.toStdString();
        return QString();
    }
    QString path = folderAnswers.front();
    folderAnswers.pop_front();
    return path;
}

int ScriptedUi::askSaveType()
{
    return nextAnswer(saveTypeAnswers, "save type");
}

int ScriptedUi::askBitmapSize(int gridSize)
{
    bitmapSizeGridSizes.push_back(gridSize);
    return nextAnswer(bitmapSizeAnswers, "bitmap size");
}

int ScriptedUi::askPictureGridPoints(int pictureHeight)
{
    pictureGridPointsHeights.push_back(pictureHeight);
    return nextAnswer(pictureGridPointsAnswers, "picture resize");
}

std::optional<rt::ErosionSettings> ScriptedUi::askErosionSettings()
{
    if (erosionAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: erosion settings";
        return std::nullopt;
    }
    auto s = erosionAnswers.front();
    erosionAnswers.pop_front();
    return s;
}
