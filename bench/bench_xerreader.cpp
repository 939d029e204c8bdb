// Reads a large XER file three ways and prints each as MB/s and as a ratio
// to a plain baseline measured in the same run: the baseline reads 1 MiB
// blocks and counts line ends, then the reader runs with every catalogued
// table wanted and with only "TASK" wanted. Each figure is a median.
//
// Usage: bench_xerreader [FILE] [RUNS]
// Without FILE a 200,000-activity file is made in the temporary folder by
// plandeck-xergen (next to this program).

#include "xerfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void quietInfo(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtInfoMsg && type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

qint64 countLineEnds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::unique_ptr<char[]> buffer(new char[0x100000]());
    qint64 lines = 0;
    for (qint64 got; (got = file.read(buffer.get(), 0x100000)) > 0;) {
        const char *end = buffer.get() + got;
        for (const char *p = buffer.get(); (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p)
            ++lines;
    }
    return lines;
}

// Times read() alone: taking the tables down afterwards is not reading.
double timedRead(const QString &path, const QStringList &wanted, qint64 *records = nullptr)
{
    xer::XERFile file(path, xer::XERFile::CarriageReturnLineFeed, wanted);
    QElapsedTimer timer;
    timer.start();
    if (file.read() != xer::NoError)
        return -1;
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (records) {
        *records = 0;
        for (const xer::XERTable *table : file.tables())
            *records += table->records().size();
    }
    return seconds;
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietInfo);
    const QStringList args = app.arguments();

    QString path = args.value(1);
    const int runs = qMax(1, args.value(2, QStringLiteral("5")).toInt());
    if (path.isEmpty()) {
        path = QDir::temp().filePath(QStringLiteral("plandeck-bench-200000.xer"));
        if (!QFileInfo::exists(path)) {
            const QString generator = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("plandeck-xergen"));
            const int status = QProcess::execute(generator, {"--seed", "1", "--activities", "200000", "-o", path});
            if (status != 0) {
                std::fprintf(stderr, "cannot make %s with %s\n", qPrintable(path), qPrintable(generator));
                return 1;
            }
        }
    }
    const double megabytes = QFileInfo(path).size() / 1e6;
    if (megabytes <= 0) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QStringList catalogued{"PROJWBS", "TASK", "TASKPRED", "RSRC", "TASKRSRC",
                                 "ACTVTYPE", "ACTVCODE", "TASKACTV", "UDFTYPE", "UDFVALUE"};

    countLineEnds(path); // warm the page cache
    const long residentBefore = peakResidentKiB();
    const long currentBefore = residentKiB();
    qint64 records = 0;
    timedRead(path, catalogued, &records);
    const long residentPeak = peakResidentKiB();
#ifdef __GLIBC__
    // As the loader does once it has taken the values out of the reader.
    malloc_trim(0);
#endif
    const long residentAfter = residentKiB();

    qint64 lines = 0;
    std::vector<double> baselineTimes, allTimes, taskTimes;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        lines = countLineEnds(path);
        baselineTimes.push_back(timer.nsecsElapsed() / 1e9);
        allTimes.push_back(timedRead(path, catalogued));
        taskTimes.push_back(timedRead(path, {"TASK"}));
    }
    const double baseline = median(baselineTimes);
    const double all = median(allTimes);
    const double task = median(taskTimes);

    std::printf("file %s: %.1f MB, %lld line ends, %lld records in catalogued tables, median of %d runs\n",
                qPrintable(path), megabytes, static_cast<long long>(lines), static_cast<long long>(records), runs);
    auto row = [&](const char *name, double seconds) {
        std::printf("%-28s %8.0f MB/s  %5.2f x baseline\n", name, megabytes / seconds, seconds / baseline);
    };
    row("baseline (count line ends)", baseline);
    row("reader, catalogued tables", all);
    row("reader, TASK only", task);
    std::printf("peak memory growth while reading catalogued tables: %.2f x file size\n",
                (residentPeak - residentBefore) * 1024.0 / (megabytes * 1e6));
    std::printf("left resident once the reader is gone:        %.2f x file size\n",
                (residentAfter - currentBefore) * 1024.0 / (megabytes * 1e6));
    return 0;
}
