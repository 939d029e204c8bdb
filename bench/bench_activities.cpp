// The activities view (tree and Gantt chart in step) against a bare tree over
// the same rows, both measured in this run.
//
//   bench_activities [--activities N]
//
// Prints, for N activities (default 200000) and 1.4 links per activity: the
// time to hand the models over, the first paint, and the mean and worst time
// of one scroll step (scroll, then paint the whole view offscreen), each with
// its ratio to the bare tree.

#include "activities.h"
#include "ganttchart.h"
#include "pdparentitemproxymodel.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTreeView>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Cells computed on demand, so building the model costs nothing and the
// figures are the views' own.
class ActivityTable : public QAbstractTableModel
{
public:
    explicit ActivityTable(int rows)
        : m_rows(rows)
    {
        // Local-time arithmetic asks the time zone on every call; made once
        // here, the dates cost the views what a loaded schedule's dates do.
        const QDateTime origin(QDate(2026, 3, 2), QTime(8, 0));
        for (int day = 0; day < 920; ++day)
            m_days.append(origin.addDays(day));
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : 7; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char *const names[] = {"ID", "parentID", "Activity ID", "Activity Name",
                                            "Start Date", "Finish Date", "Activity Type"};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 7)
            return QString::fromLatin1(names[section]);
        return QVariant();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        const int r = index.row();
        const int start = (r * 7) % 900;
        switch (index.column()) {
        case 0: return r + 1;
        case 2: return QStringLiteral("A%1").arg(r + 1);
        case 3: return QStringLiteral("Activity number %1 of the schedule").arg(r + 1);
        case 4: return m_days.at(start);
        case 5: return m_days.at(r % 25 == 0 ? start : start + 1 + r % 12);
        case 6: return r % 25 == 0 ? QStringLiteral("Milestone") : QStringLiteral("Task");
        default: return QVariant();
        }
    }

private:
    int m_rows;
    QVector<QDateTime> m_days;
};

// Task, predecessor, (unused), type, lag: mostly links to nearby rows, some far.
class LinkTable : public QAbstractTableModel
{
public:
    explicit LinkTable(int activities)
        : m_activities(activities)
        , m_rows(activities * 7 / 5)
    {
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        const int r = index.row();
        const int task = 2 + (r * 5 / 7) % (m_activities - 1);
        const int span = r % 50 == 0 ? 5000 : 1 + r % 9;
        switch (index.column()) {
        case 0: return task;
        case 1: return std::max(1, task - span);
        case 3: return r % 3 == 0 ? QStringLiteral("PR_SS") : QStringLiteral("PR_FS");
        case 4: return 0;
        default: return QVariant();
        }
    }

private:
    int m_activities;
    int m_rows;
};

struct Steps
{
    qint64 first = 0;
    double mean = 0;
    qint64 worst = 0;
};

// Jumps the tree to pseudo-random rows and paints the whole widget each time.
Steps scroll(QWidget *widget, QTreeView *tree, int steps)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    QRandomGenerator random(7);
    QScrollBar *bar = tree->verticalScrollBar();
    Steps result;
    qint64 total = 0;
    // The first paint also builds the lookups that later ones reuse.
    for (int i = 0; i <= steps; ++i) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(int(random.bounded(bar->maximum() + 1)));
        QCoreApplication::processEvents();
        widget->render(&image);
        const qint64 ms = timer.elapsed();
        if (i == 0) {
            result.first = ms;
            continue;
        }
        total += ms;
        result.worst = std::max(result.worst, ms);
    }
    result.mean = double(total) / steps;
    return result;
}

double ratio(double value, double baseline)
{
    return value / std::max(baseline, 0.01);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int activities = 200000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--activities") == 0)
            activities = std::max(2, std::atoi(argv[i + 1]));
    }
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type >= QtWarningMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });

    ActivityTable table(activities);
    LinkTable links(activities);
    const QSize size(1250, 620);
    const int steps = 200;

    // Baseline: the same rows in a bare tree through the same proxy.
    PdParentItemProxyModel proxy;
    QTreeView bare;
    bare.setUniformRowHeights(true);
    bare.resize(size);
    bare.show();
    QElapsedTimer timer;
    timer.start();
    proxy.setSourceModel(&table);
    bare.setModel(&proxy);
    bare.doItemsLayout();
    const qint64 bareSet = timer.elapsed();
    const Steps bareSteps = scroll(&bare, &bare, steps);

    Activities view;
    view.resize(size);
    view.show();
    timer.restart();
    view.setModels(&table, nullptr, nullptr, nullptr, &links, true);
    view.treeView()->doItemsLayout();
    const qint64 viewSet = timer.elapsed();
    const Steps viewSteps = scroll(&view, view.treeView(), steps);

    std::printf("activities: %d, links shown: %d\n", activities, int(view.ganttChart()->relationships().size()));
    std::printf("hand over the models: bare tree %lld ms (baseline), tree and chart %lld ms, ratio %.2f\n",
                static_cast<long long>(bareSet), static_cast<long long>(viewSet), ratio(viewSet, bareSet));
    std::printf("first paint: bare tree %lld ms (baseline), tree and chart %lld ms, ratio %.2f\n",
                static_cast<long long>(bareSteps.first), static_cast<long long>(viewSteps.first),
                ratio(double(viewSteps.first), double(bareSteps.first)));
    std::printf("scroll step, mean: bare tree %.2f ms (baseline), tree and chart %.2f ms, ratio %.2f\n",
                bareSteps.mean, viewSteps.mean, ratio(viewSteps.mean, bareSteps.mean));
    std::printf("scroll step, worst: bare tree %lld ms, tree and chart %lld ms, ratio %.2f\n",
                static_cast<long long>(bareSteps.worst), static_cast<long long>(viewSteps.worst),
                ratio(double(viewSteps.worst), double(bareSteps.worst)));
    return 0;
}
