#include "pdpageplan.h"
#include "pdpagesetup.h"

#include <QtTest>

using Bands = QVector<QPair<int, int>>;

class TestPdPagePlan : public QObject
{
    Q_OBJECT
private slots:
    void plan_data();
    void plan();
    void contentFollowsPaperOrientationAndScale();
    void defaultScaleLeavesTheChartRoom_data();
    void defaultScaleLeavesTheChartRoom();
};

void TestPdPagePlan::plan_data()
{
    QTest::addColumn<QVector<int>>("widths");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QSizeF>("content");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<int>("pageRows");
    QTest::addColumn<Bands>("bands");
    QTest::addColumn<int>("laterRows");

    // Header 20 pixels high throughout.
    QTest::newRow("everything on one page") << QVector<int>{100, 100} << 10 << 5 << QSizeF(500, 500) << true << 1
                                            << Bands{{0, 200}} << 48;
    QTest::newRow("rows spill down, header on every page row")
        << QVector<int>{100} << 10 << 100 << QSizeF(500, 220.9) << true << 5 << Bands{{0, 100}} << 20;
    QTest::newRow("header on the first page row only: later pages take more rows")
        << QVector<int>{100} << 10 << 100 << QSizeF(500, 220) << false << 5 << Bands{{0, 100}} << 22;
    QTest::newRow("strips fill a page column while they fit")
        << QVector<int>{200, 200, 200} << 10 << 1 << QSizeF(500, 500) << true << 1 << Bands{{0, 400}, {400, 600}} << 48;
    QTest::newRow("a strip wider than a page gets a page column of its own")
        << QVector<int>{100, 800, 100} << 10 << 1 << QSizeF(500, 500) << true << 1
        << Bands{{0, 100}, {100, 900}, {900, 1000}} << 48;
    QTest::newRow("a row taller than the page still gets a page")
        << QVector<int>{100} << 1000 << 3 << QSizeF(500, 500) << true << 3 << Bands{{0, 100}} << 1;
    QTest::newRow("no rows: one page row with the header") << QVector<int>{100} << 10 << 0 << QSizeF(500, 500)
                                                           << true << 1 << Bands{{0, 100}} << 48;
    QTest::newRow("no columns: no pages") << QVector<int>{} << 10 << 50 << QSizeF(500, 500) << true << 0 << Bands{}
                                          << 48;
    QTest::newRow("200,000 rows") << QVector<int>{100} << 22 << 200000 << QSizeF(1243.7, 866.7) << false << 5129
                                  << Bands{{0, 100}} << 39;
}

void TestPdPagePlan::plan()
{
    QFETCH(QVector<int>, widths);
    QFETCH(int, rowHeight);
    QFETCH(int, rows);
    QFETCH(QSizeF, content);
    QFETCH(bool, repeat);
    QFETCH(int, pageRows);
    QFETCH(Bands, bands);
    QFETCH(int, laterRows);

    const PdPagePlan plan(PdPagePlan::Sheet{widths, 20, rowHeight, rows}, content, repeat);
    Bands planned;
    for (const auto &band : plan.bands())
        planned.append({band.left, band.right});
    QCOMPARE(planned, bands);
    QCOMPARE(plan.pageRows(), pageRows);
    QCOMPARE(plan.laterRows(), laterRows);
    QCOMPARE(plan.pageCount(), plan.pageRows() * plan.pageColumns());

    // Every page column shows every row exactly once, in order, and only
    // the pages that should carry the header do.
    for (int column = 0; column < plan.pageColumns(); ++column) {
        int next = 0;
        for (int pageRow = 0; pageRow < plan.pageRows(); ++pageRow) {
            const PdPagePlan::Page page = plan.page(pageRow * plan.pageColumns() + column);
            QCOMPARE(page.pageColumn, column);
            QCOMPARE(page.firstRow, next);
            QVERIFY(page.rowCount > 0 || rows == 0);
            QCOMPARE(page.header, pageRow == 0 || repeat);
            const int room = int(content.height()) - (page.header ? 20 : 0);
            QVERIFY(page.rowCount * rowHeight <= room || page.rowCount == 1);
            next += page.rowCount;
        }
        QCOMPARE(next, rows);
    }
}

void TestPdPagePlan::contentFollowsPaperOrientationAndScale()
{
    PdPageSetup setup;
    QCOMPARE(setup.paperMillimetres(), QSizeF(297, 210));
    const QSizeF full = setup.contentSize();
    QVERIFY(qAbs(full.width() - 287 * PdPageSetup::unitsPerMillimetre) < 0.01);
    setup.orientation = QPageLayout::Portrait;
    QCOMPARE(setup.contentSize().transposed(), full);
    setup.scalePercent = 50;
    QCOMPARE(setup.contentSize(), full.transposed() * 2);
    setup.scalePercent = 1;
    QCOMPARE(setup.contentSize(), full.transposed() * 100.0 / PdPageSetup::minimumScale);
}

void TestPdPagePlan::defaultScaleLeavesTheChartRoom_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("percent");
    // A4 landscape holds 1243.7 sheet pixels across at 100 %.
    QTest::newRow("no table") << 0 << 100;
    QTest::newRow("a table leaving the chart room") << 700 << 100;
    QTest::newRow("a wide table: scaled until it takes three fifths") << 1000 << 74;
    QTest::newRow("a very wide table stops at the readable scale") << 5000 << PdPageSetup::readableScale;
}

void TestPdPagePlan::defaultScaleLeavesTheChartRoom()
{
    QFETCH(int, table);
    QFETCH(int, percent);
    PdPageSetup setup;
    setup.scalePercent = 40;
    QCOMPARE(setup.defaultScale(table), percent);
}

QTEST_APPLESS_MAIN(TestPdPagePlan)
#include "tst_pdpageplan.moc"
