#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

namespace {

using ParentMap = PdParentItemProxyModel::ParentMap;

// Rows "name,id,parentId,value"; an empty id or parent id leaves the cell without data.
QStandardItemModel* makeSource(const QStringList& rows, QObject* parent)
{
    auto* model = new QStandardItemModel(0, 4, parent);
    model->setHorizontalHeaderLabels({"name", "id", "parentId", "value"});
    for (const QString& row : rows) {
        QList<QStandardItem*> items;
        for (const QString& cell : row.split(QLatin1Char(','))) {
            auto* item = new QStandardItem;
            if (!cell.isEmpty())
                item->setData(cell, Qt::DisplayRole);
            items << item;
        }
        model->appendRow(items);
    }
    return model;
}

// The tree as text: "a(b,c),d".
QString treeText(const QAbstractItemModel& model, const QModelIndex& parent = QModelIndex())
{
    QStringList parts;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        const QModelIndex idx = model.index(r, 0, parent);
        QString part = idx.data().toString();
        if (model.hasChildren(idx))
            part += QLatin1Char('(') + treeText(model, idx) + QLatin1Char(')');
        parts << part;
    }
    return parts.join(QLatin1Char(','));
}

// Every cell maps to its source and back, every parent chain ends at the root, each source row is
// shown at most once, and a row not shown maps to no position.
void verifyTree(const PdParentItemProxyModel& proxy)
{
    QSet<int> seen;
    for (const QModelIndex& idx : allIndexes(&proxy)) {
        QVERIFY(depthOf(idx) < 50);
        const int sourceRow = proxy.mapToSource(idx).row();
        QVERIFY2(!seen.contains(sourceRow), "a source row is shown twice");
        seen.insert(sourceRow);
        for (int c = 0; c < proxy.columnCount(); ++c) {
            const QModelIndex cell = proxy.index(idx.row(), c, idx.parent());
            QCOMPARE(proxy.mapFromSource(proxy.mapToSource(cell)), cell);
            QCOMPARE(cell.parent(), idx.parent());
        }
    }
    for (int r = 0; r < proxy.sourceModel()->rowCount(); ++r) {
        if (!seen.contains(r))
            QVERIFY2(!proxy.mapFromSource(proxy.sourceModel()->index(r, 1)).isValid(), qPrintable(QString::number(r)));
    }
}

struct Fixture
{
    QObject owner;
    QStandardItemModel* source;
    PdParentItemProxyModel proxy;
    QAbstractItemModelTester tester{&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest};

    explicit Fixture(const QStringList& rows)
        : source(makeSource(rows, &owner))
    {
        proxy.setSourceModel(source);
    }
};

// Four activities and two group rows appended after them, as the activities view builds it.
const QStringList groupedRows{"a1,,,3", "a2,,,1", "a3,,,2", "a4,,,1", "G1,,,9", "G2,,,0"};
const ParentMap groupedMap{{-1, {4, 5}}, {4, {0, 2}}, {5, {1, 3}}};

} // namespace

class TestPdParentItemProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QList<QPersistentModelIndex>>();
        qRegisterMetaType<QAbstractItemModel::LayoutChangeHint>();
    }

    void keyColumns_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("idColumn");
        QTest::addColumn<QString>("expected");

        const QStringList wbs{"site,1,,", "civil,2,1,", "piles,3,2,", "roof,4,,", "orphan,5,99,"};
        QTest::newRow("no key columns keep the source order") << wbs << -1 << "site,civil,piles,roof,orphan";
        QTest::newRow("parent ids build the tree") << wbs << 1 << "site(civil(piles)),roof,orphan";
        QTest::newRow("child before its parent")
            << QStringList{"c,2,1,", "p,1,,"} << 1 << "p(c)";
        QTest::newRow("repeated id: the later row is the parent")
            << QStringList{"p1,1,,", "p2,1,,", "c,2,1,"} << 1 << "p1,p2(c)";
        QTest::newRow("rows without id stay apart") << QStringList{"x,,,", "y,,,", "z,3,,"} << 1 << "x,y,z";
        QTest::newRow("a cycle is never shown") << QStringList{"a,1,2,", "b,2,1,", "c,3,,"} << 1 << "c";
    }

    void keyColumns()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, idColumn);
        QFETCH(QString, expected);
        Fixture f(rows);
        f.proxy.setKeyColumns(idColumn, idColumn < 0 ? -1 : 2);
        QCOMPARE(treeText(f.proxy), expected);
        verifyTree(f.proxy);
    }

    void installedMap_data()
    {
        QTest::addColumn<ParentMap>("map");
        QTest::addColumn<QString>("expected");

        QTest::newRow("groups on top, activities beneath") << groupedMap << "G1(a1,a3),G2(a2,a4)";
        QTest::newRow("nested groups") << ParentMap{{-1, {4}}, {4, {5, 0}}, {5, {1, 2, 3}}} << "G1(G2(a2,a3,a4),a1)";
        QTest::newRow("a row in no list is invisible") << ParentMap{{-1, {4}}, {4, {0}}} << "G1(a1)";
        QTest::newRow("rows beneath an unlisted row are unreachable")
            << ParentMap{{-1, {4}}, {4, {0}}, {0, {1}}, {2, {3}}} << "G1(a1(a2))";
        QTest::newRow("first list in key order decides")
            << ParentMap{{-1, {4, 5}}, {4, {0}}, {5, {1}}} << "G1(a1),G2(a2)";
        QTest::newRow("list under a row nobody shows") << ParentMap{{-1, {0}}, {5, {1}}} << "a1";
        QTest::newRow("a cycle is never shown") << ParentMap{{-1, {4}}, {4, {0}}, {0, {1}}, {1, {0}}} << "G1";
        QTest::newRow("a row listed twice shows once") << ParentMap{{-1, {4, 5}}, {4, {0, 1}}, {5, {1, 2}}}
                                                       << "G1(a1,a2),G2(a3)";
        QTest::newRow("rows past the source are not shown") << ParentMap{{-1, {0, 40}}, {40, {1}}} << "a1";
        QTest::newRow("empty map shows nothing") << ParentMap{} << "";
    }

    void installedMap()
    {
        QFETCH(ParentMap, map);
        QFETCH(QString, expected);
        Fixture f(groupedRows);
        QSignalSpy reset(&f.proxy, &QAbstractItemModel::modelReset);
        f.proxy.setParentMap(map);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(treeText(f.proxy), expected);
        verifyTree(f.proxy);
    }

    void sort_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QString>("expected");

        QTest::newRow("ascending by value") << 3 << Qt::AscendingOrder << "G2(a2,a4),G1(a3,a1)";
        QTest::newRow("descending by value, ties keep their order")
            << 3 << Qt::DescendingOrder << "G1(a1,a3),G2(a2,a4)";
        QTest::newRow("descending by name") << 0 << Qt::DescendingOrder << "G2(a4,a2),G1(a3,a1)";
        QTest::newRow("column past the end does nothing") << 4 << Qt::AscendingOrder << "G1(a1,a3),G2(a2,a4)";
    }

    void sort()
    {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QString, expected);
        Fixture f(groupedRows);
        f.proxy.setParentMap(groupedMap);
        QList<QPersistentModelIndex> persistent;
        for (const QModelIndex& idx : allIndexes(&f.proxy))
            persistent << QPersistentModelIndex(idx.sibling(idx.row(), 2));
        QList<int> sourceRows;
        for (const QPersistentModelIndex& p : persistent)
            sourceRows << f.proxy.mapToSource(p).row();

        f.proxy.sort(column, order);
        QCOMPARE(treeText(f.proxy), expected);
        verifyTree(f.proxy);
        for (int i = 0; i < persistent.size(); ++i) {
            QVERIFY(persistent.at(i).isValid());
            QCOMPARE(persistent.at(i).column(), 2);
            QCOMPARE(f.proxy.mapToSource(persistent.at(i)).row(), sourceRows.at(i));
        }
    }

    void sourceEdits()
    {
        Fixture f(groupedRows);
        f.proxy.setParentMap(groupedMap);
        QSignalSpy changed(&f.proxy, &QAbstractItemModel::dataChanged);
        QVERIFY(f.proxy.setData(f.proxy.index(1, 3, f.proxy.index(0, 0)), "7"));
        QCOMPARE(f.source->item(2, 3)->text(), QStringLiteral("7"));
        QCOMPARE(changed.count(), 0);

        // Source rows 1..3 lie under both groups: one notification per group, each inside its group.
        f.source->item(1, 3)->setText("x");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toModelIndex(), f.proxy.index(0, 3, f.proxy.index(1, 0)));
        changed.clear();
        emit f.source->dataChanged(f.source->index(1, 0), f.source->index(3, 3));
        QCOMPARE(changed.count(), 2);
        for (const QList<QVariant>& args : changed)
            QCOMPARE(args.at(0).toModelIndex().parent(), args.at(1).toModelIndex().parent());

        // A key column edit regroups from the key columns.
        Fixture keyed({"p,1,,", "c,2,,"});
        keyed.proxy.setKeyColumns(1, 2);
        QSignalSpy reset(&keyed.proxy, &QAbstractItemModel::modelReset);
        keyed.source->item(1, 2)->setText("1");
        QCOMPARE(reset.count(), 1);
        QCOMPARE(treeText(keyed.proxy), QStringLiteral("p(c)"));
    }

    void sourceRowChanges()
    {
        Fixture f({"a,,,", "b,,,"});
        QSignalSpy inserted(&f.proxy, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(&f.proxy, &QAbstractItemModel::modelReset);
        f.source->insertRow(1, new QStandardItem("new"));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(treeText(f.proxy), QStringLiteral("a,new,b"));
        f.source->removeRows(0, 2);
        QCOMPARE(treeText(f.proxy), QStringLiteral("b"));
        QCOMPARE(reset.count(), 0);

        // With a grouping installed the source change rebuilds the map from the key columns.
        f.proxy.setParentMap({{-1, {0}}, {0, {}}});
        reset.clear();
        f.source->appendRow(new QStandardItem("c"));
        QCOMPARE(reset.count(), 1);
        QCOMPARE(treeText(f.proxy), QStringLiteral("b,c"));
        verifyTree(f.proxy);

        QSignalSpy columns(&f.proxy, &QAbstractItemModel::columnsInserted);
        f.source->insertColumn(4);
        QCOMPARE(columns.count(), 1);
        QCOMPARE(f.proxy.columnCount(), 5);

        const QPersistentModelIndex c(f.proxy.index(1, 0));
        f.source->sort(0, Qt::DescendingOrder);
        QCOMPARE(treeText(f.proxy), QStringLiteral("c,b"));
        QCOMPARE(c.row(), 0);
    }

    // A regrouping: group rows removed and appended and the map replaced, heard above as one reset.
    void bracketedSourceChangeIsOneReset()
    {
        Fixture f(groupedRows);
        f.proxy.setParentMap(groupedMap);
        QSignalSpy reset(&f.proxy, &QAbstractItemModel::modelReset);
        QSignalSpy rows(&f.proxy, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&f.proxy, &QAbstractItemModel::rowsRemoved);
        f.proxy.beginSourceChange();
        f.source->removeRows(4, 2);
        f.source->appendRow(new QStandardItem("H"));
        f.proxy.endSourceChange({{-1, {4}}, {4, {3, 2, 1, 0}}});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(rows.count() + removed.count(), 0);
        QCOMPARE(treeText(f.proxy), QStringLiteral("H(a4,a3,a2,a1)"));
        verifyTree(f.proxy);

        // Without a new map the rows stand flat again.
        f.proxy.beginSourceChange();
        f.source->removeRows(4, 1);
        f.proxy.endSourceChange();
        QCOMPARE(reset.count(), 2);
        QCOMPARE(treeText(f.proxy), QStringLiteral("a1,a2,a3,a4"));
    }

    void withoutSourceOrAfterItDies()
    {
        PdParentItemProxyModel proxy;
        QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
        proxy.setSourceModel(nullptr);
        QCOMPARE(proxy.rowCount() + proxy.columnCount(), 0);
        QVERIFY(!proxy.headerData(0, Qt::Horizontal).isValid());
        QVERIFY(!proxy.setData(QModelIndex(), 1));
        {
            QStandardItemModel source;
            source.appendRow(new QStandardItem("x"));
            proxy.setSourceModel(&source);
            QCOMPARE(proxy.rowCount(), 1);
            QTest::ignoreMessage(QtWarningMsg, "PdParentItemProxyModel: index from wrong model passed to mapToSource");
            QVERIFY(!proxy.mapToSource(source.index(0, 0)).isValid());
        }
        QCOMPARE(proxy.rowCount() + proxy.columnCount(), 0);
    }
};

QTEST_MAIN(TestPdParentItemProxyModel)
#include "tst_pdparentitemproxymodel.moc"
