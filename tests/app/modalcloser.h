#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

// Hands the next modal message box to `act` (which must close it) from a
// polling timer, so a test never waits on a box forever. Boxes are found by
// type because the application-modal progress dialog may be up meanwhile.
inline void whenMessageBox(std::function<void(QMessageBox *)> act, int timeoutMs = 10000)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act, timeoutMs] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box && clock->elapsed() < timeoutMs)
            return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (box)
            act(box);
    });
    timer->start();
}

// Closes the next message box and returns what it said through `text`.
inline void captureMessageBox(QString *title, QString *text)
{
    whenMessageBox([title, text](QMessageBox *box) {
        *title = box->windowTitle();
        *text = box->text();
        box->done(QMessageBox::Ok);
    });
}
