// Times the item-model toolkit on a project-sized model: 200,000 activities and 2,000 group rows.
// Every figure is printed against a plain loop over the source rows measured in the same run.

#include "pdindex.h"
#include "pdjoinproxymodel.h"
#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QScrollBar>
#include <QTextStream>
#include <QTreeView>

#include <functional>

namespace {

constexpr int kActivities = 200000;
constexpr int kGroups = 2000;

// Computed cells: no storage, so the figures measure the toolkit rather than the data.
class ActivityModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : kActivities + kGroups;
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        const int r = index.row();
        if (r >= kActivities)
            return index.column() == 0 ? QVariant(QStringLiteral("G%1").arg(r - kActivities)) : QVariant();
        switch (index.column()) {
        case 0:
            return QStringLiteral("A%1").arg(r);
        case 1:
            return (r * 7919) % kGroups;
        case 2:
            return QStringLiteral("P%1").arg(r % 10);
        default:
            return (r * 104729) % 100003;
        }
    }
};

class WbsModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : kGroups; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        return index.column() == 0 ? QVariant(index.row()) : QVariant(QStringLiteral("WBS %1").arg(index.row()));
    }
};

double timeMs(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false\n*.debug=false"));
    QTextStream out(stdout);

    ActivityModel source;
    WbsModel wbs;

    qlonglong checksum = 0;
    const double baseline = timeMs([&] {
        for (int r = 0; r < kActivities; ++r)
            checksum += source.index(r, 1).data().toInt();
    });
    out << "baseline: one data() read per source row (" << kActivities << " rows): " << baseline << " ms\n";
    auto report = [&](const char* name, double ms) {
        out << qSetFieldWidth(50) << Qt::left << name << qSetFieldWidth(0) << ms << " ms  (" << ms / baseline
            << " x baseline)\n";
    };

    PdIndex groups(&source, 1);
    PdIndex phases(&source, 2);
    report("index: group by 2,000 keys", timeMs([&] { groups.group(Qt::DisplayRole); }));
    report("index: group by 10 keys", timeMs([&] { phases.group(Qt::DisplayRole); }));
    PdIndex crossed;
    report("index: combine the two levels", timeMs([&] { crossed = PdIndex::combine(groups, phases); }));
    report("index: limitLevels(1) on the crossed index", timeMs([&] { crossed.limitLevels(1); }));

    PdJoinProxyModel join;
    join.setSourceModel(&source);
    report("join: add a 2,000-row mapping", timeMs([&] { join.addMapping(&wbs, 0, {1}, 1); }));

    PdParentItemProxyModel::ParentMap map;
    int group = 0;
    for (auto it = groups.map.cbegin(); it != groups.map.cend(); ++it, ++group) {
        map[-1].append(kActivities + group);
        QList<int> rows = it->rows.toList();
        std::sort(rows.begin(), rows.end());
        map[kActivities + group] = rows;
    }
    PdParentItemProxyModel proxy;
    proxy.setSourceModel(&join);
    report("parent proxy: install the parent map", timeMs([&] { proxy.setParentMap(map); }));

    QModelIndexList all;
    report("parent proxy: depth-first walk (allIndexes)", timeMs([&] { all = allIndexes(&proxy); }));
    report("parent proxy: parent() + mapFromSource() per row", timeMs([&] {
               for (int r = 0; r < kActivities; ++r)
                   checksum += proxy.mapFromSource(join.index(r, 0)).parent().row();
           }));
    report("parent proxy: sort by a numeric column", timeMs([&] { proxy.sort(3, Qt::AscendingOrder); }));
    report("parent proxy: sort by a text column", timeMs([&] { proxy.sort(0, Qt::DescendingOrder); }));

    QTreeView view;
    view.setUniformRowHeights(true);
    view.resize(1000, 800);
    view.setModel(&proxy);
    view.show();
    report("tree view: expand all groups", timeMs([&] {
               view.expandAll();
               QCoreApplication::processEvents();
           }));
    report("tree view: scroll to the end and paint", timeMs([&] {
               view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
               view.viewport()->repaint();
           }));
    report("tree view: sort by a column, expanded", timeMs([&] {
               view.sortByColumn(3, Qt::DescendingOrder);
               view.viewport()->repaint();
           }));

    out << "rows walked: " << all.size() << ", checksum " << checksum << "\n";
    return all.size() == kActivities + kGroups ? 0 : 1;
}
