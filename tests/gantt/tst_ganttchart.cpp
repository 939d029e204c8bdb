#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "qgcvaxis.h"
#include "taskitem.h"
#include "taskrelationship.h"
#include "timeunit.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

using namespace mygc;

namespace {

enum Column { IdCol, TypeCol, StartCol, FinishCol, ActualStartCol, ActualFinishCol, BlStartCol, BlFinishCol, NameCol };

QDateTime day(int d)
{
    return QDateTime(QDate(2017, 3, 1).addDays(d - 1), QTime(8, 0));
}

QList<QStandardItem *> makeCells(const QVariantList &values)
{
    QList<QStandardItem *> cells;
    for (const QVariant &v : values) {
        cells << new QStandardItem;
        cells.last()->setData(v, Qt::DisplayRole);
    }
    return cells;
}

QList<QStandardItem *> makeRow(int id, const QString &name, const QString &type, const QDateTime &start,
                               const QDateTime &finish)
{
    return makeCells({id, type, start, finish, start, finish, QVariant(), QVariant(), name});
}

// Counts the rebuilds it runs: a burst of model changes must cost one.
class CountingChart : public GanttChart
{
public:
    void rebuild() override
    {
        ++rebuilds;
        GanttChart::rebuild();
    }
    int rebuilds = 0;
};

} // namespace

