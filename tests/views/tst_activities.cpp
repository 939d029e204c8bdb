#include "activities.h"
#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "pdfilterdialogproxymodel.h"
#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"
#include "qgcvaxis.h"
#include "taskitem.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {

QStringList headerTexts(const QAbstractItemModel *model)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts;
}

// A flat activity table whose first `groups` rows of every block are group
// rows: block g is one group row followed by `perGroup` activities.
QStandardItemModel *groupedSource(int groups, int perGroup, PdParentItemProxyModel::ParentMap *map)
{
    const int rows = groups * (perGroup + 1);
    auto *source = new QStandardItemModel(rows, 6);
    source->setHorizontalHeaderLabels({"ID", "parentID", "Activity ID", "Start Date", "Finish Date", "Activity Type"});
    const QDateTime start(QDate(2026, 3, 2), QTime(8, 0));
    for (int row = 0; row < rows; ++row) {
        const bool group = row % (perGroup + 1) == 0;
        source->setData(source->index(row, 0), row + 1);
        source->setData(source->index(row, 2), group ? QStringLiteral("G%1").arg(row) : QStringLiteral("A%1").arg(row));
        source->setData(source->index(row, 3), start.addDays(row));
        source->setData(source->index(row, 4), start.addDays(row + 3));
        source->setData(source->index(row, 5), group ? QStringLiteral("Summary") : QStringLiteral("Task"));
        if (group)
            (*map)[-1].append(row);
        else
            (*map)[row - row % (perGroup + 1)].append(row);
    }
    return source;
}

// The rows the tree shows, top to bottom, as column-0 indexes.
QModelIndexList shownRows(const QTreeView *tree)
{
    QModelIndexList rows;
    for (QModelIndex index = tree->model()->index(0, 0); index.isValid(); index = tree->indexBelow(index))
        rows << index.siblingAtColumn(0);
    return rows;
}

QModelIndexList chartRows(const mygc::GanttChart *chart)
{
    QModelIndexList rows;
    for (int r = 0; r < chart->itemCount(); ++r)
        rows << chart->item(r)->index();
    return rows;
}

