// Opening a large schedule in the main window, against the bare load of the
// same file in the same run.
//
//   bench_mainwindow [--activities N] [FILE]
//
// Without FILE a schedule of N activities (default 200000) is generated into
// a temporary folder. Prints the bare load time, the window's open-to-shown
// time, their ratio, and the longest stretch during which the user-interface
// thread handled no timer event while the window was loading.

#include "activities.h"
#include "mainwindow.h"
#include "projectloader.h"
#include "plandeckresources.h"
#include "xergenerator.h"
#include "xerloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <QTreeView>
#include <QtConcurrent>

#include <algorithm>
#include <cstdio>

namespace {

QJsonDocument catalogue()
{
    QFile file(QStringLiteral(":/files/schema.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

qint64 bareLoad(const QString &path)
{
    XERLoader loader(path, catalogue());
    QEventLoop loop;
    QObject::connect(&loader, &ProjectLoader::finished, &loop, &QEventLoop::quit);
    QObject::connect(&loader, &ProjectLoader::failed, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    QFuture<void> run = QtConcurrent::run(QThreadPool::globalInstance(), [&loader] { loader.read(); });
    loop.exec();
    const qint64 elapsed = timer.elapsed();
    run.waitForFinished();
    return elapsed;
}

bool loading(const MainWindow &window)
{
    const auto dialogs = window.findChildren<QProgressDialog *>();
    return std::any_of(dialogs.begin(), dialogs.end(), [](const QProgressDialog *d) { return d->isVisible(); });
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plandeck::initResources();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));

    int activities = 200000;
    QString path;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--activities") && i + 1 < args.size())
            activities = args.at(++i).toInt();
        else
            path = args.at(i);
    }
    QTemporaryDir dir;
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("bench.xer"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || !XerGenerator(7, activities).write(&out)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    qint64 baseline = bareLoad(path);

    MainWindow window;
    window.show();
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
    });

    QElapsedTimer timer;
    timer.start();
    window.openProjectFile(path);
    sinceTick.start();
    heartbeat.start();
    while (loading(window))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    heartbeat.stop();
    window.activities()->treeView()->viewport()->repaint();
    const qint64 shown = timer.elapsed();
    const int rows = window.activities()->treeView()->model()->rowCount();
    const qint64 loaderTotal = window.loader()->timings().value(QStringLiteral("total")).toLongLong();
    window.close();
    // A second bare load after the window's evens out a machine that got
    // busier or quieter during the run.
    const qint64 baselineAfter = bareLoad(path);

    std::printf("file: %s\nrows shown: %d\n", qPrintable(path), rows);
    std::printf("bare load (baseline): %lld ms before, %lld ms after\n", static_cast<long long>(baseline),
                static_cast<long long>(baselineAfter));
    baseline = (baseline + baselineAfter) / 2;
    std::printf("window open-to-shown: %lld ms, ratio %.2f to the bare load\n", static_cast<long long>(shown),
                baseline > 0 ? double(shown) / double(baseline) : 0.0);
    // The loader's own run inside the window isolates what the window adds
    // from how busy the machine was.
    std::printf("loader's run inside the window: %lld ms; window open-to-shown ratio %.3f to it\n",
                static_cast<long long>(loaderTotal), loaderTotal > 0 ? double(shown) / double(loaderTotal) : 0.0);
    std::printf("longest user-interface stall while loading: %lld ms, ratio %.3f to the bare load\n",
                static_cast<long long>(longestGap), baseline > 0 ? double(longestGap) / double(baseline) : 0.0);
    return rows > 0 ? 0 : 1;
}
