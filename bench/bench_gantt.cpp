// Paint and rebuild times of the Gantt chart on a 200,000-activity schedule
// with 280,000 links, each against a baseline measured in the same run:
// painting a 1,000-row chart of the same shape (paint must not grow with the
// schedule), and reading the same model cells without building anything
// (a rebuild should cost little beyond reading its data).

#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "qgcvaxis.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QRandomGenerator>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int GroupSize = 100;

// Summaries of GroupSize activities each: internalId 0 marks a summary row,
// g + 1 an activity of summary g. Columns: id, type, start, finish.
class ScheduleModel : public QAbstractItemModel
{
public:
    explicit ScheduleModel(int activities)
        : m_groups(activities / GroupSize)
    {
        QRandomGenerator rng(7);
        const QDateTime origin(QDate(2017, 1, 2), QTime(8, 0));
        for (int i = 0; i < activities; ++i) {
            const QDateTime start = origin.addDays(i / 200 + rng.bounded(30));
            m_start << start;
            m_finish << start.addDays(1 + rng.bounded(20));
        }
        for (int g = 0; g < m_groups; ++g) {
            const auto first = m_start.cbegin() + g * GroupSize;
            const auto firstFinish = m_finish.cbegin() + g * GroupSize;
            m_groupStart << *std::min_element(first, first + GroupSize);
            m_groupFinish << *std::max_element(firstFinish, firstFinish + GroupSize);
        }
    }

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override
    {
        if (!parent.isValid())
            return row < m_groups ? createIndex(row, column, quintptr(0)) : QModelIndex();
        return row < GroupSize ? createIndex(row, column, quintptr(parent.row() + 1)) : QModelIndex();
    }
    QModelIndex parent(const QModelIndex &child) const override
    {
        return child.internalId() == 0 ? QModelIndex() : createIndex(int(child.internalId() - 1), 0, quintptr(0));
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        if (!parent.isValid())
            return m_groups;
        return parent.internalId() == 0 && parent.column() == 0 ? GroupSize : 0;
    }
    int columnCount(const QModelIndex & = QModelIndex()) const override { return 4; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QVariant();
        const bool summary = index.internalId() == 0;
        const int a = summary ? index.row() : int(index.internalId() - 1) * GroupSize + index.row();
        switch (index.column()) {
        case 0: return summary ? -1 - a : a;
        case 1: return summary ? QStringLiteral("Summary") : (a % 50 == 0 ? QStringLiteral("Milestone") : QStringLiteral("Task"));
        case 2: return summary ? m_groupStart.at(a) : m_start.at(a);
        case 3: return summary ? m_groupFinish.at(a) : (a % 50 == 0 ? m_start.at(a) : m_finish.at(a));
        default: return QVariant();
        }
    }

private:
    int m_groups;
    QVector<QDateTime> m_start, m_finish, m_groupStart, m_groupFinish;
};

// Columns: task id, predecessor id, unused, type text, lag.
class LinkModel : public QAbstractItemModel
{
public:
    LinkModel(int activities, int links)
    {
        QRandomGenerator rng(11);
        const QStringList types{"PR_FS", "PR_FS", "PR_FS", "PR_SS", "PR_FF", "PR_SF"};
        for (int i = 0; i < links; ++i) {
            const int pred = rng.bounded(activities - 1);
            // Mostly near successors, some far ones, as in real schedules.
            const int reach = std::min(activities - 1 - pred, rng.bounded(100) < 2 ? activities : 60);
            const int task = pred + 1 + rng.bounded(reach);
            m_rows.append({task, pred, types.at(rng.bounded(types.size()))});
        }
    }
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || row >= m_rows.size() ? QModelIndex() : createIndex(row, column);
    }
    QModelIndex parent(const QModelIndex &) const override { return QModelIndex(); }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : m_rows.size(); }
    int columnCount(const QModelIndex & = QModelIndex()) const override { return 5; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return QVariant();
        const Row &r = m_rows.at(index.row());
        switch (index.column()) {
        case 0: return r.task;
        case 1: return r.pred;
        case 3: return r.type;
        case 4: return 0;
        default: return QVariant();
        }
    }

