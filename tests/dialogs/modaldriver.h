#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

#include <functional>

// Hands the next modal dialog of type Dialog to `act` from a polling timer,
// so a test drives it as a user would while exec() blocks. A dialog still
// open after a few seconds is rejected, so a test fails instead of hanging.
template<typename Dialog>
void whenModal(std::function<void(Dialog *)> act)
{
    auto *timer = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, act] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<Dialog *>(modal);
        if (!dialog && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            act(dialog);
        if (auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget()); open && deadline.hasExpired())
            open->reject();
    });
    timer->start(10);
}
