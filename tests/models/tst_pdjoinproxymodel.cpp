#include "pdjoinproxymodel.h"
#include "pdvariantorder.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace {

using Rows = QList<QStringList>;

QStandardItemModel* makeModel(const QStringList& headers, const Rows& rows, QObject* parent)
{
    auto* model = new QStandardItemModel(parent);
    model->setHorizontalHeaderLabels(headers);
    for (const QStringList& cells : rows) {
        QList<QStandardItem*> items;
        for (const QString& cell : cells)
            items << new QStandardItem(cell);
        model->appendRow(items);
    }
    return model;
}

QString tableText(const QAbstractItemModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        rows << cells.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char('|'));
}

// Activities (id, wbs) joined with WBS nodes (wbs, name, owner).
struct Fixture
{
    QObject owner;
    QStandardItemModel* tasks =
        makeModel({"task", "wbs"}, {{"t1", "w1"}, {"t2", "w2"}, {"t3", "w9"}, {"t4", "w1"}}, &owner);
    QStandardItemModel* wbs =
        makeModel({"wbs", "name", "owner"}, {{"w1", "Site", "o1"}, {"w2", "Roof", "o2"}}, &owner);
    QStandardItemModel* owners = makeModel({"owner", "person"}, {{"o1", "Ann"}, {"o2", "Bob"}}, &owner);
    PdJoinProxyModel join;
    QAbstractItemModelTester tester{&join, QAbstractItemModelTester::FailureReportingMode::QtTest};

    Fixture()
    {
        join.setSourceModel(tasks);
        join.addMapping(wbs, 0, {1, 2}, 1);
    }
};

} // namespace

class TestPdJoinProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mirrorsMasterWithoutMappings();
    void joins_data();
    void joins();
    void keysMatchAsTheyOrder_data();
    void keysMatchAsTheyOrder();
    void mapsRoundTrip();
    void joinedCellsHaveNoChildren();
    void writesReachTheJoinedModelOrStayInTheProxy();
    void headersAndColumnOwners();
    void masterRowChangesKeepRowsAligned();
    void masterSortMovesPersistentIndexes();
    void deletedModelsLeaveEmptyCells();
};

void TestPdJoinProxyModel::initTestCase()
{
    qRegisterMetaType<QList<QPersistentModelIndex>>();
    qRegisterMetaType<QAbstractItemModel::LayoutChangeHint>();
}

void TestPdJoinProxyModel::mirrorsMasterWithoutMappings()
{
    Fixture f;
    PdJoinProxyModel plain;
    QAbstractItemModelTester tester(&plain, QAbstractItemModelTester::FailureReportingMode::QtTest);
    plain.setSourceModel(f.tasks);
    QCOMPARE(tableText(plain), tableText(*f.tasks));
    QCOMPARE(plain.headerData(1, Qt::Horizontal).toString(), QStringLiteral("wbs"));
    QCOMPARE(plain.headerData(2, Qt::Vertical), f.tasks->headerData(2, Qt::Vertical));
    QVERIFY(!plain.index(0, 2).isValid());
    QVERIFY(!plain.index(4, 0).isValid());
}

void TestPdJoinProxyModel::joins_data()
{
    QTest::addColumn<Rows>("joined");
    QTest::addColumn<QString>("expected");

    QTest::newRow("missing key leaves joined cells empty")
        << Rows{{"w1", "Site"}, {"w2", "Roof"}} << "t1,w1,Site|t2,w2,Roof|t3,w9,|t4,w1,Site";
    QTest::newRow("repeated key joins the later row")
        << Rows{{"w1", "Old"}, {"w2", "Roof"}, {"w1", "New"}} << "t1,w1,New|t2,w2,Roof|t3,w9,|t4,w1,New";
    QTest::newRow("no joined rows") << Rows{} << "t1,w1,|t2,w2,|t3,w9,|t4,w1,";
}

void TestPdJoinProxyModel::joins()
{
    QFETCH(Rows, joined);
    QFETCH(QString, expected);
    Fixture f;
    PdJoinProxyModel join;
    QAbstractItemModelTester tester(&join, QAbstractItemModelTester::FailureReportingMode::QtTest);
    join.setSourceModel(f.tasks);
    QVERIFY(join.addMapping(makeModel({"wbs", "name"}, joined, &f.owner), 0, {1}, 1));
    QVERIFY(!join.addMapping(nullptr, 0, {1}, 1));
    QCOMPARE(tableText(join), expected);
}