private:
    struct Row { int task; int pred; QString type; };
    QVector<Row> m_rows;
};

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

struct Chart
{
    Chart(int activities, int links)
        : model(activities)
        , relations(activities, links)
    {
        chart.resize(1200, 800 + chart.dateAxisHeight());
        QElapsedTimer t;
        t.start();
        chart.setModels(&model, 2, 3, 1, 0, &relations, 0, 1, 3, 4);
        setModelsMs = t.nsecsElapsed() / 1e6;
    }

    // Milliseconds to paint one window-sized viewport at the given fraction
    // of the chart's height and width.
    double paintMs(double down, double across, int repeats)
    {
        mygc::ChartArea *area = chart.chartArea();
        QImage image(1200, 800, QImage::Format_ARGB32_Premultiplied);
        const int y = int((area->height() - 800) * down);
        const int x = int((area->width() - 1200) * across);
        QVector<double> times;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer t;
            t.start();
            area->render(&image, QPoint(), QRegion(QRect(std::max(0, x), std::max(0, y), 1200, 800)));
            times << t.nsecsElapsed() / 1e6;
        }
        return median(times);
    }

    double rebuildMs(int repeats)
    {
        QVector<double> times, items, links;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer t;
            t.start();
            chart.rebuildItems();
            items << t.nsecsElapsed() / 1e6;
            chart.rebuildRelationships();
            times << t.nsecsElapsed() / 1e6;
            links << times.last() - items.last();
        }
        std::printf("rebuild parts: rows %.1f ms, links %.1f ms\n", median(items), median(links));
        return median(times);
    }

    // Reads every cell the rebuild reads, and nothing else.
    double readMs(int repeats)
    {
        QVector<double> times;
        qint64 sink = 0;
        for (int i = 0; i < repeats; ++i) {
            QElapsedTimer t;
            t.start();
            for (int g = 0; g < model.rowCount(); ++g) {
                const QModelIndex group = model.index(g, 0);
                for (int c = 0; c < 4; ++c)
                    sink += model.index(g, c).data().toDateTime().isValid();
                for (int r = 0; r < model.rowCount(group); ++r)
                    for (int c = 0; c < 4; ++c)
                        sink += model.index(r, c, group).data().toDateTime().isValid();
            }
            for (int r = 0; r < relations.rowCount(); ++r)
                for (int c : {0, 1, 3, 4})
                    sink += relations.index(r, c).data().toInt();
            times << t.nsecsElapsed() / 1e6;
        }
        return sink == -1 ? 0 : median(times);
    }

    ScheduleModel model;
    LinkModel relations;
    mygc::GanttChart chart;
    double setModelsMs = 0;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qSetMessagePattern("%{if-warning}%{message}%{endif}");
    QApplication app(argc, argv);

    Chart small(1000, 1400);
    Chart large(200000, 280000);
    std::printf("rows %d / %d, links %d / %d, chart %d x %d px\n", int(small.chart.itemCount()),
                int(large.chart.itemCount()), int(small.chart.relationships().size()),
                int(large.chart.relationships().size()), large.chart.chartArea()->width(),
                large.chart.chartArea()->height());

    const int repeats = 15;
    const double basePaint = small.paintMs(0.5, 0.5, repeats);
    std::printf("paint baseline (1,000 rows): %.2f ms\n", basePaint);
    for (const auto &at : {std::make_pair(0.0, 0.0), std::make_pair(0.5, 0.5), std::make_pair(1.0, 1.0)}) {
        const double ms = large.paintMs(at.first, at.second, repeats);
        std::printf("paint 200,000 rows at %3.0f%%: %.2f ms, %.2fx baseline\n", at.first * 100, ms, ms / basePaint);
    }

    const double read = large.readMs(3);
    const double rebuild = large.rebuildMs(3);
    std::printf("model read alone: %.1f ms; rebuild: %.1f ms, %.2fx the read; setModels: %.1f ms\n", read, rebuild,
                rebuild / read, large.setModelsMs);
    return 0;
}