// Given a view over `groups` groups of `perGroup` activities each, all collapsed.
struct Fixture
{
    Fixture(int groups, int perGroup)
        : source(groupedSource(groups, perGroup, &map))
    {
        view.setModels(source.get(), nullptr, nullptr, nullptr, nullptr, true);
        view.parentProxy()->setParentMap(map);
        tree = view.treeView();
        chart = view.ganttChart();
        tester = std::make_unique<QAbstractItemModelTester>(tree->model(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    bool settled() const { return QTest::qWaitFor([this] { return !chart->isRebuildPending(); }); }
    // On screen at the given size with every group open, the chart caught up.
    bool shownExpanded(int width, int height)
    {
        view.resize(width, height);
        view.show();
        if (!QTest::qWaitForWindowExposed(&view))
            return false;
        tree->expandAll();
        return settled();
    }

    PdParentItemProxyModel::ParentMap map;
    std::unique_ptr<QStandardItemModel> source;
    Activities view;
    QTreeView *tree = nullptr;
    mygc::GanttChart *chart = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

class TestActivities : public QObject
{
    Q_OBJECT
private slots:
    void showsOneTopLevelRowPerActivity_data();
    void showsOneTopLevelRowPerActivity();
    void chartRowsFollowTheTree_data();
    void chartRowsFollowTheTree();
    void currentRowInStepBothWays();
    void rowsLineUpWhereverTheTreeScrolls_data();
    void rowsLineUpWhereverTheTreeScrolls();
    void wheelOverTheChartScrollsTheTree_data();
    void wheelOverTheChartScrollsTheTree();
    void currentRowBringsItsBarIntoView_data();
    void currentRowBringsItsBarIntoView();
    void sortAndFiltersEndWithTheProject();
};

void TestActivities::showsOneTopLevelRowPerActivity_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("no activities") << 0;
    QTest::newRow("a few hundred activities") << 350;
}

void TestActivities::showsOneTopLevelRowPerActivity()
{
    QFETCH(int, rows);
    Activities view;
    QTreeView *tree = view.findChild<QTreeView *>(QStringLiteral("treeView"));
    QVERIFY(tree);
    const QStringList emptyColumns{"Activity ID", "Activity Name", "Start", "Finish", "WBS"};
    QCOMPARE(headerTexts(tree->model()), emptyColumns);
    QCOMPARE(tree->model()->rowCount(), 0);

    auto *source = new QStandardItemModel(rows, 3);
    source->setHorizontalHeaderLabels({"ID", "parentID", "Activity ID"});
    for (int row = 0; row < rows; ++row)
        source->setData(source->index(row, 2), QStringLiteral("A%1").arg(row * 10));
    view.setModels(source, nullptr, nullptr, nullptr, nullptr, true);

    QAbstractItemModel *shown = tree->model();
    QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(view.initialRowCount(), rows);
    QCOMPARE(shown->rowCount(), rows);
    QCOMPARE(headerTexts(shown), headerTexts(source));
    QCOMPARE(view.ganttChart()->itemCount(), rows);
    auto *proxy = qobject_cast<QAbstractProxyModel *>(shown);
    QVERIFY(proxy);
    for (const QModelIndex &index : allIndexes(shown)) {
        QVERIFY(!shown->hasChildren(index));
        for (int column = 0; column < shown->columnCount(); ++column) {
            const QModelIndex cell = index.siblingAtColumn(column);
            QCOMPARE(proxy->mapFromSource(proxy->mapToSource(cell)), cell);
            QCOMPARE(cell.data(), proxy->mapToSource(cell).data());
        }
    }

    // Closing lets go of the project's models, so their owner may delete them.
    view.onCloseProject();
    delete source;
    QCOMPARE(headerTexts(tree->model()), emptyColumns);
    QCOMPARE(tree->model()->rowCount(), 0);
    QCOMPARE(view.ganttChart()->itemCount(), 0);
}

void TestActivities::chartRowsFollowTheTree_data()
{
    QTest::addColumn<QString>("steps");

    QTest::newRow("all collapsed") << "";
    QTest::newRow("first group expanded") << "+0";
    QTest::newRow("last group expanded") << "+3";
    QTest::newRow("everything expanded") << "*";
    QTest::newRow("expanded then collapsed again") << "* -1 -2";
    QTest::newRow("expanded then sorted the other way") << "* v";
    QTest::newRow("expanded then filtered") << "* f";
    QTest::newRow("filtered, sorted, then every filter cleared") << "* f v c";
}

void TestActivities::chartRowsFollowTheTree()
{
    QFETCH(QString, steps);
    Fixture f(4, 3);
    // The current row is the last group's, so rows above it come and go.
    f.tree->setCurrentIndex(f.tree->model()->index(3, 0));
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("*"))
            f.tree->expandAll();
        else if (step == QLatin1String("v"))
            f.tree->sortByColumn(2, Qt::DescendingOrder);
        else if (step == QLatin1String("f"))
            f.view.filterProxy()->setPatternFilter(2, {QStringLiteral("A2"), QStringLiteral("A14")});
        else if (step == QLatin1String("c"))
            f.view.clearAllFilters();
        else if (step.startsWith(QLatin1Char('+')))
            f.tree->expand(f.tree->model()->index(step.midRef(1).toInt(), 0));
        else
            f.tree->collapse(f.tree->model()->index(step.midRef(1).toInt(), 0));
        QVERIFY(f.settled());
    }
    QVERIFY(f.settled());

    const QModelIndexList rows = shownRows(f.tree);
    QCOMPARE(chartRows(f.chart), rows);
    const int current = rows.indexOf(f.tree->currentIndex().siblingAtColumn(0));
    QVERIFY(current >= 0);
    QCOMPARE(f.chart->chartArea()->currentRow(), current);
    const mygc::QGCVAxis *geometry = f.chart->verticalAxis();
    for (int r = 0; r < rows.size(); ++r) {
        QCOMPARE(geometry->rowHeight(r), f.tree->visualRect(rows.at(r).siblingAtColumn(2)).height());
        QCOMPARE(f.chart->item(r)->kind(), f.tree->model()->hasChildren(rows.at(r)) ? 2 : 0);
    }
}

void TestActivities::currentRowInStepBothWays()
{
    Fixture f(3, 4);
    f.tree->expand(f.tree->model()->index(1, 0));
    QVERIFY(f.settled());
    const QModelIndexList rows = shownRows(f.tree);
    QCOMPARE(rows.size(), 7);
    mygc::ChartArea *area = f.chart->chartArea();
    QSignalSpy chartSignals(f.chart, &mygc::GanttChart::selectionChanged);

    // From the tree, hopping between parents (and to equal row numbers under
    // different parents) in a non-adjacent order, the current row moving on
    // its own after the first selection as Ctrl+arrows move it in a tree
    // that selects several rows; the chart follows silently.
    f.tree->setCurrentIndex(rows.first().siblingAtColumn(2));
    for (int step = 1; step < rows.size(); ++step) {
        const int r = step * 2 % rows.size();
        f.tree->selectionModel()->setCurrentIndex(rows.at(r).siblingAtColumn(2), QItemSelectionModel::NoUpdate);
        QCOMPARE(area->currentRow(), r);
    }
    QCOMPARE(chartSignals.count(), 0);

    // From the chart, by row and by key; the tree selects what it makes current.
    for (int r = rows.size() - 1; r >= 0; --r) {
        area->setCurrentRow(r);
        QCOMPARE(f.tree->currentIndex().siblingAtColumn(0), rows.at(r));
        QVERIFY(f.tree->selectionModel()->isRowSelected(rows.at(r).row(), rows.at(r).parent()));
    }
    for (int r = 1; r < rows.size(); ++r) {
        QTest::keyClick(area, Qt::Key_Down);
        QCOMPARE(f.tree->currentIndex().siblingAtColumn(0), rows.at(r));
        QCOMPARE(area->currentRow(), r);
    }
    // Below the last row there is blank space, but no row to take over.
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(5, area->height() - 2));
    QCOMPARE(area->currentRow(), rows.size() - 1);
    QCOMPARE(f.tree->currentIndex().siblingAtColumn(0), rows.last());
}

