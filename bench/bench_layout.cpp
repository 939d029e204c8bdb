// Layout benchmark: a generated schedule loaded and presented as the window
// presents it (default layout included), then a layout that sets the columns,
// a sort, a filter and a two-level grouping is applied. The baseline,
// measured in the same run, is one pass that reads every activity's start
// date through the joined activity model.
//
//   bench_layout [FILE]
//
// Without FILE it uses /tmp/plandeck-bench-200k.xer, generating it with
// plandeck-xergen (seed 7) when absent.

#include "activities.h"
#include "benchschedule.h"
#include "ganttchart.h"
#include "layoutmanager.h"
#include "pdmodelutils.h"
#include "plandeckresources.h"
#include "projectpresentation.h"
#include "xerloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QThreadPool>
#include <QtConcurrent>

#include <cstdio>
#include <functional>

namespace {

int regroupings = 0;

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (message.contains(QLatin1String("Activities::groupBySelection() start")))
        ++regroupings;
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
    const auto loader = bench::loadFromArguments(app.arguments().mid(1), "usage: bench_layout [FILE]", &exitCode);
    if (!loader)
        return exitCode;

    Activities view;
    view.resize(1400, 800);
    view.show();
    LayoutManager layouts(&view, nullptr, nullptr);
    const double present = bench::timed([&] { presentProject(&view, loader.get(), &layouts); });
    // The links are laid out just after the first paint; that belongs to
    // neither the baseline nor the first step.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    QAbstractItemModel *activities = loader->model(QStringLiteral("ActivityModel"));
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

    const QJsonObject layout{
        {"columns", QJsonArray{"Activity ID:80", "Activity Name:250", "Start Date:100", "Finish Date:100",
                               "Total float:80"}},
        {"sortby", "Start Date;D"},
        {"filters", QJsonObject{{"expressions", QJsonObject{{"1", QJsonArray{"contains", "a"}}}},
                                {"columns", QJsonObject{{"1", "Activity Name"}}}}},
        {"group", "WBS Name;All," + code + ";"},
    };
    const QString document = QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact));
    const QString back = layouts.currentLayoutJson();

    std::printf("%s: %d activities, second level \"%s\"\n", qPrintable(loader->fileName()), rows, qPrintable(code));
    std::printf("baseline (read every start date once): %8.1f ms\n", base);
    std::printf("present with the default layout       %8.1f ms  %6.1fx baseline\n", present, present / base);
    struct Step
    {
        const char *name;
        QString document;
        double targetMs;
    };
    const Step steps[] = {
        {"apply columns, sort, filter, 2 groups", document, 1500},
        {"apply the layout written before", back, 1500},
        {"apply the first again", document, 1500},
    };
    for (const Step &step : steps) {
        regroupings = 0;
        bool pending = false;
        const double ms = bench::timed([&] {
            layouts.applyLayout(step.document);
            pending = view.ganttChart()->isRebuildPending();
        });
        std::printf("%-38s %8.1f ms  %6.1fx baseline  cpu %7.1f ms  (target %.0f ms)  regroupings %d, chart rebuild "
                    "%s, rows %d\n",
                    step.name, ms, ms / base, bench::lastCpuMs(), step.targetMs, regroupings, pending ? "deferred once" : "none deferred",
                    int(view.ganttChart()->itemCount()));
    }
    view.onCloseProject();
    return 0;
}
