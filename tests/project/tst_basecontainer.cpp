#include "actvcodecontainer.h"
#include "containercolumn.h"
#include "plandeckresources.h"
#include "taskcontainer.h"
#include "xertestload.h"

#include <QtTest>

namespace {

QVariantMap descriptor(const QString &id, const QString &display)
{
    return {{QStringLiteral("id"), id}, {QStringLiteral("display"), display},
            {QStringLiteral("datatype"), QStringLiteral("string")}, {QStringLiteral("group"), QStringLiteral("General")}};
}

} // namespace

class tst_BaseContainer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { plandeck::initResources(); }

    void shouldFindCatalogueColumnsByIdAndDisplay_data();
    void shouldFindCatalogueColumnsByIdAndDisplay();
    void shouldCutOrPadRowsToColumnCount_data();
    void shouldCutOrPadRowsToColumnCount();
    void shouldRefuseOutOfRangeAccess_data();
    void shouldRefuseOutOfRangeAccess();
    void shouldWidenExistingRowsWhenColumnAdded();
    void shouldReadBackEveryValueAsStored_data();
    void shouldReadBackEveryValueAsStored();
    void shouldJoinPartsAsIfAppendedWhole_data();
    void shouldJoinPartsAsIfAppendedWhole();
};

void tst_BaseContainer::shouldFindCatalogueColumnsByIdAndDisplay_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<int>("byId");
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("byDisplay");
    QTest::newRow("activity id") << "task_code" << 5 << "Activity ID" << 5;
    QTest::newRow("last column") << "outline_level" << 58 << "Outline Level" << 58;
    QTest::newRow("unknown names") << "guid" << -1 << "GUID" << -1;
    QTest::newRow("ids are matched exactly") << "TASK_CODE" << -1 << "activity id" << -1;
}

void tst_BaseContainer::shouldFindCatalogueColumnsByIdAndDisplay()
{
    QFETCH(QString, id);
    QFETCH(int, byId);
    QFETCH(QString, display);
    QFETCH(int, byDisplay);

    TaskContainer tasks;
    tasks.setColumns(XERLoader(QString(), catalogue()).tableColumns(QStringLiteral("TASK")));
    QCOMPARE(tasks.columnCount(), 59);
    QCOMPARE(tasks.columnIndexById(id), byId);
    QCOMPARE(tasks.columnIndexByDisplay(display), byDisplay);
    if (byId >= 0) {
        QCOMPARE(tasks.columnId(byId).toString(), id);
        QCOMPARE(tasks.column(byId).toMap().value(QStringLiteral("id")).toString(), id);
    }
}

void tst_BaseContainer::shouldCutOrPadRowsToColumnCount_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QVariantList>("stored");
    const QVariant none;
    QTest::newRow("short row is padded with invalid values") << QVariantList{1} << QVariantList{1, none, none};
    QTest::newRow("empty row") << QVariantList{} << QVariantList{none, none, none};
    QTest::newRow("surplus is dropped") << QVariantList{1, "a", 2.5, "x", "y"} << QVariantList{1, "a", 2.5};
}

void tst_BaseContainer::shouldCutOrPadRowsToColumnCount()
{
    QFETCH(QVariantList, values);
    QFETCH(QVariantList, stored);

    ActvCodeContainer container;
    container.setColumns({descriptor("a", "A"), descriptor("b", "B"), descriptor("c", "C")});
    container.appendRow({QVariant("before"), QVariant(), QVariant()});
    container.appendRow(std::vector<QVariant>(values.begin(), values.end()));
    container.appendRow({QVariant("after")});

    QCOMPARE(container.rowCount(), 3);
    for (int c = 0; c < stored.size(); ++c)
        QCOMPARE(container.data(1, c), stored.at(c));
    QCOMPARE(container.data(0, 0).toString(), QStringLiteral("before"));
    QCOMPARE(container.data(2, 0).toString(), QStringLiteral("after"));
}

void tst_BaseContainer::shouldRefuseOutOfRangeAccess_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row past end") << 2 << 0;
    QTest::newRow("negative row") << -1 << 0;
    QTest::newRow("column past end") << 0 << 3;
    QTest::newRow("negative column") << 0 << -1;
}

void tst_BaseContainer::shouldRefuseOutOfRangeAccess()
{
    QFETCH(int, row);
    QFETCH(int, column);

    ActvCodeContainer container;
    container.setColumns({descriptor("a", "A"), descriptor("b", "B"), descriptor("c", "C")});
    container.appendRow({1, 2, 3});
    container.appendRow({4, 5, 6});

    QVERIFY(!container.data(row, column).isValid());
    QVERIFY(!container.setData(row, column, 99));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            QCOMPARE(container.data(r, c).toInt(), r * 3 + c + 1);
    if (column < 0 || column >= 3) {
        QVERIFY(!container.columnDisplay(column).isValid());
        QVERIFY(!container.column(column).isValid());
    }
}

