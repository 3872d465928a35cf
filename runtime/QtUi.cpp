#include "runtime/QtUi.h"

#include <QApplication>
#include <QColorDialog>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>

#include <algorithm>
#include <vector>

namespace rt {

QStringList dialogNameFilters(const QString& filter)
{
    // "text|pattern|text|pattern" with patterns joined by ";" becomes Qt's
    // "text (pattern pattern)"; a text without its pattern is dropped.
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty()) patterns << p.trimmed();
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        const QString joined = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        // Blanks folded as the dialog folds them, so the chosen text maps back.
        QString text = parts[i].simplified();
        // Qt reads the patterns from the last parentheses, so they always go last.
        if (!text.endsWith(joined)) text = (text.isEmpty() ? QString() : text + QLatin1Char(' ')) + joined;
        result << text;
    }
    return result;
}

namespace {

struct ButtonSet {
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;  // in order, with answers
    QMessageBox::StandardButton escape;  // what closing the box means
};

ButtonSet buttonsFor(int style)
{
    switch (style & 7) {
    case vbOKCancel:
        return {{{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}, QMessageBox::Cancel};
    case vbYesNoCancel:
        return {{{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}},
                QMessageBox::Cancel};
    case vbYesNo:
        return {{{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}, QMessageBox::No};
    default:
        return {{{QMessageBox::Ok, vbOK}}, QMessageBox::Ok};
    }
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The common set-up of the open and save dialogs.
void prepare(QFileDialog& dialog, const FileDialogRequest& request, const QStringList& filters)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!request.initDir.isEmpty()) dialog.setDirectory(request.initDir);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
}

FileDialogResult run(QFileDialog& dialog, const QStringList& filters)
{
    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.accepted = true;
    result.fileName = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
    // The filters are simplified as the dialog keeps them; a text it changed
    // otherwise names no filter rather than the first.
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter().simplified());
    result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : 0;
    return result;
}

} // namespace

int QtUi::msgBox(const QString& text, int style, const QString& title)
{
    const ButtonSet set = buttonsFor(style);
    QMessageBox box(iconFor(style), title, text, QMessageBox::NoButton, dialogParent);
    QPushButton* first = nullptr;
    for (const auto& [button, answer] : set.buttons) {
        QPushButton* b = box.addButton(button);
        if (!first) first = b;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(box.button(set.escape));
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const auto& [button, answer] : set.buttons)
        if (button == clicked) return answer;
    // Closed without a button (the title bar's close button): what Escape means.
    for (const auto& [button, answer] : set.buttons)
        if (button == set.escape) return answer;
    return vbCancel;
}

FileDialogResult QtUi::openFileDialog(const FileDialogRequest& request)
{
    const QStringList filters = dialogNameFilters(request.filter);
    QFileDialog dialog(dialogParent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    prepare(dialog, request, filters);
    return run(dialog, filters);
}

FileDialogResult QtUi::saveFileDialog(const FileDialogRequest& request)
{
    const QStringList filters = dialogNameFilters(request.filter);
    QFileDialog dialog(dialogParent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Appended when the typed name has no extension; the overwrite question
    // (on by default) sees the name with it.
    QString ext = request.defaultExt;
    while (ext.startsWith(QLatin1Char('.'))) ext.remove(0, 1);
    dialog.setDefaultSuffix(ext);
    prepare(dialog, request, filters);
    return run(dialog, filters);
}

std::optional<QColor> QtUi::colorDialog(const QColor& initial)
{
    const QColor c = QColorDialog::getColor(initial, dialogParent, QString(), QColorDialog::DontUseNativeDialog);
    if (!c.isValid()) return std::nullopt;
    return c;
}

void QtUi::setStatusText(const QString& text)
{
    if (statusSink) statusSink(text);
}

void QtUi::processEvents()
{
    QApplication::processEvents();
}

bool QtUi::startProgram(const QString& program, const QStringList& arguments, const QString& workingDir)
{
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, arguments, workingDir);
}

void QtUi::refreshMainWindow()
{
    if (refreshSink) refreshSink();
}

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

BusyInputHold::BusyInputHold(QObject* parent) : QObject(parent)
{
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

BusyInputHold::~BusyInputHold()
{
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool BusyInputHold::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    // The drag and release of a press held back go too, also after the
    // command: a tool would take them for a stroke it never saw begin.
    if (m_heldButtons && widget) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonRelease) {
            const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
            if (m_heldButtons & button) {
                m_heldButtons &= ~Qt::MouseButtons(button);
                return true;
            }
        } else if (type == QEvent::MouseMove) {
            // A button let go outside the program sends no release.
            m_heldButtons &= static_cast<QMouseEvent*>(event)->buttons();
            if (m_heldButtons && !BusyFlag) return true;
        }
    }
    if (!BusyFlag) {
        m_openedWhileBusy.clear();
        return false;
    }
    // Only a window shown by the program counts: restoring a minimized one
    // also brings a Show, from the system, to a window open all along.
    if (event->type() == QEvent::Show && !event->spontaneous() && widget && widget->isWindow()) {
        m_openedWhileBusy.emplace_back(widget);
        return false;
    }
    if (!isUserInput(event->type())) return false;
    // Input reaches a widget after its window. A shortcut goes to an action or
    // shortcut object instead; its keys were pressed in the active window.
    const QWidget* window = widget ? widget->window() : nullptr;
    if (!widget && event->type() == QEvent::Shortcut) window = QApplication::activeWindow();
    if (!window) return event->type() == QEvent::Shortcut;
    const bool openedWhileBusy = std::any_of(m_openedWhileBusy.begin(), m_openedWhileBusy.end(),
                                             [window](const QPointer<QWidget>& w) { return w == window; });
    if (openedWhileBusy) return false;
    if (widget && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        m_heldButtons |= static_cast<QMouseEvent*>(event)->button();
    return true;
}

QString QtUi::folderDialog(const QString& title, const QString& startDir)
{
    return QFileDialog::getExistingDirectory(dialogParent, title, startDir,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

int QtUi::askSaveType()
{
    return saveTypeDialog ? saveTypeDialog() : 0;
}

int QtUi::askBitmapSize(int gridSize)
{
    return bitmapSizeDialog ? bitmapSizeDialog(gridSize) : 0;
}

int QtUi::askPictureGridPoints(int pictureHeight)
{
    return pictureResizeDialog ? pictureResizeDialog(pictureHeight) : 0;
}

std::optional<ErosionSettings> QtUi::askErosionSettings()
{
    return erosionDialog ? erosionDialog() : std::nullopt;
}

} // namespace rt