void TestActivities::rowsLineUpWhereverTheTreeScrolls_data()
{
    QTest::addColumn<QVector<int>>("levels");
    QTest::addColumn<double>("position");
    QTest::addColumn<bool>("narrowColumns");

    QTest::newRow("one band, at the top") << QVector<int>{3} << 0.0 << false;
    QTest::newRow("three bands, in the middle") << QVector<int>{3, 4, 6} << 0.5 << false;
    QTest::newRow("three bands, at the end") << QVector<int>{3, 4, 6} << 1.0 << false;
    QTest::newRow("two bands, one row before the end") << QVector<int>{6, 9} << -1.0 << false;
    QTest::newRow("tree columns need no scrolling, at the end") << QVector<int>{3, 4} << 1.0 << true;
}

void TestActivities::rowsLineUpWhereverTheTreeScrolls()
{
    QFETCH(QVector<int>, levels);
    QFETCH(double, position);
    QFETCH(bool, narrowColumns);
    Fixture f(6, 40);
    if (narrowColumns)
        f.tree->header()->setDefaultSectionSize(30);
    f.chart->setLevels(levels);
    QVERIFY(f.shownExpanded(900, 333));

    QScrollBar *bar = f.tree->verticalScrollBar();
    bar->setValue(position < 0 ? bar->maximum() - 1 : qRound(bar->maximum() * position));
    QVERIFY(f.settled());

    // Both viewports start and end at the same height, so the header is as
    // tall as the axis and every row can line up.
    const QWidget *treePort = f.tree->viewport();
    const QWidget *chartPort = f.chart->viewport();
    QCOMPARE(f.tree->header()->height(), f.chart->dateAxisHeight());
    QCOMPARE(treePort->mapTo(&f.view, QPoint(0, 0)).y(), chartPort->mapTo(&f.view, QPoint(0, 0)).y());
    QCOMPARE(treePort->height(), chartPort->height());

    const QModelIndexList rows = shownRows(f.tree);
    const mygc::QGCVAxis *geometry = f.chart->verticalAxis();
    const int chartTop = f.chart->verticalScrollBar()->value();
    int checked = 0;
    for (int y = 0; y < treePort->height(); y += geometry->rowHeight(0) / 2) {
        const QModelIndex index = f.tree->indexAt(QPoint(treePort->width() / 2, y));
        if (!index.isValid())
            continue;
        const int row = rows.indexOf(index.siblingAtColumn(0));
        QCOMPARE(geometry->rowTop(row) - chartTop, f.tree->visualRect(index).top());
        ++checked;
    }
    QVERIFY(checked > 10);
    if (position >= 1.0)
        QVERIFY(f.tree->visualRect(rows.last().siblingAtColumn(2)).bottom() < treePort->height());
}

