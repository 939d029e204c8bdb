#include "dateaxis.h"
#include "ganttchart.h"
#include "pdgroupedtreeview.h"
#include "pdpagepainter.h"
#include "pdsheetrenderer.h"
#include "timeunit.h"
#include "viewprintsheet.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QtTest>

namespace {

enum Column { GroupCol, IdCol, TypeCol, StartCol, FinishCol, NameCol };

QList<QStandardItem *> row(const QVariant &group, int id, const QString &name, int startDay, int days)
{
    const QDateTime start(QDate(2024, 1, 1).addDays(startDay), QTime(8, 0));
    QList<QStandardItem *> cells;
    for (const QVariant &v : QVariantList{group, id, QStringLiteral("Task"), start, start.addDays(days), name}) {
        cells << new QStandardItem;
        cells.last()->setData(v, Qt::DisplayRole);
    }
    return cells;
}

} // namespace

// Given three groups of activities (the second collapsed) in the grouped tree
// beside the chart, scrolled down with a row selected.
class TestViewPrintSheet : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_model = new QStandardItemModel;
        m_model->setHorizontalHeaderLabels({"Group", "ID", "Activity Type", "Start", "Finish", "Name"});
        for (int g = 0; g < 3; ++g) {
            auto group = row(QStringLiteral("Group %1").arg(g), 1000 + g, QString(), 0, 1);
            for (int a = 0; a < 40; ++a)
                group.first()->appendRow(row(QVariant(), g * 100 + a, QStringLiteral("A%1").arg(a), a, 3));
            m_model->appendRow(group);
        }
        m_tester = new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m_tree = new PdGroupedTreeView;
        m_tree->setUniformRowHeights(true);
        m_tree->setModel(m_model);
        m_tree->setGroupColumn(GroupCol);
        m_tree->setLevelStyles({{QBrush(QColor(255, 0, 0)), QFont(), QColor(Qt::white)}});
        m_tree->expandAll();
        m_tree->collapse(m_model->index(1, 0));
        m_tree->resize(300, 200);
        m_chart = new mygc::GanttChart;
        m_chart->setModels(m_model, StartCol, FinishCol, TypeCol, IdCol, nullptr, 0, 1, 2, 3, -1, -1, -1, -1, m_tree);
        m_chart->setDefaultRowHeight(m_tree->printRowHeight());
        m_chart->rebuild();
        m_tree->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tree));
        m_tree->setCurrentIndex(m_model->index(5, NameCol, m_model->index(0, 0)));
        m_tree->verticalScrollBar()->setValue(10);
    }
    void cleanup()
    {
        delete m_chart;
        delete m_tree;
        delete m_tester;
        delete m_model;
    }

    void shownRowsAreFoundByTheirPlace_data();
    void shownRowsAreFoundByTheirPlace();
    void sheetLinesUpTreeAndChart();
    void printingLeavesTheTreeAsItWas();
    void chartScaleOnPaper_data();
    void chartScaleOnPaper();

private:
    QStandardItemModel *m_model = nullptr;
    QAbstractItemModelTester *m_tester = nullptr;
    PdGroupedTreeView *m_tree = nullptr;
    mygc::GanttChart *m_chart = nullptr;
};

void TestViewPrintSheet::shownRowsAreFoundByTheirPlace_data()
{
    QTest::addColumn<bool>("uniform");
    QTest::newRow("uniform rows") << true;
    QTest::newRow("rows measured one by one") << false;
}

void TestViewPrintSheet::shownRowsAreFoundByTheirPlace()
{
    QFETCH(bool, uniform);
    m_tree->setUniformRowHeights(uniform);
    QModelIndex walk = m_model->index(0, 0);
    int row = 0;
    for (; walk.isValid(); walk = m_tree->indexBelow(walk), ++row)
        QCOMPARE(m_tree->shownRowAt(row), walk);
    QCOMPARE(row, m_tree->shownRowCount());
    QVERIFY(!m_tree->shownRowAt(row).isValid());
    QVERIFY(!m_tree->shownRowAt(-1).isValid());
}

void TestViewPrintSheet::sheetLinesUpTreeAndChart()
{
    const ViewPrintSheet sheet(m_tree, m_chart);
    const mygc::DateAxis *axis = m_chart->dateAxis();
    QCOMPARE(sheet.rowCount(), 83);
    QCOMPARE(sheet.columnWidths().size(), m_model->columnCount() + axis->columnCount());
    QCOMPARE(sheet.width(), m_tree->header()->length() + axis->columnWidth() * axis->columnCount());

    // Group rows (0, 41 and 42) are red bands in the tree, painted at their
    // own place although the tree is scrolled; activities are not.
    const QImage image = PdSheetRenderer::render(sheet, 1.0);
    const int x = m_tree->header()->sectionPosition(NameCol) + 5;
    const int rh = sheet.rowHeight();
    for (int r : {0, 1, 40, 41, 42, 43}) {
        const bool group = r == 0 || r == 41 || r == 42;
        QCOMPARE(image.pixelColor(x, sheet.headerHeight() + r * rh + rh / 2) == QColor(255, 0, 0), group);
    }

    // Cut to a stretch of dates starting inside a column.
    ViewPrintSheet slice(nullptr, m_chart);
    const int cw = axis->columnWidth();
    slice.setChartRange(cw / 2, 3 * cw);
    QCOMPARE(slice.columnWidths(), (QVector<int>{cw - cw / 2, cw, cw}));
    QCOMPARE(slice.rowCount(), 83);
}

