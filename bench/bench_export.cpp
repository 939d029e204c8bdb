// Export benchmark: a generated schedule loaded and presented as the command
// line does, grouped by WBS with ten visible columns, then written as CSV.
// The baseline, measured in the same run, is the load itself; the export's
// memory is the peak resident size while writing, above what was resident
// before it.
//
//   bench_export [FILE]
//
// Without FILE it uses /tmp/plandeck-bench-200k.xer, generating it with
// plandeck-xergen (seed 7) when absent.

#include "activities.h"
#include "benchschedule.h"
#include "layoutmanager.h"
#include "pdgroupedtreeview.h"
#include "pdgrouplevel.h"
#include "pdmodelutils.h"
#include "pdtreeexport.h"
#include "plandeckresources.h"
#include "projectpresentation.h"
#include "xerloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// A field of /proc/self/status in MiB ("VmRSS", "VmHWM").
double statusMiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// Lets the peak resident size start again from the current one.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    plandeck::initResources();
    const QStringList args = app.arguments().mid(1);
    if (!args.isEmpty() && args.first().startsWith(QLatin1Char('-'))) {
        std::printf("usage: bench_export [FILE]\n");
        return args.first() == QLatin1String("--help") ? 0 : 2;
    }
    const QString path = args.value(0, QStringLiteral("/tmp/plandeck-bench-200k.xer"));
    if (!bench::ensureSchedule(path))
        return 1;

    XERLoader loader(path, bench::catalogue());
    bool failed = false;
    QObject::connect(&loader, &ProjectLoader::failed, [&failed] { failed = true; });
    QElapsedTimer timer;
    timer.start();
    loader.read();
    const double loadMs = timer.nsecsElapsed() / 1e6;
    if (failed) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(path));
        return 1;
    }

    Activities view;
    LayoutManager layouts(&view, nullptr, nullptr);
    presentProject(&view, &loader, &layouts);
    setVisibleColumns(view.treeView()->header(),
                      {"Activity ID", "Activity Name", "Activity Type", "Start Date", "Finish Date", "WBS Code",
                       "WBS Name", "Planned Duration", "Total float", "Activity status"});
    view.setGroupLevels(PdGroupLevel::fromText(QStringLiteral("WBS Name;All")));
    QCoreApplication::processEvents();

    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("export.csv"));
    const double residentBefore = statusMiB("VmRSS");
    const bool peakReset = resetPeak();
    timer.restart();
    const PdExportResult result = exportActivitiesCsv(view.treeView(), out);
    const double exportMs = timer.nsecsElapsed() / 1e6;
    const double growth = statusMiB("VmHWM") - residentBefore;
    const int columns = PdTreeExport(view.treeView()).titles().size();
    view.onCloseProject();
    if (!result.ok) {
        std::fprintf(stderr, "export failed: %s\n", qPrintable(result.errorString));
        return 1;
    }

    std::printf("rows %d (activities and group rows), columns %d, file %.1f MiB\n", loader.model(QStringLiteral("ActivityModel"))->rowCount(),
                columns, QFileInfo(out).size() / 1048576.0);
    std::printf("load (baseline)   %8.1f ms\n", loadMs);
    std::printf("export            %8.1f ms  ratio %.2f  (target < 1000 ms)\n", exportMs, exportMs / loadMs);
    if (peakReset)
        std::printf("memory growth     %8.1f MiB (target < 50 MiB)\n", growth);
    else
        std::printf("memory growth     not measured: the peak resident size cannot be reset here\n");
    return 0;
}