void TestActivities::wheelOverTheChartScrollsTheTree_data()
{
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<bool>("rowsMove");

    QTest::newRow("down, the rows move") << QPoint(0, -120) << true;
    QTest::newRow("sideways, the dates move") << QPoint(-120, 0) << false;
}

void TestActivities::wheelOverTheChartScrollsTheTree()
{
    QFETCH(QPoint, angle);
    QFETCH(bool, rowsMove);
    Fixture f(1, 200);
    QVERIFY(f.shownExpanded(600, 300));

    QWidget *port = f.chart->viewport();
    const QPoint at(port->width() / 2, port->height() / 2);
    QWheelEvent wheel(at, port->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(port, &wheel);

    const int treeRows = rowsMove ? QApplication::wheelScrollLines() : 0;
    QCOMPARE(f.tree->verticalScrollBar()->value(), treeRows);
    QCOMPARE(f.chart->verticalScrollBar()->value(), f.chart->verticalAxis()->rowTop(treeRows));
    QCOMPARE(f.chart->horizontalScrollBar()->value() > 0, !rowsMove);
}

void TestActivities::currentRowBringsItsBarIntoView_data()
{
    // One group of 200 activities, each starting a day after the one above
    // and lasting three days, far wider than the chart. The chart is first
    // scrolled so that row `shownFrom` starts at its left edge (-1: scrolled
    // to the end); then row `row` becomes current (-1: the last row, -2: the
    // first row whose bar the right edge cuts).
    QTest::addColumn<int>("shownFrom");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("scrolls");

    QTest::newRow("bar off to the right") << 0 << 150 << "tree" << "" << true;
    QTest::newRow("End key, last bar off to the right") << 0 << -1 << "End" << "" << true;
    QTest::newRow("bar off to the left") << -1 << 20 << "tree" << "" << true;
    QTest::newRow("bar cut at the right edge") << 140 << -2 << "tree" << "" << true;
    QTest::newRow("milestone off to the right") << 0 << 150 << "tree" << "milestone" << true;
    QTest::newRow("summary wholly off to the left") << 150 << 0 << "tree" << "" << true;
    QTest::newRow("Down key onto a bar in view") << 100 << 101 << "Down" << "" << false;
    QTest::newRow("summary partly in view") << 100 << 0 << "tree" << "summary spans all" << false;
    QTest::newRow("row without dates") << 0 << 150 << "tree" << "undated" << false;
    QTest::newRow("row picked in the chart") << 0 << 150 << "chart" << "" << false;
}

void TestActivities::currentRowBringsItsBarIntoView()
{
    QFETCH(int, shownFrom);
    QFETCH(int, row);
    QFETCH(QString, how);
    QFETCH(QString, change);
    QFETCH(bool, scrolls);
    Fixture f(1, 200);
    const int last = f.source->rowCount() - 1;
    if (row == -1)
        row = last;
    if (change == QLatin1String("milestone"))
        f.source->setData(f.source->index(row, 5), QStringLiteral("Milestone"));
    else if (change == QLatin1String("undated"))
        f.source->setData(f.source->index(row, 3), QVariant());
    else if (change == QLatin1String("summary spans all"))
        f.source->setData(f.source->index(row, 4), f.source->index(last, 4).data());
    QVERIFY(f.shownExpanded(700, 400));

    const QModelIndexList rows = shownRows(f.tree);
    const mygc::DateAxis *axis = f.chart->dateAxis();
    QScrollBar *bar = f.chart->horizontalScrollBar();
    const int width = f.chart->viewport()->width();
    QVERIFY(bar->maximum() > 4 * width);
    const auto item = [&](int r) { return f.chart->item(r); };

    // Some other row is current first, so that the step below moves it.
    const int previous = how == QLatin1String("Down") ? row - 1 : how == QLatin1String("End") || row != 0 ? 0 : 1;
    f.tree->setCurrentIndex(rows.at(previous).siblingAtColumn(2));
    bar->setValue(shownFrom < 0 ? bar->maximum() : axis->xForDate(item(shownFrom)->start()));
    const int before = bar->value();
    if (row == -2) {
        row = shownFrom;
        while (axis->xForDate(item(row)->finish()) < before + width)
            ++row;
        QVERIFY(axis->xForDate(item(row)->start()) < before + width);
    }

    if (how == QLatin1String("End") || how == QLatin1String("Down"))
        QTest::keyClick(f.tree, how == QLatin1String("End") ? Qt::Key_End : Qt::Key_Down);
    else if (how == QLatin1String("chart"))
        f.chart->chartArea()->setCurrentRow(row);
    else
        f.tree->setCurrentIndex(rows.at(row).siblingAtColumn(2));
    QCOMPARE(f.tree->currentIndex().siblingAtColumn(0), rows.at(row));
    QCOMPARE(f.chart->chartArea()->currentRow(), row);

    if (!scrolls) {
        QCOMPARE(bar->value(), before);
        return;
    }
    // The bar's start now shows near the left edge (or as far left as the
    // chart's end allows), and a short bar shows whole.
    const int nearLeft = bar->value() == bar->maximum() ? width : width / 4;
    const QDateTime start = item(row)->start();
    QVERIFY2(axis->dateAt(bar->value()) < start && start < axis->dateAt(bar->value() + nearLeft),
             qPrintable(axis->dateAt(bar->value()).toString(Qt::ISODate) + " " + start.toString(Qt::ISODate)));
    if (item(row)->kind() != mygc::TaskItem::Summary)
        QVERIFY(item(row)->finish() < axis->dateAt(bar->value() + width - 1));
}

void TestActivities::sortAndFiltersEndWithTheProject()
{
    Fixture f(2, 2);
    PdSortFilterHeader *header = f.view.sortFilterHeader();
    QCOMPARE(f.tree->header(), header);
    QVERIFY(f.view.sortFilterWidget());
    f.view.sortByColumn(QStringLiteral("Activity ID"), Qt::DescendingOrder);
    QCOMPARE(header->sortColumn(), 2);
    QCOMPARE(header->sortOrder(), 1);
    QCOMPARE(f.tree->model()->index(0, 2).data().toString(), QStringLiteral("G3"));
    f.view.filterProxy()->setPatternFilter(2, {QStringLiteral("A1")});
    header->addFilter(2);

    f.view.onCloseProject();
    QVERIFY(!f.view.sortFilterWidget());
    QVERIFY(!header->hasFilters());
    QCOMPARE(header->sortColumn(), -1);
    QVERIFY(!f.view.filterProxy()->hasFilters());
    QCOMPARE(f.view.filterProxy()->sortColumn(), -1);
}

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
