// The activity details panel following the current activity, against the
// straightforward design of filter proxies (one QSortFilterProxyModel per list,
// re-filtered on every move), both measured in this run on the same project.
//
//   bench_details [--activities N] [--moves M]
//
// Generates an N-activity project (default 200,000) with plandeck's own
// generator, loads it as the window does, and moves the current activity M
// times (default 500) at random. Prints the models' sizes, the time to hand
// the models over, and the mean and worst time of one move, with ratios.

#include "activitydetails.h"
#include "plandeckresources.h"
#include "xergenerator.h"
#include "xerloader.h"

#include <QApplication>
#include <QDataWidgetMapper>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg || type == QtCriticalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

struct Timing
{
    double mean = 0;
    double worst = 0;
};

template<typename Move>
Timing timeMoves(const std::vector<int> &rows, Move move)
{
    Timing timing;
    QElapsedTimer timer;
    for (int row : rows) {
        timer.start();
        move(row);
        const double ms = timer.nsecsElapsed() / 1e6;
        timing.mean += ms;
        timing.worst = std::max(timing.worst, ms);
    }
    timing.mean /= std::max<size_t>(1, rows.size());
    return timing;
}

// The written panel: four filter proxies and a mapper searched by value.
struct FilteredPanel
{
    FilteredPanel(QAbstractItemModel *activities, QAbstractItemModel *relationships, QAbstractItemModel *resources,
                  QAbstractItemModel *codes)
        : activities(activities)
    {
        const std::pair<QAbstractItemModel *, int> sources[] = {
            {relationships, 0}, {relationships, 1}, {resources, 0}, {codes, 0}};
        for (const auto &source : sources) {
            auto proxy = std::make_unique<QSortFilterProxyModel>();
            proxy->setSourceModel(source.first);
            proxy->setFilterKeyColumn(source.second);
            proxies.push_back(std::move(proxy));
        }
        mapper.setModel(activities);
    }
    void show(const QString &id)
    {
        const QRegularExpression whole(QLatin1Char('^') + QRegularExpression::escape(id) + QLatin1Char('$'),
                                       QRegularExpression::CaseInsensitiveOption);
        for (auto &proxy : proxies)
            proxy->setFilterRegularExpression(whole);
        const QModelIndexList found =
            activities->match(activities->index(0, 0), Qt::DisplayRole, id, 1, Qt::MatchFixedString | Qt::MatchRecursive);
        if (!found.isEmpty())
            mapper.setCurrentIndex(found.first().row());
    }
    QAbstractItemModel *activities;
    std::vector<std::unique_ptr<QSortFilterProxyModel>> proxies;
    QDataWidgetMapper mapper;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    plandeck::initResources();
    int activityCount = 200000;
    int moves = 500;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--activities") == 0)
            activityCount = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--moves") == 0)
            moves = std::max(1, std::atoi(argv[i + 1]));
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xer"));
    {
        QFile file(path);
        XerGenerator generator(7, activityCount);
        if (!file.open(QIODevice::WriteOnly) || !generator.write(&file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    QFile catalogueFile(QStringLiteral(":/files/schema.json"));
    catalogueFile.open(QIODevice::ReadOnly);
    qInstallMessageHandler(quiet);
    XERLoader loader(path, QJsonDocument::fromJson(catalogueFile.readAll()));
    loader.read();

    QAbstractItemModel *activities = loader.model(QStringLiteral("ActivityModel"));
    QAbstractItemModel *relationships = loader.model(QStringLiteral("PredecessorModel"));
    QAbstractItemModel *resources = loader.model(QStringLiteral("ResourceModel"));
    QAbstractItemModel *codes = loader.model(QStringLiteral("CodeModel"));
    if (!activities || !relationships || !resources || !codes) {
        std::fprintf(stderr, "the generated project lacks a model\n");
        return 1;
    }
    std::printf("activities %d, relationships %d, resource assignments %d, code assignments %d\n",
                activities->rowCount(), relationships->rowCount(), resources->rowCount(), codes->rowCount());

    std::vector<int> rows(static_cast<size_t>(moves));
    QRandomGenerator random(11);
    for (int &row : rows)
        row = int(random.bounded(activities->rowCount()));

    QElapsedTimer timer;
    timer.start();
    FilteredPanel written(activities, relationships, resources, codes);
    const double writtenSetup = timer.nsecsElapsed() / 1e6;
    // The written panel is slow enough that a tenth of the moves gives its figure.
    const std::vector<int> writtenRows(rows.begin(), rows.begin() + std::max<size_t>(1, rows.size() / 10));
    const Timing writtenMove = timeMoves(writtenRows, [&](int row) {
        written.show(activities->index(row, 0).data().toString());
    });

    timer.start();
    ActivityDetails details(nullptr);
    details.setActivityModel(activities);
    details.setResourceModel(resources);
    details.setPredecessorModel(relationships);
    details.setCodesModel(codes);
    const double panelSetup = timer.nsecsElapsed() / 1e6;
    const Timing panelMove = timeMoves(rows, [&](int row) {
        details.onRowChanged(activities->index(row, 0), QModelIndex());
    });

    std::printf("hand-over: panel %.1f ms, filter proxies %.1f ms (ratio %.2f)\n", panelSetup, writtenSetup,
                panelSetup / std::max(0.001, writtenSetup));
    std::printf("one move: panel mean %.3f ms, worst %.3f ms; filter proxies mean %.3f ms, worst %.3f ms\n",
                panelMove.mean, panelMove.worst, writtenMove.mean, writtenMove.worst);
    std::printf("ratio panel / filter proxies per move: %.4f\n", panelMove.mean / std::max(0.001, writtenMove.mean));
    return 0;
}
