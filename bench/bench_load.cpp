// Load benchmark: a generated 200,000-activity XER file loaded through
// XERLoader on the thread pool, as the window does, against a baseline that
// only reads the file in 1 MiB blocks and counts its line ends with memchr,
// which is about what the hardware does (close to wc -l). Targets are ratios
// to that baseline: the reader alone (every wanted record split into decoded
// fields, nothing converted) within 8 times, the whole load within 25 times,
// peak resident memory within 2.5 times the file size and what stays
// resident after the load within 1.5 times. The load's "read" step converts
// the tables as it reads, so it is more than the reader alone.
//
//   bench_load [FILE] [--runs N]
//
// Without FILE it uses /tmp/plandeck-bench-200k.xer, generating it with
// plandeck-xergen (seed 7) when absent. Every load runs in a child process
// so that each run's peak resident memory is its own. Figures are medians.

#include "plandeckresources.h"
#include "xerfile.h"
#include "xerloader.h"
#include "xertext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const QStringList steps = {"read", "tables", "PredecessorModel", "ResourceModel", "CodeModel",
                           "taskCodesAssignmentModel", "userDefinedAssignmentModel", "ActivityModel"};

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double baselineMs(const QString &path, qint64 *lineEnds)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::vector<char> buffer(0x100000);
    qint64 count = 0;
    for (qint64 n; (n = file.read(buffer.data(), qint64(buffer.size()))) > 0;) {
        const char *end = buffer.data() + n;
        for (const char *p = buffer.data(); (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p))));
             ++p)
            ++count;
    }
    *lineEnds = count;
    return timer.nsecsElapsed() / 1e6;
}

// What the reader alone does for the loader: every wanted record handed
// over with its fields found and decoded, then dropped.
class FieldFinder : public xer::XERRecordSink
{
public:
    bool streams(const xer::XERTable &) override { return true; }
    void record(const xer::XERTable &, const char *data, int size) override
    {
        if (int(m_text.size()) < size)
            m_text.resize(std::size_t(size));
        fields += qint64(xer::decodeLine(data, size, m_text.data(), m_tabs) > 0 ? m_tabs.size() + 1 : 0);
    }

    qint64 fields = 0;

private:
    std::vector<ushort> m_text;
    std::vector<int> m_tabs;
};

