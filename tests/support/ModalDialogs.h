#pragma once
// Acting on the real Qt dialogs a test opens: they run modal, so the test
// answers them from a timer once they show.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// Runs action on the next modal window (of type W) as soon as it shows.
template <typename W>
void whenShown(std::function<void(W*)> action)
{
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, action] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(w);
        } else if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window showed";
        }
    });
    timer->start(10);
}

// Types a name into the dialog and presses its accept button. The dialog's
// own selectFile depends on the folder listing, which loads in the background.
inline void typeAndAccept(QFileDialog* d, const QString& name)
{
    auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    static_cast<QDialog*>(d)->accept();  // through QDialog: the override is protected
}
