// Grouping benchmark: a generated schedule loaded as the window loads it,
// shown in the activities view offscreen, then grouped, expanded and
// collapsed. The baseline, measured in the same run, is one pass that reads
// every activity's start date through the joined activity model.
//
//   bench_grouping [FILE]
//
// Without FILE it uses /tmp/plandeck-bench-200k.xer, generating it with
// plandeck-xergen (seed 7) when absent.

#include "activities.h"
#include "benchschedule.h"
#include "ganttchart.h"
#include "pdmodelutils.h"
#include "plandeckresources.h"
#include "xerloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QJsonDocument>
#include <QPixmap>
#include <QProcess>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>
#include <functional>

namespace {

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg || (qEnvironmentVariableIsSet("BENCH_LOG") && message.contains("stop")))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    plandeck::initResources();
    int exitCode = 0;
    const auto loader = bench::loadFromArguments(app.arguments().mid(1), "usage: bench_grouping [FILE]", &exitCode);
    if (!loader)
        return exitCode;

    Activities view;
    view.resize(1400, 800);
    view.show();
    QAbstractItemModel *activities = loader->model(QStringLiteral("ActivityModel"));
    // The hand-over of a loaded project, alone and then with the first paint
    // of tree and chart.
    QElapsedTimer handOver;
    const double handOverCpu = bench::cpuMs();
    handOver.start();
    const double setModelsMs = bench::timed([&] {
        view.setModels(activities, loader->model(QStringLiteral("PROJWBS")), loader->model(QStringLiteral("ACTVTYPE")),
                       loader->model(QStringLiteral("ACTVCODE")), loader->model(QStringLiteral("PredecessorModel")),
                       true);
        std::printf("setModels alone                %8.1f ms  cpu %7.1f ms\n", handOver.nsecsElapsed() / 1e6,
                    bench::cpuMs() - handOverCpu);
    });
    const double setModelsCpu = bench::lastCpuMs();
    setVisibleColumns(view.treeView()->header(), {"Activity ID", "Activity Name", "Start Date", "Finish Date"});
    // The links are laid out just after the first paint; that belongs to
    // neither the baseline nor the first step.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    QString code;
    for (int c = 0; c < activities->columnCount() && code.isEmpty(); ++c) {
        if (activities->headerData(c, Qt::Horizontal, Qt::UserRole + 1).toString() == QLatin1String("Activity Codes"))
            code = activities->headerData(c, Qt::Horizontal).toString();
    }
    const int rows = activities->rowCount();
    const int startColumn = columnByName(activities, QStringLiteral("Start Date"));
    const double base = bench::timed([&] {
        qint64 days = 0;
        for (int r = 0; r < rows; ++r)
            days += activities->index(r, startColumn).data().toDateTime().date().toJulianDay();
        if (days == 42)
            std::printf("\n");
    });

    PdGroupedTreeView *tree = view.treeView();
    mygc::GanttChart *chart = view.ganttChart();
    const auto outline = [&](bool expand) {
        {
            const QSignalBlocker blocker(tree);
            expand ? tree->expandAll() : tree->collapseAll();
        }
        chart->rebuild();
    };
    struct Step
    {
        const char *name;
        std::function<void()> run;
        double targetMs;
    };
    const Step steps[] = {
        {"group by WBS, All", [&] { view.setGroupLevels(PdGroupLevel::fromText("WBS Name;All")); }, 1000},
        {"collapse all", [&] { outline(false); }, 500},
        {"expand all", [&] { outline(true); }, 500},
        {"group by WBS then a code",
         [&] { view.setGroupLevels(PdGroupLevel::fromText("WBS Name;All," + code + ";")); }, 1000},
        {"regroup by WBS, All", [&] { view.setGroupLevels(PdGroupLevel::fromText("WBS Name;All")); }, 1000},
        // A sort renumbers every shown row once the event loop runs.
        {"sort by Activity Name, down",
         [&] { tree->sortByColumn(columnByName(activities, QStringLiteral("Activity Name")), Qt::DescendingOrder); },
         1000},
        {"sort by Activity Name, up",
         [&] { tree->sortByColumn(columnByName(activities, QStringLiteral("Activity Name")), Qt::AscendingOrder); },
         1000},
        {"scroll to the end and paint",
         [&] {
             tree->scrollToBottom();
             // BENCH_SHOT=file.png keeps the painted view to look at.
             const QPixmap shot = view.grab();
             if (qEnvironmentVariableIsSet("BENCH_SHOT"))
                 shot.save(qEnvironmentVariable("BENCH_SHOT"));
         },
         100},
    };
    std::printf("%s: %d activities, code level \"%s\"\n", qPrintable(loader->fileName()), rows, qPrintable(code));
    std::printf("baseline (read every start date once): %8.1f ms\n", base);
    std::printf("%-30s %8.1f ms  %6.1fx baseline  cpu %7.1f ms  (target 100 ms for setModels)\n",
                "setModels and first paint", setModelsMs, setModelsMs / base, setModelsCpu);
    for (const Step &step : steps) {
        const double ms = bench::timed(step.run);
        std::printf("%-30s %8.1f ms  %6.1fx baseline  cpu %7.1f ms  (target %.0f ms)  rows shown %d\n", step.name,
                    ms, ms / base, bench::lastCpuMs(), step.targetMs, int(chart->itemCount()));
    }
    return 0;
}
