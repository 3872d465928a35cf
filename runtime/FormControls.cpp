#include "runtime/FormControls.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace rt {

namespace {

// The property that holds the text the program last put into a box.
constexpr char kShownText[] = "kvShownText";

} // namespace

QPushButton* plainButton(QWidget* parent, const char* name, const QString& caption, const QString& toolTip)
{
    auto* b = named(new QPushButton(caption, parent), name, toolTip);
    b->setAutoDefault(false);
    return b;
}

QSlider* slider(QWidget* parent, const char* name, int lo, int hi, int value, int pageStep, int tickInterval,
                const QString& toolTip)
{
    auto* s = named(new QSlider(Qt::Horizontal, parent), name, toolTip);
    s->setRange(lo, hi);
    s->setValue(value);
    s->setPageStep(pageStep);
    if (tickInterval > 0) {
        s->setTickPosition(QSlider::TicksBelow);
        s->setTickInterval(tickInterval);
    }
    return s;
}

QHBoxLayout* okCancelRow(QWidget* parent, QPushButton*& ok, const QString& okCaption, QPushButton*& cancel,
                         const QString& cancelCaption)
{
    ok = named(new QPushButton(okCaption, parent), "OKButton");
    cancel = named(new QPushButton(cancelCaption, parent), "CancelButton");
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void showText(QLineEdit* box, const QString& text)
{
    box->setProperty(kShownText, text);
    box->setText(text);
}

bool userEdited(const QLineEdit* box)
{
    // A box the program never filled holds the user's text.
    const QVariant shown = box->property(kShownText);
    return !shown.isValid() || box->text() != shown.toString();
}

} // namespace rt
