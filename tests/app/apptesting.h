#pragma once

#include "mainwindow.h"
#include "plandeckresources.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Settings, recent files and layouts go below `dir`, so no run reads another's or the user's.
inline void useConfigIn(const QTemporaryDir &dir)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    plandeck::initResources();
}

// Returns the path written, or an empty text if it could not be.
inline QString writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? path : QString();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A schedule holding `tables` between the header and the end mark.
inline QByteArray xerText(const QString &tables)
{
    return QStringLiteral("ERMHDR\t19.12\t2026-01-05\tProject\tadmin\tAdmin\tdbxDatabaseNoName\tProject "
                          "Management\tUSD\r\n%1%E\r\n")
        .arg(tables)
        .toUtf8();
}

inline bool progressDialogShown(const MainWindow &window)
{
    const auto dialogs = window.findChildren<QProgressDialog *>();
    return std::any_of(dialogs.begin(), dialogs.end(), [](const QProgressDialog *d) { return d->isVisible(); });
}

// The dialog is up from the open command until the models are handed over or the load gave up.
inline bool waitForLoad(const MainWindow &window)
{
    return QTest::qWaitFor([&window] { return !progressDialogShown(window); }, 60000);
}

inline bool loadInto(MainWindow &window, const QString &path)
{
    window.openProjectFile(path);
    return waitForLoad(window);
}

// Closes the next message box from a polling timer and reports its text, so a
// test never waits on a box for good. Boxes are found by type
// because the application-modal progress dialog may be up meanwhile.
inline void captureMessageBox(QString *text)
{
    auto *timer = new QTimer;
    const QDeadlineTimer deadline(10000);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box && !deadline.hasExpired())
            return;
        timer->deleteLater();
        timer->stop();
        if (!box)
            return;
        *text = box->text();
        box->done(QMessageBox::Ok);
    });
    timer->start(10);
}
