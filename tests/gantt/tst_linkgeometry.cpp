#include "linkgeometry.h"

#include <QtTest>

using namespace mygc;

class TestLinkGeometry : public QObject
{
    Q_OBJECT
private slots:
    void linkPath_data();
    void linkPath();
};

void TestLinkGeometry::linkPath_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<QRect>("exposed");
    QTest::addColumn<int>("xT");
    QTest::addColumn<int>("legTop");    // -1: no vertical leg
    QTest::addColumn<int>("legBottom");
    QTest::addColumn<int>("arcs");
    QTest::addColumn<int>("headBaseX"); // the head's two back corners

    const QRect all(0, 0, 1000, 1000);
    // Predecessor centre line y 12, successor centre line y 62.
    QTest::newRow("finish to start, room to the right") << 1 << 100 << 200 << all << 190 << 15 << 62 << 1 << 195;
    QTest::newRow("finish to start hooks 8 pixels down when closer than 20") << 1 << 100 << 115 << all << 105 << 20 << 62 << 2 << 110;
    QTest::newRow("start to start, successor to the left") << 0 << 100 << 80 << all << 70 << 15 << 62 << 1 << 75;
    QTest::newRow("start to start hooks left when the successor is right") << 0 << 100 << 150 << all << 140 << 20 << 62 << 2 << 145;
    QTest::newRow("finish to finish points left at the finish") << 3 << 100 << 150 << all << 160 << 15 << 62 << 1 << 155;
    QTest::newRow("start to finish hooks left") << 2 << 100 << 150 << all << 160 << 20 << 62 << 2 << 155;
    QTest::newRow("vertical leg cut to the exposed rows") << 1 << 100 << 200 << QRect(0, 30, 1000, 21) << 190 << 30 << 50 << 1 << 195;
    QTest::newRow("no vertical leg outside the exposed columns") << 1 << 100 << 200 << QRect(0, 0, 150, 1000) << 190 << -1 << -1 << 1 << 195;
}

void TestLinkGeometry::linkPath()
{
    QFETCH(int, type);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(QRect, exposed);
    QFETCH(int, xT);
    QFETCH(int, legTop);
    QFETCH(int, legBottom);
    QFETCH(int, arcs);
    QFETCH(int, headBaseX);
    const int yF = 12;
    const int yT = 62;

    const LinkPath path = mygc::linkPath(type, a, b, yF, yT, exposed, true);
    QVERIFY(!path.lines.isEmpty());
    QCOMPARE(path.lines.first().p1(), QPoint(a, yF));
    QCOMPARE(path.arcs.size(), arcs);
    // Each arc is a quarter turn in a 6 x 6 box touching the leaving line.
    for (const LinkArc &arc : path.arcs) {
        QCOMPARE(arc.box.size(), QSize(6, 6));
        QCOMPARE(qAbs(arc.spanDegrees), 90);
    }

    const QLine arrow = path.lines.last();
    QCOMPARE(arrow, QLine(xT, yT, b, yT));
    const QPolygon expectedHead(QVector<QPoint>{QPoint(b, yT), QPoint(headBaseX, yT + (headBaseX < b ? 5 : -5)),
                                QPoint(headBaseX, yT + (headBaseX < b ? -5 : 5))});
    QCOMPARE(path.head, expectedHead);

    const auto vertical = std::find_if(path.lines.cbegin(), path.lines.cend(), [&](const QLine &l) {
        return l.x1() == xT && l.x2() == xT;
    });
    if (legTop < 0) {
        QVERIFY(vertical == path.lines.cend());
    } else {
        QVERIFY(vertical != path.lines.cend());
        QCOMPARE(*vertical, QLine(xT, legTop, xT, legBottom));
    }

    const LinkPath headless = mygc::linkPath(type, a, b, yF, yT, exposed, false);
    QVERIFY(headless.head.isEmpty());
    QCOMPARE(headless.lines.size(), path.lines.size() - 1);
}

QTEST_MAIN(TestLinkGeometry)
#include "tst_linkgeometry.moc"
