#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTimer>

// Closes the next message box from a polling timer and reports its title and
// text, so a test never waits on a box for good. Boxes are found by type
// because the application-modal progress dialog may be up meanwhile.
inline void captureMessageBox(QString *title, QString *text)
{
    auto *timer = new QTimer;
    const QDeadlineTimer deadline(10000);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, title, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box && !deadline.hasExpired())
            return;
        timer->deleteLater();
        timer->stop();
        if (!box)
            return;
        *title = box->windowTitle();
        *text = box->text();
        box->done(QMessageBox::Ok);
    });
    timer->start(10);
}