void tst_BaseContainer::shouldWidenExistingRowsWhenColumnAdded()
{
    TaskContainer container;
    container.setColumns({descriptor("a", "A"), descriptor("b", "B")});
    container.appendRow({1, 2});
    container.appendRow({3, 4});
    container.addColumn(descriptor("c", "C"));

    QCOMPARE(container.columnCount(), 3);
    QCOMPARE(container.data(1, 0).toInt(), 3);
    QCOMPARE(container.data(1, 1).toInt(), 4);
    QVERIFY(!container.data(1, 2).isValid());
    QVERIFY(container.setData(1, 2, 5));
    QCOMPARE(container.data(1, 2).toInt(), 5);
}

void tst_BaseContainer::shouldReadBackEveryValueAsStored_data()
{
    QTest::addColumn<QVariantList>("appended");
    QTest::addColumn<QVariantList>("written"); // then written over the first rows

    const QVariant none;
    const QDateTime morning(QDate(2019, 3, 4), QTime(8, 0));
    QTest::newRow("integers with gaps") << QVariantList{none, 1, none, -7} << QVariantList{};
    QTest::newRow("integer column meets a decimal") << QVariantList{1, 2, 12.5, 3} << QVariantList{};
    QTest::newRow("integer column meets a wide integer") << QVariantList{1, qlonglong(1) << 40} << QVariantList{};
    QTest::newRow("texts, empty and null") << QVariantList{"a", QString(""), QString(), none} << QVariantList{};
    QTest::newRow("dates, invalid date beside no value")
        << QVariantList{morning, QDateTime(), none} << QVariantList{};
    QTest::newRow("type codes rewritten as names")
        << QVariantList{"TT_Mile", "TT_Task"} << QVariantList{"Milestone", ""};
    QTest::newRow("empty column written with dates") << QVariantList{none, none} << QVariantList{none, morning};
    QTest::newRow("date column written with text") << QVariantList{morning, morning} << QVariantList{"x", none};
    QTest::newRow("value cleared") << QVariantList{5, 6} << QVariantList{QVariant::fromValue(none), 7};
    QTest::newRow("booleans and lists") << QVariantList{true, QVariantList{1, 2}} << QVariantList{};
}

void tst_BaseContainer::shouldReadBackEveryValueAsStored()
{
    QFETCH(QVariantList, appended);
    QFETCH(QVariantList, written);

    TaskContainer container;
    container.setColumns({descriptor("a", "A"), descriptor("b", "B")});
    QVariantList expected;
    for (const QVariant &value : appended) {
        container.appendRow({value, QStringLiteral("beside")});
        expected << value;
    }
    container.reserveRows(container.rowCount() + 10);
    for (int r = 0; r < written.size(); ++r) {
        QVERIFY(container.setData(r, 0, written.at(r)));
        expected[r] = written.at(r);
    }
    for (int r = 0; r < expected.size(); ++r) {
        const QVariant value = container.data(r, 0);
        QCOMPARE(value.userType(), expected.at(r).userType());
        QCOMPARE(value, expected.at(r));
        QCOMPARE(container.data(r, 1).toString(), QStringLiteral("beside"));
    }
}

void tst_BaseContainer::shouldJoinPartsAsIfAppendedWhole_data()
{
    QTest::addColumn<QVariantList>("values");

    const QVariant none;
    const QDateTime morning(QDate(2019, 3, 4), QTime(8, 0));
    QTest::newRow("integers with gaps") << QVariantList{none, 1, none, -7, 3};
    QTest::newRow("no values, then dates") << QVariantList{none, none, morning, QDateTime(), morning};
    QTest::newRow("integers, then text") << QVariantList{1, 2, "x", 3, none};
    QTest::newRow("text, then integers") << QVariantList{"x", none, 1, 2, 3};
    QTest::newRow("decimals and integers") << QVariantList{2.5, 1, 7.25, none, 4};
    QTest::newRow("no values at all") << QVariantList{none, none, none, none};
}

// A table converted in parts must read back exactly as if converted whole,
// wherever the parts are cut and whatever kinds each part ends up holding.
void tst_BaseContainer::shouldJoinPartsAsIfAppendedWhole()
{
    QFETCH(QVariantList, values);

    const int n = values.size();
    for (int first = 0; first <= n; ++first) {
        for (int second = first; second <= n; ++second) {
            ContainerColumn parts[3];
            for (int i = 0; i < n; ++i)
                parts[i < first ? 0 : i < second ? 1 : 2].append(values.at(i));
            ContainerColumn joined;
            joined.reserve(n);
            for (ContainerColumn &part : parts)
                joined.appendColumn(std::move(part));
            QCOMPARE(joined.size(), n);
            for (int i = 0; i < n; ++i) {
                QCOMPARE(joined.at(i).userType(), values.at(i).userType());
                QCOMPARE(joined.at(i), values.at(i));
            }
        }
    }
}

QTEST_GUILESS_MAIN(tst_BaseContainer)
#include "tst_basecontainer.moc"
