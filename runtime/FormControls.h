#pragma once
// Building blocks the windows lay their controls out with: a control carries
// its name (the tests and the handlers find it by it) and its tool tip.

#include <QString>
#include <QWidget>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QSlider;

namespace rt {

template <class W>
W* named(W* w, const char* name, const QString& toolTip = QString())
{
    w->setObjectName(QString::fromLatin1(name));
    if (!toolTip.isEmpty()) w->setToolTip(toolTip);
    return w;
}

// A button that is never a dialog's default: Enter must not run it.
QPushButton* plainButton(QWidget* parent, const char* name, const QString& caption, const QString& toolTip = QString());

// A horizontal slider; tickInterval 0 draws no ticks.
QSlider* slider(QWidget* parent, const char* name, int lo, int hi, int value, int pageStep, int tickInterval,
                const QString& toolTip = QString());

// A dialog's closing buttons OKButton and CancelButton, at the right end of a row.
QHBoxLayout* okCancelRow(QWidget* parent, QPushButton*& ok, const QString& okCaption, QPushButton*& cancel,
                         const QString& cancelCaption);

// A text box that shows a value rounded for show must not write it back
// unless the user changed the text: the program puts its text in with
// showText, and userEdited tells whether the box now holds other text.
void showText(QLineEdit* box, const QString& text);
bool userEdited(const QLineEdit* box);

} // namespace rt