void TestPdJoinProxyModel::keysMatchAsTheyOrder_data()
{
    QTest::addColumn<QVariantList>("masterKeys");
    QTest::addColumn<QVariantList>("joinedKeys");

    QTest::newRow("integers of different widths")
        << QVariantList{5, qlonglong(7), 9, true} << QVariantList{qlonglong(5), 7, 9u, 1};
    QTest::newRow("a number and its texts stay apart")
        << QVariantList{5, "5", "05", 6} << QVariantList{"5", 5, "5.0", "06"};
    QTest::newRow("texts by character code") << QVariantList{"a", "A", "b"} << QVariantList{"A", "a", "B"};
    QTest::newRow("empty keys meet empty keys") << QVariantList{QVariant(), "x"} << QVariantList{"x", QVariant()};
    QTest::newRow("fractional and date keys by value")
        << QVariantList{5.0, QDate(2020, 1, 1), 2.5, 3}
        << QVariantList{5, QDateTime(QDate(2020, 1, 1), QTime(0, 0)), 2.5, 3.0};
    QTest::newRow("fractional master key among integer keys")
        << QVariantList{7.0, 3, "3"} << QVariantList{7, 3, 3, "x"};
}

// Whatever form a key takes, a master row joins the last joined row that the key ordering holds equal.
void TestPdJoinProxyModel::keysMatchAsTheyOrder()
{
    QFETCH(QVariantList, masterKeys);
    QFETCH(QVariantList, joinedKeys);
    QStandardItemModel master(masterKeys.size(), 1);
    QStandardItemModel joined(joinedKeys.size(), 2);
    for (int r = 0; r < masterKeys.size(); ++r)
        master.setData(master.index(r, 0), masterKeys.at(r));
    for (int r = 0; r < joinedKeys.size(); ++r) {
        joined.setData(joined.index(r, 0), joinedKeys.at(r));
        joined.setData(joined.index(r, 1), r);
    }
    PdJoinProxyModel join;
    QAbstractItemModelTester tester(&join, QAbstractItemModelTester::FailureReportingMode::QtTest);
    join.setSourceModel(&master);
    QVERIFY(join.addMapping(&joined, 0, {1}, 0));

    int matches = 0;
    for (int r = 0; r < masterKeys.size(); ++r) {
        const QVariant key = master.index(r, 0).data();
        QVariant expected;
        for (int j = 0; j < joinedKeys.size(); ++j) {
            const QVariant other = joined.index(j, 0).data();
            if (!pdVariantLess(key, other) && !pdVariantLess(other, key))
                expected = j;
        }
        matches += expected.isValid() ? 1 : 0;
        QVERIFY2(join.index(r, 1).data() == expected, qPrintable(QStringLiteral("master row %1").arg(r)));
    }
    QVERIFY(matches > 0);
}

void TestPdJoinProxyModel::mapsRoundTrip()
{
    Fixture f;
    // The second mapping takes its key from the column the first one contributes.
    QVERIFY(f.join.addModel(f.owners, 0, 3));
    QCOMPARE(tableText(f.join), QStringLiteral("t1,w1,Site,o1,o1,Ann|t2,w2,Roof,o2,o2,Bob|t3,w9,,,,|t4,w1,Site,o1,o1,Ann"));

    QSet<QPersistentModelIndex> seen;
    for (int r = 0; r < f.join.rowCount(); ++r) {
        for (int c = 0; c < f.join.columnCount(); ++c) {
            const QModelIndex proxy = f.join.index(r, c);
            const QModelIndex source = f.join.mapToSource(proxy);
            if (!source.isValid())
                continue;
            QCOMPARE(source.data(), proxy.data());
            // Rows t1 and t4 share one WBS row; whichever proxy row answers must lead back to it.
            QCOMPARE(f.join.mapToSource(f.join.mapFromSource(source)), source);
            if (!seen.contains(source))
                QCOMPARE(f.join.mapFromSource(source), proxy);
            seen.insert(source);
        }
    }
    QVERIFY(!f.join.mapFromSource(f.wbs->index(0, 0)).isValid());
    QVERIFY(!f.join.mapFromSource(QModelIndex()).isValid());
}

void TestPdJoinProxyModel::joinedCellsHaveNoChildren()
{
    Fixture f;
    // A joined model with children must not make a joined cell look like a parent,
    // nor may the master be asked about an index that belongs to another model.
    f.wbs->item(0, 1)->appendRow(new QStandardItem("Site office"));
    QVERIFY(f.join.hasChildren());
    QVERIFY(!f.join.hasChildren(f.join.index(0, 2)));
    QVERIFY(!f.join.hasChildren(f.join.index(0, 0)));
}

