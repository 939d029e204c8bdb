#include "benchschedule.h"

#include "xerloader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>
#include <ctime>

namespace bench {

bool ensureSchedule(const QString &path)
{
    if (QFile::exists(path))
        return true;
    const QString generator = QCoreApplication::applicationDirPath() + QStringLiteral("/plandeck-xergen");
    if (QProcess::execute(generator, {"--seed", "7", "--activities", "200000", "-o", path}) != 0) {
        std::fprintf(stderr, "cannot generate %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QJsonDocument catalogue()
{
    QFile schema(QStringLiteral(":/files/schema.json"));
    schema.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(schema.readAll());
}

bool loadOnWorker(XERLoader &loader, const QString &path)
{
    QEventLoop loop;
    bool loaded = false;
    QObject::connect(&loader, &ProjectLoader::finished, &loop, [&] {
        loaded = true;
        loop.quit();
    });
    QObject::connect(&loader, &ProjectLoader::failed, &loop, &QEventLoop::quit);
    QtConcurrent::run(QThreadPool::globalInstance(), &loader, &XERLoader::read);
    loop.exec();
    QThreadPool::globalInstance()->waitForDone();
    if (!loaded)
        std::fprintf(stderr, "cannot load %s\n", qPrintable(path));
    return loaded;
}

std::unique_ptr<XERLoader> loadFromArguments(const QStringList &args, const char *usage, int *exitCode)
{
    *exitCode = 1;
    if (!args.isEmpty() && args.first().startsWith(QLatin1Char('-'))) {
        std::printf("%s\n", usage);
        *exitCode = args.first() == QLatin1String("--help") ? 0 : 2;
        return nullptr;
    }
    const QString path = args.value(0, QStringLiteral("/tmp/plandeck-bench-200k.xer"));
    if (!ensureSchedule(path))
        return nullptr;
    auto loader = std::make_unique<XERLoader>(path, catalogue());
    if (!loadOnWorker(*loader, path))
        return nullptr;
    *exitCode = 0;
    return loader;
}

namespace {
double lastCpu = 0;
} // namespace

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double timed(const std::function<void()> &step)
{
    const double cpuStart = cpuMs();
    QElapsedTimer timer;
    timer.start();
    step();
    QCoreApplication::processEvents();
    lastCpu = cpuMs() - cpuStart;
    return timer.nsecsElapsed() / 1e6;
}

double lastCpuMs()
{
    return lastCpu;
}

} // namespace bench