void TestViewPrintSheet::printingLeavesTheTreeAsItWas()
{
    m_tree->selectionModel()->select(m_model->index(3, 0, m_model->index(0, 0)),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QSize size = m_tree->size();
    const QModelIndex current = m_tree->currentIndex();
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    const int scroll = m_tree->verticalScrollBar()->value();
    const ViewPrintSheet sheet(m_tree, m_chart);
    QVERIFY(!PdSheetRenderer::render(sheet, 0.5).isNull());
    QCOMPARE(m_tree->size(), size);
    QCOMPARE(m_tree->currentIndex(), current);
    QCOMPARE(m_tree->selectionModel()->selectedIndexes(), selected);
    QCOMPARE(m_tree->verticalScrollBar()->value(), scroll);
    QCOMPARE(m_tree->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

void TestViewPrintSheet::chartScaleOnPaper_data()
{
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("lowestBand");

    const int any = -1;
    QTest::newRow("fit, beside the tree") << int(PdChartScale::FitToPageWidth) << int(QPageSize::A3)
                                          << int(QPageLayout::Landscape) << any;
    QTest::newRow("fit, on pages of its own") << int(PdChartScale::FitToPageWidth) << int(QPageSize::A6)
                                              << int(QPageLayout::Portrait) << any;
    QTest::newRow("weeks") << int(PdChartScale::Week) << int(QPageSize::A4) << int(QPageLayout::Landscape)
                           << int(mygc::Week);
    QTest::newRow("months") << int(PdChartScale::Month) << int(QPageSize::A4) << int(QPageLayout::Landscape)
                            << int(mygc::Month);
    QTest::newRow("quarters") << int(PdChartScale::Quarter) << int(QPageSize::A4) << int(QPageLayout::Landscape)
                              << int(mygc::Quarter);
}

void TestViewPrintSheet::chartScaleOnPaper()
{
    QFETCH(int, scale);
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(int, lowestBand);
    const mygc::DateAxis *screen = m_chart->dateAxis();
    const QVector<int> screenBands = screen->levelUnits();
    const int screenWidth = screen->axisWidth();

    ViewPrintSheet sheet(m_tree, m_chart);
    PdPageSetup setup;
    setup.paper = QPageSize::PageSizeId(paper);
    setup.orientation = QPageLayout::Orientation(orientation);
    setup.chartScale = PdChartScale(scale);
    setup.scalePercent = setup.defaultScale(sheet.tableWidth());
    const PdPagePainter pages(sheet, setup);
    const mygc::DateAxis *axis = sheet.chartAxis();
    QVERIFY(axis != screen);
    QCOMPARE(screen->levelUnits(), screenBands);
    QCOMPARE(screen->axisWidth(), screenWidth);
    if (lowestBand >= 0) {
        QCOMPARE(axis->levelUnits().first(), lowestBand);
    } else {
        // Fitted, the chart is never cut by a page edge and fills its page.
        const PdPagePlan::Band last = pages.plan().bands().last();
        QVERIFY(last.left <= sheet.tableWidth());
        QCOMPARE(last.right, sheet.width());
        QVERIFY(last.right - last.left >= 0.9 * setup.contentSize().width());
        QVERIFY(last.right - last.left <= setup.contentSize().width());
    }

    // Bars lie where the printed scale puts their dates: activity A39 of the
    // first group, on the sheet's row 40.
    const QImage image = PdSheetRenderer::render(sheet, 1.0);
    const QDateTime start(QDate(2024, 1, 1).addDays(39), QTime(8, 0));
    const int rh = sheet.rowHeight();
    int left = image.width();
    int right = -1;
    for (int y = sheet.headerHeight() + 40 * rh; y < sheet.headerHeight() + 41 * rh; ++y) {
        for (int x = sheet.tableWidth(); x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - c.blue()) + qAbs(c.green() - c.blue()) > 60) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    const int x1 = sheet.tableWidth() + axis->xForDate(start);
    const int x2 = sheet.tableWidth() + axis->xForDate(start.addDays(3));
    QVERIFY2(qAbs(left - x1) <= 6 && qAbs(right - x2) <= 6,
             qPrintable(QStringLiteral("bar %1..%2, dates at %3..%4").arg(left).arg(right).arg(x1).arg(x2)));
}

QTEST_MAIN(TestViewPrintSheet)
#include "tst_viewprintsheet.moc"
