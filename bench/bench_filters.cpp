// The auto-filter on a large schedule, against one plain pass over a column of the same pipeline
// in the same run.
//
//   bench_filters [--activities N]
//
// Generates a schedule of N activities (default 200000), loads it, stacks the parent-item proxy and
// the filter proxy under a tree view, and prints for each step its time and its ratio to the time
// of reading every cell of one column once through the parent proxy: opening the popup of
// "Activity ID" (every value distinct) and of "Start Date" (years, months, days), "(Select All)"
// off and on, applying a value list, a condition and a sort, and clearing. Then the same schedule in
// the activities view grouped by WBS with every group open, tree and chart both drawn: the popup of
// "Activity ID", a sort by "Activity Name" and a value list, each until the chart has caught up.

#include "activities.h"
#include "ganttchart.h"
#include "pdfilterdialogpopup.h"
#include "pdfilterdialogproxymodel.h"
#include "pdexpression.h"
#include "pdfiltervaluemodel.h"
#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"
#include "pdsortfilterwidget.h"
#include "plandeckresources.h"
#include "xergenerator.h"
#include "xerloader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTreeView>
#include <QAbstractItemView>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

QJsonDocument catalogue()
{
    QFile file(QStringLiteral(":/files/schema.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

qint64 timed(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.elapsed();
}

void settle(QTreeView& view)
{
    QCoreApplication::processEvents();
    view.viewport()->repaint();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plandeck::initResources();
    int activities = 200000;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--activities") && i + 1 < args.size()) {
            activities = args.at(++i).toInt();
        } else {
            std::fprintf(stderr, "usage: bench_filters [--activities N]\n");
            return 2;
        }
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.xer"));
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || !XerGenerator(7, activities).write(&out)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    XERLoader loader(path, catalogue());
    loader.read();
    QAbstractItemModel* activityModel = loader.model(QStringLiteral("ActivityModel"));
    if (!activityModel) {
        std::fprintf(stderr, "the schedule did not load\n");
        return 1;
    }

    PdParentItemProxyModel tree;
    tree.setSourceModel(activityModel);
    PdFilterDialogProxyModel proxy;
    proxy.setSourceModel(&tree);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&proxy);
    view.resize(1000, 700);
    view.show();
    settle(view);

    const int idColumn = columnByName(&tree, QStringLiteral("Activity ID"));
    const int nameColumn = columnByName(&tree, QStringLiteral("Activity Name"));
    const int startColumn = columnByName(&tree, QStringLiteral("Start Date"));
    const int statusColumn = columnByName(&tree, QStringLiteral("Activity status"));

    auto baselinePass = [&] {
        return timed([&] {
            int filled = 0;
            for (int row = 0; row < tree.rowCount(); ++row)
                filled += tree.index(row, idColumn).data().isValid();
            if (filled < 0)
                std::printf("unreachable\n");
        });
    };
    const qint64 before = baselinePass();

    struct Result
    {
        const char* name;
        qint64 ms;
    };
    QVector<Result> results;

    auto openPopUp = [&](int column, const char* name) {
        std::unique_ptr<PdFilterDialogPopUp> popup;
        results.append({name, timed([&] {
                            popup.reset(PdSortFilterWidget::createPopUp(&tree, column));
                            popup->popup(QPoint(10, 10));
                            QCoreApplication::processEvents();
                            popup->repaint();
                        })});
        return popup;
    };
    {
        auto popup = openPopUp(idColumn, "popup of Activity ID opened");
        std::printf("Activity ID values: %d\n", popup->valueModel()->rowCount() - 1);
        // Through the model the view shows, as a click on the box would.
        QAbstractItemModel* search = popup->valueView()->model();
        const QModelIndex selectAll = search->index(0, 0);
        results.append({"(Select All) off", timed([&] {
                            search->setData(selectAll, Qt::Unchecked, Qt::CheckStateRole);
                            popup->repaint();
                        })});
        results.append({"(Select All) on", timed([&] {
                            search->setData(selectAll, Qt::Checked, Qt::CheckStateRole);
                            popup->repaint();
                        })});
        results.append({"search typed", timed([&] {
                            popup->filterRegExpChanged(QStringLiteral("1"));
                            popup->repaint();
                        })});
        popup->close();
    }
    openPopUp(startColumn, "popup of Start Date opened")->close();
    openPopUp(idColumn, "popup of Activity ID opened again")->close();

    int layouts = 0;
    QObject::connect(&proxy, &QAbstractItemModel::layoutChanged, [&layouts] { ++layouts; });
    results.append({"value list applied", timed([&] {
                        proxy.setPatternFilter(statusColumn, {QStringLiteral("TK_Active")});
                        settle(view);
                    })});
    std::printf("activities shown after the value list: %d of %d\n", proxy.acceptedLeafCount(),
                proxy.sourceLeafCount());
    results.append({"condition added", timed([&] {
                        proxy.setExpressionFilter(startColumn,
                                                  PdExpression::makeExpression(QStringLiteral("is after"),
                                                                               QDate(2027, 1, 1)));
                        settle(view);
                    })});
    std::printf("activities shown after the condition: %d\n", proxy.acceptedLeafCount());
    results.append({"sorted by Activity Name", timed([&] {
                        proxy.sort(nameColumn, Qt::DescendingOrder);
                        settle(view);
                    })});
    results.append({"filters cleared", timed([&] {
                        proxy.clearFilters();
                        settle(view);
                    })});
    results.append({"sorted by Start Date, all rows", timed([&] {
                        proxy.sort(startColumn, Qt::AscendingOrder);
                        settle(view);
                    })});
    results.append({"sorted by Activity Name, all rows", timed([&] {
                        proxy.sort(nameColumn, Qt::AscendingOrder);
                        settle(view);
                    })});
    std::printf("layout changes for 6 filter and sort steps: %d\n", layouts);

    const qint64 after = baselinePass();
    const int flatLeaves = proxy.sourceLeafCount();
    // The grouping appends group rows to the activity model; the flat pipeline lets go of it first.
    view.setModel(nullptr);
    proxy.setSourceModel(nullptr);
    tree.setSourceModel(nullptr);
    {
        Activities grouped;
        grouped.resize(1400, 800);
        grouped.show();
        grouped.setModels(activityModel, loader.model(QStringLiteral("PROJWBS")),
                          loader.model(QStringLiteral("ACTVTYPE")), loader.model(QStringLiteral("ACTVCODE")),
                          loader.model(QStringLiteral("PredecessorModel")), true);
        grouped.setGroupLevels(PdGroupLevel::fromText(QStringLiteral("WBS Name;All")));
        grouped.treeView()->expandAll();
        // Until nothing is left: a rebuilt chart posts layout requests of its own.
        auto settleGrouped = [&] {
            QCoreApplication::processEvents();
            grouped.ganttChart()->flushPendingRebuild();
            grouped.repaint();
            QCoreApplication::processEvents();
        };
        settleGrouped();
        PdFilterDialogProxyModel* filter = grouped.filterProxy();
        QAbstractItemModel* groupedTree = filter->sourceModel();
        const int groupedId = columnByName(groupedTree, QStringLiteral("Activity ID"));
        const int groupedStatus = columnByName(groupedTree, QStringLiteral("Activity status"));
        {
            std::unique_ptr<PdFilterDialogPopUp> popup;
            results.append({"grouped: popup of Activity ID", timed([&] {
                                popup.reset(PdSortFilterWidget::createPopUp(groupedTree, groupedId));
                                popup->popup(QPoint(10, 10));
                                QCoreApplication::processEvents();
                                popup->repaint();
                            })});
            popup->close();
        }
        QCoreApplication::processEvents();
        results.append({"grouped: sorted by Activity Name", timed([&] {
                            grouped.sortByColumn(QStringLiteral("Activity Name"), Qt::AscendingOrder);
                            settleGrouped();
                        })});
        results.append({"grouped: value list applied", timed([&] {
                            filter->setPatternFilter(groupedStatus, {QStringLiteral("TK_Active")});
                            settleGrouped();
                        })});
        std::printf("grouped: activities shown after the value list: %d of %d\n", filter->acceptedLeafCount(),
                    filter->sourceLeafCount());
    }


    const qint64 baseline = qMax<qint64>(1, (before + after) / 2);
    std::printf("activities: %d\nbaseline, one pass over a column: %lld ms before, %lld ms after\n",
                flatLeaves, static_cast<long long>(before), static_cast<long long>(after));
    for (const Result& result : qAsConst(results)) {
        std::printf("%-34s %6lld ms  ratio %6.2f\n", result.name, static_cast<long long>(result.ms),
                    double(result.ms) / double(baseline));
    }
    return 0;
}