// Given a summary S1 (A, B and milestone M), a summary-typed leaf S2 and the
// tasks C and D (D finishes before it starts), shown through a sort/filter
// proxy in a tree view beside the chart, with links between them.
class TestGanttChart : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_model = new QStandardItemModel;
        m_model->setHorizontalHeaderLabels({"ID", "Activity Type", "Start Date", "Finish Date", "Actual Start",
                                            "Actual Finish", "BL Start", "BL Finish", "Name"});
        auto s1 = makeRow(100, "S1", "", day(1), day(10));
        s1.first()->appendRow(makeRow(1, "A", "Task", day(1), day(3)));
        s1.first()->appendRow(makeRow(2, "B", "Task", day(3), day(6)));
        s1.first()->appendRow(makeRow(3, "M", "Milestone", day(6), day(6)));
        m_model->appendRow(s1);
        m_model->appendRow(makeRow(200, "S2", "Summary", day(2), day(8)));
        m_model->appendRow(makeRow(4, "C", "Task", day(8), day(10)));
        m_model->appendRow(makeRow(5, "D", "Task", day(9), day(7)));
        m_links = new QStandardItemModel(0, 5);
        const QList<QVariantList> links{{2, 1, "PR_FS", 0}, {3, 2, "PR_FF", 0}, {4, 3, "PR_SS", 0},
                                        {4, 1, "pr_fs", 8}, {999, 1, "PR_FS", 0}, {5, 200, "PR_SF", 0}};
        for (const QVariantList &l : links)
            m_links->appendRow(makeCells({l[0], l[1], QVariant(), l[2], l[3]}));
        m_proxy = new QSortFilterProxyModel;
        m_proxy->setSourceModel(m_model);
        m_proxy->setFilterKeyColumn(NameCol);
        m_tree = new QTreeView;
        m_tree->setModel(m_proxy);
        m_tree->expandAll();
        for (QAbstractItemModel *m : QList<QAbstractItemModel *>{m_model, m_links, m_proxy})
            m_testers << new QAbstractItemModelTester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m_chart = new CountingChart;
        m_chart->setModels(m_proxy, StartCol, FinishCol, TypeCol, IdCol, m_links, 0, 1, 3, 4, ActualStartCol,
                           ActualFinishCol, BlStartCol, BlFinishCol, m_tree);
    }

    void cleanup()
    {
        delete m_chart;
        delete m_tree;
        qDeleteAll(m_testers);
        m_testers.clear();
        delete m_proxy;
        delete m_links;
        delete m_model;
    }

    void rowsAndLinksFollowTheTree_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("expectedRows");
        QTest::newRow("everything expanded") << "none" << 7;
        QTest::newRow("collapsed summary keeps one row and drops its links") << "collapse" << 4;
        QTest::newRow("collapse then expand") << "collapse expand" << 7;
        QTest::newRow("sorted by start, latest first") << "sort" << 7;
        QTest::newRow("filtered out row") << "filter" << 6;
        QTest::newRow("row inserted between rows") << "insert" << 8;
        QTest::newRow("summary removed with its children") << "remove" << 3;
        QTest::newRow("relationship model cleared") << "clear-links" << 7;
    }

    void rowsAndLinksFollowTheTree()
    {
        QFETCH(QString, change);
        QFETCH(int, expectedRows);
        const QModelIndex s1 = m_proxy->index(0, 0);
        for (const QString &step : change.split(' ')) {
            if (step == "collapse")
                m_tree->collapse(s1);
            else if (step == "expand")
                m_tree->expand(s1);
            else if (step == "sort")
                m_proxy->sort(StartCol, Qt::DescendingOrder);
            else if (step == "filter")
                m_proxy->setFilterRegularExpression("^[^B]");
            else if (step == "insert")
                m_model->insertRow(1, makeRow(6, "N", "Task", day(4), day(5)));
            else if (step == "remove")
                m_model->removeRow(0);
            else if (step == "clear-links")
                m_links->clear();
        }
        QTRY_VERIFY(!m_chart->isRebuildPending());

        QModelIndexList rows;
        QSet<int> shown;
        for (QModelIndex i = m_proxy->index(0, 0); i.isValid(); i = m_tree->indexBelow(i)) {
            rows << i;
            shown << i.data().toInt();
        }
        QCOMPARE(rows.size(), expectedRows);
        QCOMPARE(m_chart->itemCount(), rows.size());
        QCOMPARE(m_chart->chartArea()->rowCount(), rows.size());
        QCOMPARE(m_chart->verticalAxis()->rowCount(), rows.size());
        for (int r = 0; r < rows.size(); ++r) {
            QCOMPARE(m_chart->item(r)->index(), rows.at(r));
            QCOMPARE(m_chart->rowOfIndex(rows.at(r).sibling(rows.at(r).row(), NameCol)), r);
        }
        QStringList links;
        for (const auto &l : m_chart->relationships())
            links << QString("%1>%2:%3/%4").arg(m_chart->item(l->from())->id()).arg(m_chart->item(l->to())->id()).arg(l->type()).arg(l->lag());
        // Any other text, lower case included, is start to start (0).
        const QHash<QString, int> types{{"PR_FS", 1}, {"PR_SF", 2}, {"PR_FF", 3}};
        QStringList expected;
        for (int r = 0; r < m_links->rowCount(); ++r) {
            const int task = m_links->index(r, 0).data().toInt();
            const int pred = m_links->index(r, 1).data().toInt();
            const int type = types.value(m_links->index(r, 3).data().toString(), 0);
            if (shown.contains(task) && shown.contains(pred))
                expected << QString("%1>%2:%3/%4").arg(pred).arg(task).arg(type).arg(m_links->index(r, 4).data().toInt());
        }
        links.sort();
        expected.sort();
        QCOMPARE(links, expected);
    }

    void kindsAndDates()
    {
        QString kinds;
        for (int r = 0; r < m_chart->itemCount(); ++r)
            kinds += QString::number(m_chart->item(r)->kind());
        // S1 has children, S2 is typed "Summary", M is a milestone.
        QCOMPARE(kinds, QString("2001200"));
        QCOMPARE(m_chart->item(1)->start(), day(1));
        QCOMPARE(m_chart->item(1)->actualFinish(), day(3));
        QVERIFY(m_chart->chartArea()->chartRow(1).hasDates);
        QVERIFY2(!m_chart->chartArea()->chartRow(6).hasDates, "finish before start has no bar");
        QCOMPARE(m_chart->dateAxis()->startDate(), QDateTime(QDate(2017, 3, 1), QTime(0, 0)));
        QCOMPARE(m_chart->dateAxis()->endDate(), QDateTime(QDate(2017, 3, 11), QTime(0, 0)));
        QCOMPARE(m_chart->chartArea()->size(), QSize(250, 7 * 25));
    }

    void burstOfChangesRebuildsOnce()
    {
        m_chart->rebuilds = 0;
        for (int i = 0; i < 40; ++i)
            m_model->setData(m_model->index(2, StartCol), day(8).addSecs(60 * i));
        m_tree->collapse(m_proxy->index(0, 0));
        m_tree->expand(m_proxy->index(0, 0));
        QVERIFY(m_chart->isRebuildPending());
        QTRY_VERIFY(!m_chart->isRebuildPending());
        QCOMPARE(m_chart->rebuilds, 1);
        QCOMPARE(m_chart->item(5)->start(), day(8).addSecs(60 * 39));
    }

    void selection_data()
    {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expectedRow");
        QTest::addColumn<bool>("signalled");
        QTest::newRow("Down with no selection selects row 0") << -1 << "down" << 0 << true;
        QTest::newRow("Down moves one row") << 2 << "down" << 3 << true;
        QTest::newRow("Down on the last row stays") << 6 << "down" << 6 << false;
        QTest::newRow("Up on row 0 does nothing") << 0 << "up" << 0 << false;
        QTest::newRow("Up moves one row") << 4 << "up" << 3 << true;
        QTest::newRow("other keys are ignored") << 4 << "left" << 4 << false;
        QTest::newRow("click selects the row under the mouse") << -1 << "click 60" << 2 << true;
        QTest::newRow("click on the selected row is quiet") << 2 << "click 74" << 2 << false;
    }

    void selection()
    {
        QFETCH(int, startRow);
        QFETCH(QString, action);
        QFETCH(int, expectedRow);
        QFETCH(bool, signalled);
        ChartArea *area = m_chart->chartArea();
        m_chart->selectRowSilently(startRow);
        QSignalSpy spy(m_chart, &GanttChart::selectionChanged);
        const QMap<QString, Qt::Key> keys{{"down", Qt::Key_Down}, {"up", Qt::Key_Up}, {"left", Qt::Key_Left}};
        if (keys.contains(action))
            QTest::keyClick(area, keys.value(action));
        else
            QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(30, action.mid(6).toInt()));
        QCOMPARE(area->currentRow(), expectedRow);
        QCOMPARE(spy.count(), signalled ? 1 : 0);
        if (signalled)
            QCOMPARE(spy.at(0).at(0).value<QModelIndex>(), m_chart->item(expectedRow)->index());
    }

    // Following the tree's current row: any column finds the row, a row
    // hidden in a collapsed summary leaves the selection where it was.
    void selectIndexIsSilent()
    {
        QSignalSpy spy(m_chart, &GanttChart::selectionChanged);
        const QModelIndex b = m_proxy->index(1, NameCol, m_proxy->index(0, 0));
        m_chart->selectIndex(b);
        QCOMPARE(m_chart->chartArea()->currentRow(), 2);
        m_tree->collapse(m_proxy->index(0, 0));
        QTRY_VERIFY(!m_chart->isRebuildPending());
        m_chart->selectIndex(m_proxy->index(2, 0));
        QCOMPARE(m_chart->chartArea()->currentRow(), 2);
        m_chart->selectIndex(b);
        QCOMPARE(m_chart->chartArea()->currentRow(), 2);
        QCOMPARE(spy.count(), 0);
    }

    void stylesResolveColumnsByHeader_data()
    {
        QTest::addColumn<QList<PdGanttViewBarStyle>>("styles");
        QTest::addColumn<QVector<int>>("expected"); // start, finish, baseline start/finish, actual start/finish
        QTest::newRow("chart defaults") << PdGanttViewBarStyle::chartDefaults()
                                        << QVector<int>{StartCol, FinishCol, StartCol, FinishCol, ActualStartCol, ActualFinishCol};
        auto renamed = PdGanttViewBarStyle::chartDefaults();
        for (int i = 0; i < renamed.size(); ++i)
            renamed[i].styleName = QString("Style %1").arg(i);
        renamed[3].startDate = "BL Start";
        renamed[3].finishDate = "BL Finish";
        renamed[0].finishDate = "No Such Column";
        QTest::newRow("renamed styles are read by position")
                << renamed << QVector<int>{StartCol, -1, BlStartCol, BlFinishCol, ActualStartCol, ActualFinishCol};
        auto stored = PdGanttViewBarStyle::documentDefaults();
        stored[4].startDate = "BL Start";
        stored[4].finishDate = "BL Finish";
        QTest::newRow("stored P6 order is matched by name")
                << stored << QVector<int>{StartCol, FinishCol, BlStartCol, BlFinishCol, -1, -1};
        QTest::newRow("short list falls back to the default names")
                << PdGanttViewBarStyle::chartDefaults().mid(0, 1)
                << QVector<int>{StartCol, FinishCol, StartCol, FinishCol, StartCol, FinishCol};
    }

    void stylesResolveColumnsByHeader()
    {
        QFETCH(QList<PdGanttViewBarStyle>, styles);
        QFETCH(QVector<int>, expected);
        m_chart->setBarStyles({});
        m_chart->setBarStyles(styles);
        const QVector<int> actual{m_chart->startColumn(), m_chart->finishColumn(), m_chart->baselineStartColumn(),
                                  m_chart->baselineFinishColumn(), m_chart->actualStartColumn(),
                                  m_chart->actualFinishColumn()};
        QCOMPARE(actual, expected);
    }

    // "No date" placeholders beside a project's dates: the scale keeps to the project, and the bars
    // reaching a placeholder are cut at its edge instead of stretching it over millennia.
    void placeholderDatesDoNotStretchTheAxis()
    {
        QStandardItemModel model;
        model.setHorizontalHeaderLabels({"ID", "Activity Type", "Start Date", "Finish Date"});
        const QDateTime first(QDate(1, 1, 1), QTime(0, 0));
        const QDateTime last(QDate(9999, 12, 31), QTime(0, 0));
        model.appendRow(makeCells({1, "Task", day(1), last}));
        model.appendRow(makeCells({2, "Task", day(2), day(5)}));
        model.appendRow(makeCells({3, "Task", first, day(4)}));
        model.appendRow(makeCells({4, "Milestone", last, last}));
        model.appendRow(makeCells({5, "Task", first, first}));
        model.appendRow(makeCells({6, "Task", day(3), day(20)}));
        GanttChart chart;
        chart.resize(600, 300);
        chart.setModels(&model, StartCol, FinishCol, TypeCol, IdCol, nullptr, 0, 1, 3, 4);
        const DateAxis *axis = chart.dateAxis();
        QCOMPARE(axis->startDate(), QDateTime(day(1).date(), QTime(0, 0)));
        QCOMPARE(axis->endDate(), QDateTime(day(21).date(), QTime(0, 0)));
        QCOMPARE(chart.chartArea()->width(), axis->axisWidth());
        for (int r = 0; r < chart.chartArea()->rowCount(); ++r) {
            const ChartRow &row = chart.chartArea()->chartRow(r);
            QVERIFY(row.x >= 0 && row.x + row.width <= axis->axisWidth() + 20);
        }
        chart.show();
        QVERIFY(!chart.chartArea()->grab().isNull());
    }

    // A chart over a tree of a flat model takes its scale from every row of
    // the flat model, so collapsing rows or a later change of dates moves it
    // only through that model.
    void scaleFollowsTheSpanModel()
    {
        QStandardItemModel flat;
        flat.setHorizontalHeaderLabels({"ID", "Activity Type", "Start Date", "Finish Date"});
        flat.appendRow(makeCells({1, "Task", day(1), day(3)}));
        flat.appendRow(makeCells({9, "Task", day(20), day(25)}));
        m_chart->setSpanModel(&flat);
        m_chart->rebuild();
        const DateAxis *axis = m_chart->dateAxis();
        const QDateTime end(day(26).date(), QTime(0, 0));
        QCOMPARE(axis->endDate(), end);
        m_tree->collapseAll();
        QTRY_VERIFY(!m_chart->isRebuildPending());
        QCOMPARE(m_chart->itemCount(), 4);
        QCOMPARE(axis->endDate(), end);
        flat.setData(flat.index(1, FinishCol), day(27));
        m_chart->rebuild();
        QCOMPARE(axis->endDate(), QDateTime(day(28).date(), QTime(0, 0)));
        // Rows appended without dates (group rows) and taken away again leave
        // it; an appended row with dates widens it.
        flat.appendRow(makeCells({10, "Task", QVariant(), QVariant()}));
        flat.removeRow(2);
        m_chart->rebuild();
        QCOMPARE(axis->endDate(), QDateTime(day(28).date(), QTime(0, 0)));
        flat.appendRow(makeCells({11, "Task", day(2), day(30)}));
        m_chart->rebuild();
        QCOMPARE(axis->endDate(), QDateTime(day(31).date(), QTime(0, 0)));
        flat.removeRow(1);
        m_chart->rebuild();
        QCOMPARE(axis->endDate(), QDateTime(day(31).date(), QTime(0, 0)));
        m_chart->setSpanModel(nullptr);
    }

    void firstRowWithoutDatesKeepsToday()
    {
        m_model->insertRow(0, makeRow(7, "Undated", "Task", QDateTime(), QDateTime()));
        GanttChart fresh;
        fresh.setModels(m_proxy, StartCol, FinishCol, TypeCol, IdCol, m_links, 0, 1, 3, 4);
        const QDateTime today(QDate::currentDate(), QTime(0, 0));
        const DateAxis *axis = fresh.dateAxis();
        QVERIFY(axis->startDate() <= day(1));
        QVERIFY(axis->startDate() <= today && today < axis->endDate());
        QVERIFY(axis->endDate() > day(10));
        QVERIFY(!fresh.chartArea()->chartRow(0).hasDates);
    }

    void renderedBodyStartsAtTheChartTop()
    {
        m_chart->resize(150, 200);
        m_chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chart));
        m_chart->horizontalScrollBar()->setValue(40);
        QCOMPARE(m_chart->horizontalScrollBar()->value(), 40);
        const GanttChart::Images images = m_chart->renderToImages();
        const DateAxis *axis = m_chart->dateAxis();
        QCOMPARE(images.first.size(), axis->columnCount());
        QCOMPARE(images.first.at(0).size(), QSize(25, axis->height()));
        QCOMPARE(images.second.size(), m_chart->itemCount());
        for (const auto &cells : images.second) {
            QCOMPARE(cells.size(), axis->columnCount());
            QCOMPARE(cells.at(0).size(), QSize(25, 25));
        }
        // Row 1 is task A from 1 to 3 March: its own bar, not a row further down.
        QCOMPARE(images.second.at(1).at(0).pixelColor(12, 10), QColor(150, 50, 50));
        QCOMPARE(images.second.at(1).at(5).pixelColor(12, 10), QColor(Qt::white));
        QCOMPARE(m_chart->horizontalScrollBar()->value(), 40);
    }

    // Over forty years of scale: every combination of bands in turn, from
    // every other one, with the view at November 2018.
    void bandChangesKeepTheDateInView_data()
    {
        QTest::addColumn<bool>("currentBarShown");
        QTest::newRow("date at the left edge") << false;
        QTest::newRow("current activity's bar") << true;
    }

    void bandChangesKeepTheDateInView()
    {
        QFETCH(bool, currentBarShown);
        GanttChart chart;
        TaskItem span;
        span.setStart(QDateTime(QDate(2000, 1, 3), QTime(8, 0)));
        span.setFinish(QDateTime(QDate(2040, 6, 29), QTime(17, 0)));
        chart.addItem(span, 0);
        TaskItem task;
        task.setStart(QDateTime(QDate(2018, 11, 20), QTime(8, 0)));
        task.setFinish(QDateTime(QDate(2018, 11, 30), QTime(17, 0)));
        chart.addItem(task, 0);
        if (currentBarShown)
            chart.selectRowSilently(1);
        chart.resize(400, 200);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));

        const QVector<int> units{Day, Week, Month, Quarter, Year};
        const auto levels = [&units](int mask) {
            QVector<int> chosen;
            for (int i = 0; i < units.size(); ++i) {
                if (mask & (1 << i))
                    chosen << units.at(i);
            }
            return chosen;
        };
        const DateAxis *axis = chart.dateAxis();
        QScrollBar *bar = chart.horizontalScrollBar();
        const int viewWidth = chart.viewport()->width();
        const QDateTime shown(QDate(2018, 11, 5), QTime(12, 0));
        for (int from = 1; from < 32; ++from) {
            for (int to = 1; to < 32; ++to) {
                chart.setLevels(levels(from));
                bar->setValue(axis->xForDate(currentBarShown ? task.start() : shown) - (currentBarShown ? 100 : 0));
                const QDateTime before = axis->dateAt(bar->value());
                chart.setLevels(levels(to));
                const int unit = levels(to).first();
                const QString context = QString("bands %1 to %2").arg(from).arg(to);
                if (currentBarShown) {
                    const int barX = axis->xForDate(task.start()) - bar->value();
                    QVERIFY2(barX >= 0 && barX < viewWidth, qPrintable(context));
                } else {
                    const QDateTime after = axis->dateAt(bar->value());
                    QVERIFY2(qAbs(unitsBetween(periodStart(unit, before), periodStart(unit, after), unit)) <= 1,
                             qPrintable(context));
                }
            }
        }
    }

    void linksPassingThroughPaintedRowsAreFound_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("found");
        // 600 rows, rows 300 to 310 painted.
        QTest::newRow("long link crossing them downwards") << 0 << 599 << true;
        QTest::newRow("long link crossing them upwards") << 599 << 0 << true;
        QTest::newRow("short upward link crossing them") << 312 << 298 << true;
        QTest::newRow("short link ending in them") << 290 << 300 << true;
        QTest::newRow("long link wholly above") << 0 << 299 << false;
        QTest::newRow("short link wholly below") << 320 << 311 << false;
    }

    void linksPassingThroughPaintedRowsAreFound()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, found);
        GanttChart chart;
        for (int r = 0; r < 600; ++r) {
            TaskItem item;
            item.setId(r);
            chart.addItem(item, 0);
        }
        for (int r = 0; r + 1 < 600; ++r)
            chart.addRelationship(r, r + 1, 1, 0);
        chart.addRelationship(from, to, 1, 0);
        const int link = chart.relationships().size() - 1;
        QCOMPARE(chart.linksAcrossRows(300, 310).contains(link), found);
        // The chain links 299>300 to 310>311 touch the painted rows.
        QCOMPARE(chart.linksAcrossRows(300, 310).size(), 12 + (found ? 1 : 0));
    }

private:
    QStandardItemModel *m_model = nullptr;
    QStandardItemModel *m_links = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QTreeView *m_tree = nullptr;
    CountingChart *m_chart = nullptr;
    QList<QAbstractItemModelTester *> m_testers;
};

QTEST_MAIN(TestGanttChart)
#include "tst_ganttchart.moc"
