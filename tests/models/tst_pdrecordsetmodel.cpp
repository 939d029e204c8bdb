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
    void setRecordSet_data()
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

    void setRecordSet()
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

    void rolesAndHeaders()
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

    void insertAndRemove_data()
    {
        QTest::addColumn<QString>("steps"); // insert/remove, rows/columns, first, count; applied in turn
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rows inserted in the middle") << "ir 1 2" << "1" << "A,B|a,1|,|,|b,2|c,3";
        QTest::newRow("rows inserted past the end") << "ir 4 1" << "0" << "A,B|a,1|b,2|c,3";
        QTest::newRow("row removal clamps to the last row") << "rr 1 10" << "1" << "A,B|a,1";
        QTest::newRow("rows removed past the end") << "rr 3 1" << "0" << "A,B|a,1|b,2|c,3";
        QTest::newRow("columns keep their cells aligned") << "ic 1 1,ic 3 1,rc 0 2,rc 2 1,ic 3 1" << "11100" << "B,|1,|2,|3,";
    }

    void insertAndRemove()
    {
        QFETCH(QString, steps);
        QFETCH(QString, accepted);
        QFETCH(QString, expected);
        PdRecordSetModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setRecordSet({record({{"A", "a"}, {"B", 1}}), record({{"A", "b"}, {"B", 2}}), record({{"A", "c"}, {"B", 3}})});
        QString results;
        for (const QString& step : steps.split(QLatin1Char(','))) {
            const QStringList parts = step.split(QLatin1Char(' '));
            const int first = parts.at(1).toInt();
            const int count = parts.at(2).toInt();
            bool ok = false;
            if (parts.at(0) == "ir")
                ok = model.insertRows(first, count);
            else if (parts.at(0) == "rr")
                ok = model.removeRows(first, count);
            else if (parts.at(0) == "ic")
                ok = model.insertColumns(first, count);
            else
                ok = model.removeColumns(first, count);
            results += ok ? '1' : '0';
        }
        QCOMPARE(results, accepted);
        QCOMPARE(tableText(model), expected);
    }
};

QTEST_GUILESS_MAIN(TestPdRecordSetModel)
#include "tst_pdrecordsetmodel.moc"