// A joined cell writes through to its own model, which every row sharing its key shows; an unjoined
// cell keeps what is written to it in the proxy, for display only.
void TestPdJoinProxyModel::writesReachTheJoinedModelOrStayInTheProxy()
{
    Fixture f;
    const QModelIndex joined = f.join.index(0, 2);
    QCOMPARE(f.join.itemData(joined), f.wbs->itemData(f.wbs->index(0, 1)));
    QVERIFY(f.join.setData(joined, "Yard", Qt::EditRole));
    QCOMPARE(f.join.index(3, 2).data().toString(), QStringLiteral("Yard"));
    QVERIFY(f.join.setItemData(joined, {{Qt::DisplayRole, "Shed"}}));
    QCOMPARE(f.wbs->item(0, 1)->text(), QStringLiteral("Shed"));
    QCOMPARE(tableText(*f.tasks), QStringLiteral("t1,w1|t2,w2|t3,w9|t4,w1"));

    const QModelIndex unjoined = f.join.index(2, 2);
    QCOMPARE(f.join.flags(unjoined), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QVERIFY(f.join.setData(unjoined, "kept", Qt::DisplayRole));
    QCOMPARE(unjoined.data().toString(), QStringLiteral("kept"));
    QVERIFY(!f.join.setData(unjoined, "edit", Qt::EditRole));
    QVERIFY(!unjoined.data(Qt::EditRole).isValid());
    QVERIFY(f.join.setItemData(f.join.index(2, 3), {{Qt::DisplayRole, "also"}}));
    QCOMPARE(f.join.itemData(f.join.index(2, 3)).value(Qt::DisplayRole).toString(), QStringLiteral("also"));
}

void TestPdJoinProxyModel::headersAndColumnOwners()
{
    Fixture f;
    QCOMPARE(f.join.columnCount(), 4);
    QCOMPARE(f.join.headerData(3, Qt::Horizontal).toString(), QStringLiteral("owner"));
    QVERIFY(!f.join.headerData(4, Qt::Horizontal).isValid());
    QCOMPARE(f.join.modelForColumn(1), f.tasks);
    QCOMPARE(f.join.modelForColumn(2), f.wbs);
    QVERIFY(!f.join.modelForColumn(4));
    QVERIFY(!f.join.modelForColumn(-1));
}

void TestPdJoinProxyModel::masterRowChangesKeepRowsAligned()
{
    Fixture f;
    f.join.setData(f.join.index(2, 3), "note", Qt::DisplayRole);
    QSignalSpy inserted(&f.join, &QAbstractItemModel::rowsInserted);
    QVERIFY(f.join.insertRows(1, 2));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(tableText(f.join), QStringLiteral("t1,w1,Site,o1|,,,|,,,|t2,w2,Roof,o2|t3,w9,,note|t4,w1,Site,o1"));
    QVERIFY(f.tasks->removeRows(0, 2));
    QCOMPARE(tableText(f.join), QStringLiteral(",,,|t2,w2,Roof,o2|t3,w9,,note|t4,w1,Site,o1"));
    f.join.resetMappings();
    QCOMPARE(tableText(f.join), QStringLiteral(",,,|t2,w2,Roof,o2|t3,w9,,note|t4,w1,Site,o1"));
}

void TestPdJoinProxyModel::masterSortMovesPersistentIndexes()
{
    Fixture f;
    const QPersistentModelIndex t3(f.join.index(2, 2));
    QSignalSpy about(&f.join, &QAbstractItemModel::layoutAboutToBeChanged);
    QSignalSpy changed(&f.join, &QAbstractItemModel::layoutChanged);
    f.tasks->sort(0, Qt::DescendingOrder);
    QCOMPARE(about.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(tableText(f.join), QStringLiteral("t4,w1,Site,o1|t3,w9,,|t2,w2,Roof,o2|t1,w1,Site,o1"));
    QCOMPARE(t3.row(), 1);
    QCOMPARE(t3.column(), 2);

    QSignalSpy reset(&f.join, &QAbstractItemModel::modelReset);
    f.tasks->setRowCount(1);
    QCOMPARE(tableText(f.join), QStringLiteral("t4,w1,Site,o1"));
    f.tasks->clear();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(f.join.columnCount(), 2);
}

void TestPdJoinProxyModel::deletedModelsLeaveEmptyCells()
{
    Fixture f;
    delete f.wbs;
    QCOMPARE(tableText(f.join), QStringLiteral("t1,w1,,|t2,w2,,|t3,w9,,|t4,w1,,"));
    QVERIFY(!f.join.modelForColumn(2));
    QSignalSpy reset(&f.join, &QAbstractItemModel::modelReset);
    delete f.tasks;
    QCOMPARE(reset.count(), 1);
    QCOMPARE(f.join.columnCount(), 0);
}

QTEST_MAIN(TestPdJoinProxyModel)
#include "tst_pdjoinproxymodel.moc"
