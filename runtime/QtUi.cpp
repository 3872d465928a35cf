#include "runtime/QtUi.h"

#include <QApplication>
#include <QMessageBox>

namespace rt {

int QtUi::msgBox(const QString& text, int style, const QString& title)
{
    return QMessageBox::information(dialogParent, title, text) == QMessageBox::Ok ? vbOK : vbCancel;
}
FileDialogResult QtUi::openFileDialog(const FileDialogRequest&) { return {}; }
FileDialogResult QtUi::saveFileDialog(const FileDialogRequest&) { return {}; }
std::optional<QColor> QtUi::colorDialog(const QColor&) { return std::nullopt; }
void QtUi::setStatusText(const QString& text)
{
    if (statusSink) statusSink(text);
}
void QtUi::processEvents()
{
    QApplication::processEvents();
}
bool QtUi::startProgram(const QString&, const QStringList&, const QString&) { return false; }
void QtUi::refreshMainWindow()
{
    if (refreshSink) refreshSink();
}

} // namespace rt