double readerMs(const QString &path, const QStringList &wanted)
{
    QElapsedTimer timer;
    timer.start();
    xer::XERFile file(path, XERLoader::detectLineEndConvention(path), wanted);
    FieldFinder finder;
    file.setRecordSink(&finder);
    if (file.read() != xer::NoError || finder.fields == 0)
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

// "VmHWM" is the peak resident memory, "VmRSS" the current one.
qint64 residentKb(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// One load in this process; prints its step timings and peak memory as JSON.
int child(const QString &path)
{
    QFile schema(QStringLiteral(":/files/schema.json"));
    schema.open(QIODevice::ReadOnly);
    XERLoader loader(path, QJsonDocument::fromJson(schema.readAll()));
    QEventLoop loop;
    QElapsedTimer timer;
    double wallMs = 0;
    bool ok = false;
    qint64 keptKb = -1;
    QObject::connect(&loader, &ProjectLoader::finished, &loop, [&] {
        wallMs = timer.nsecsElapsed() / 1e6;
        keptKb = residentKb("VmRSS");
        ok = true;
        loop.quit();
    });
    QObject::connect(&loader, &ProjectLoader::failed, &loop, [&] { loop.quit(); });
    timer.start();
    QtConcurrent::run(QThreadPool::globalInstance(), &loader, &XERLoader::read);
    loop.exec();
    QThreadPool::globalInstance()->waitForDone();
    if (!ok)
        return 1;
    QJsonObject result = QJsonObject::fromVariantMap(loader.timings());
    result.insert("wall", wallMs);
    result.insert("peak_kb", double(residentKb("VmHWM")));
    result.insert("kept_kb", double(keptKb));
    std::printf("%s\n", QJsonDocument(result).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    plandeck::initResources();
    QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args.at(0) == QLatin1String("--child"))
        return child(args.at(1));

    // An option-like first word is no file name: without this, "--help"
    // would become a 170 MB generated file of that name.
    for (const QString &arg : args) {
        if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("--runs")) {
            std::printf("usage: bench_load [FILE] [--runs N]\n");
            return arg == QLatin1String("--help") || arg == QLatin1String("-h") ? 0 : 2;
        }
    }
    int runs = 5;
    const int runsAt = args.indexOf(QStringLiteral("--runs"));
    if (runsAt >= 0 && runsAt + 1 < args.size()) {
        runs = qMax(1, args.at(runsAt + 1).toInt());
        args.erase(args.begin() + runsAt, args.begin() + runsAt + 2);
    }
    QString path = args.value(0, QStringLiteral("/tmp/plandeck-bench-200k.xer"));
    if (!QFile::exists(path)) {
        const QString generator = QCoreApplication::applicationDirPath() + QStringLiteral("/plandeck-xergen");
        std::printf("generating %s\n", qPrintable(path));
        if (QProcess::execute(generator, {"--seed", "7", "--activities", "200000", "-o", path}) != 0) {
            std::fprintf(stderr, "cannot generate %s with %s\n", qPrintable(path), qPrintable(generator));
            return 1;
        }
    }
    const double fileMb = QFileInfo(path).size() / 1048576.0;

    qint64 lineEnds = 0;
    baselineMs(path, &lineEnds); // warms the page cache
    QFile schema(QStringLiteral(":/files/schema.json"));
    schema.open(QIODevice::ReadOnly);
    QStringList wanted = XERLoader(path, QJsonDocument::fromJson(schema.readAll())).tableNames();
    wanted << QStringLiteral("VIEWPROP");
    std::vector<double> baseline;
    std::vector<double> reader;
    std::vector<double> wall;
    std::vector<double> peakMb;
    std::vector<double> keptMb;
    QMap<QString, std::vector<double>> stepMs;
    for (int run = 0; run < runs; ++run) {
        baseline.push_back(baselineMs(path, &lineEnds));
        reader.push_back(readerMs(path, wanted));
        QProcess process;
        process.start(QCoreApplication::applicationFilePath(), {"--child", path});
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "load run %d failed\n", run);
            return 1;
        }
        const QJsonObject result = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        wall.push_back(result.value("wall").toDouble());
        peakMb.push_back(result.value("peak_kb").toDouble() / 1024.0);
        keptMb.push_back(result.value("kept_kb").toDouble() / 1024.0);
        for (const QString &step : steps)
            stepMs[step].push_back(result.value(step).toDouble());
    }

    const double base = median(baseline);
    const double total = median(wall);
    const auto verdict = [](double ratio, double target) { return ratio <= target ? "met" : "NOT met"; };
    std::printf("file: %s, %.1f MB, %lld lines, %d runs (medians)\n", qPrintable(path), fileMb, lineEnds, runs);
    std::printf("baseline (1 MiB blocks, memchr line ends): %8.1f ms  %7.1f MB/s\n", base, fileMb / (base / 1000));
    const double read = median(reader);
    std::printf("reader alone (wanted records split into fields):%3.1f ms  %6.1fx baseline (target <= 8x: %s)\n", read,
                read / base, verdict(read / base, 8));
    std::printf("whole load to finished():                  %8.1f ms  %6.1fx baseline (target <= 25x: %s)\n", total,
                total / base, verdict(total / base, 25));
    for (const QString &step : steps) {
        const double ms = median(stepMs.value(step));
        std::printf("  %-28s %8.1f ms  %5.1f%% of load  %6.1fx baseline", qPrintable(step), ms, 100.0 * ms / total,
                    ms / base);
        std::printf("\n");
    }
    const double peak = median(peakMb);
    std::printf("peak resident memory:                      %8.1f MB  %6.2fx file size (target <= 2.5x: %s)\n", peak,
                peak / fileMb, verdict(peak / fileMb, 2.5));
    const double kept = median(keptMb);
    std::printf("resident memory at finished():             %8.1f MB  %6.2fx file size (target <= 1.5x: %s)\n", kept,
                kept / fileMb, verdict(kept / fileMb, 1.5));
    return 0;
}
