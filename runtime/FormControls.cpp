#include "runtime/FormControls.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>

namespace rt {

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

} // namespace rt
