#include "pdrecordsetmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

namespace {

QString tableText(const QAbstractItemModel& model)
{
    QStringList rows;
    QStringList header;
    for (int c = 0; c < model.columnCount(); ++c)
        header << model.headerData(c, Qt::Horizontal).toString();
    rows << header.join(QLatin1Char(','));
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        rows << cells.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char('|'));
}

QVariantMap record(std::initializer_list<std::pair<QString, QVariant>> values)
{
    QVariantMap map;
    for (const auto& v : values)
        map.insert(v.first, v.second);
    return map;
}

} // namespace

class TestPdRecordSetModel : public QObject
{
    Q_OBJECT

private slots:
    void setRecordSet_data();
    void setRecordSet();
    void rolesAndHeaders();
    void rowsInsertAndRemove_data();
    void rowsInsertAndRemove();
    void columnsKeepCellsAligned();
};

void TestPdRecordSetModel::setRecordSet_data()
{
    QTest::addColumn<QVariantList>("records");
    QTest::addColumn<QString>("expected");

    QTest::newRow("maps give sorted names and rows")
        << QVariantList{record({{"B", 2}, {"A", 1}}), record({{"A", 3}, {"B", 4}})} << "A,B|1,2|3,4";
    QTest::newRow("record missing a name shows an empty cell")
        << QVariantList{record({{"A", 1}, {"B", 2}}), record({{"B", 4}})} << "A,B|1,2|,4";
    QTest::newRow("leading name list with no records")
        << QVariantList{QStringList{"Activity ID", "Activity Name", "Start", "Finish", "WBS"}}
        << "Activity ID,Activity Name,Start,Finish,WBS";
    QTest::newRow("leading name list is not a row")
        << QVariantList{QVariantList{"X", "Y"}, record({{"Y", "y1"}, {"X", "x1"}})} << "X,Y|x1,y1";
}

void TestPdRecordSetModel::setRecordSet()
{
    QFETCH(QVariantList, records);
    QFETCH(QString, expected);
    PdRecordSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Six old columns and a row: a replacement must leave none of them behind.
    model.setRecordSet({QStringList{"1", "2", "3", "4", "5", "6"}, record({{"1", "x"}})});
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setRecordSet(records);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(tableText(model), expected);

    model.setRecordSet({});
    QCOMPARE(reset.count(), 2);
    QCOMPARE(tableText(model), expected);
}

void TestPdRecordSetModel::rolesAndHeaders()
{
    PdRecordSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecordSet({record({{"A", "shown"}, {"B", 1}, {"C", 2}})});
    const QModelIndex cell = model.index(0, 0);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(cell, "edited", Qt::EditRole));
    QCOMPARE(cell.data(Qt::EditRole).toString(), QStringLiteral("edited"));
    QCOMPARE(cell.data(Qt::DisplayRole).toString(), QStringLiteral("shown"));
    QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{Qt::EditRole});
    QVERIFY(!model.setData(model.index(1, 0), "x"));

    QCOMPARE(model.headerData(4, Qt::Vertical, Qt::DisplayRole).toInt(), 5);
    QVERIFY(!model.setHeaderData(0, Qt::Vertical, "v"));
    QSignalSpy inserted(&model, &QAbstractItemModel::columnsInserted);
    QVERIFY(model.setHeaderData(7, Qt::Horizontal, "H", Qt::DisplayRole));
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.headerData(7, Qt::Horizontal).toString(), QStringLiteral("H"));
    QVERIFY(model.setHeaderData(1, Qt::Horizontal, "tip", Qt::ToolTipRole));
    QCOMPARE(model.columnCount(), 4);
}

void TestPdRecordSetModel::rowsInsertAndRemove_data()
{
    QTest::addColumn<bool>("insert");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("expected");

    QTest::newRow("insert in the middle") << true << 1 << 2 << true << "A|a|||b|c";
    QTest::newRow("insert past the end") << true << 4 << 1 << false << "A|a|b|c";
    QTest::newRow("remove clamps to the last row") << false << 1 << 10 << true << "A|a";
    QTest::newRow("remove past the end") << false << 3 << 1 << false << "A|a|b|c";
}

void TestPdRecordSetModel::rowsInsertAndRemove()
{
    QFETCH(bool, insert);
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    QFETCH(QString, expected);
    PdRecordSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecordSet({record({{"A", "a"}}), record({{"A", "b"}}), record({{"A", "c"}})});
    QCOMPARE(insert ? model.insertRows(row, count) : model.removeRows(row, count), accepted);
    QCOMPARE(tableText(model), expected);
}

void TestPdRecordSetModel::columnsKeepCellsAligned()
{
    PdRecordSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecordSet({record({{"A", 1}, {"B", 2}, {"C", 3}})});
    QVERIFY(model.insertColumns(1, 1));
    QCOMPARE(tableText(model), QStringLiteral("A,,B,C|1,,2,3"));
    QVERIFY(model.insertColumns(4, 1));
    QCOMPARE(model.columnCount(), 5);
    QVERIFY(model.removeColumns(0, 2));
    QCOMPARE(tableText(model), QStringLiteral("B,C,|2,3,"));
    QVERIFY(!model.removeColumns(3, 1));
    QVERIFY(!model.insertColumns(5, 1));
}

QTEST_GUILESS_MAIN(TestPdRecordSetModel)
#include "tst_pdrecordsetmodel.moc"
