#include "runtime/QtUi.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    rt::QtUi qtUi;
    rt::setUi(&qtUi);
    QLabel label(QStringLiteral("Kelvarinor: the editor is being built."));
    label.setMinimumSize(420, 120);
    label.setAlignment(Qt::AlignCenter);
    label.setWindowTitle(QStringLiteral("Kelvarinor"));
    label.show();
    return app.exec();
}
