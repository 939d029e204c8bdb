#include "pdsortfilterheader.h"

#include <QtTest>

class tst_PdSortFilterHeader : public QObject
{
    Q_OBJECT

private slots:
    void shouldSignalOnlyRealChanges_data();
    void shouldSignalOnlyRealChanges();
};

void tst_PdSortFilterHeader::shouldSignalOnlyRealChanges_data()
{
    // Steps: +n adds a filter, -n removes one, c clears, sN:o sorts column N in order o.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("signalCount");
    QTest::addColumn<QString>("filtered");

    QTest::newRow("adding twice signals once") << QStringList{"+2", "+2"} << 1 << "2";
    QTest::newRow("removing a column without filter") << QStringList{"+2", "-3"} << 1 << "2";
    QTest::newRow("removing signals") << QStringList{"+2", "+4", "-2"} << 3 << "4";
    QTest::newRow("clearing an empty list is silent") << QStringList{"c"} << 0 << "";
    QTest::newRow("clearing") << QStringList{"+1", "+5", "c", "c"} << 3 << "";
    QTest::newRow("same sort again is silent") << QStringList{"s3:1", "s3:1"} << 1 << "";
    QTest::newRow("order alone changes the sort") << QStringList{"s3:0", "s3:1"} << 2 << "";
    QTest::newRow("unsorted at start") << QStringList{"s-1:0"} << 0 << "";
}

void tst_PdSortFilterHeader::shouldSignalOnlyRealChanges()
{
    QFETCH(QStringList, steps);
    QFETCH(int, signalCount);
    QFETCH(QString, filtered);
    PdSortFilterHeader header(Qt::Horizontal);
    QSignalSpy spy(&header, &PdSortFilterHeader::filterSettingsChanged);
    for (const QString& step : qAsConst(steps)) {
        if (step.startsWith('+')) {
            header.addFilter(step.mid(1).toInt());
        } else if (step.startsWith('-')) {
            header.removeFilter(step.mid(1).toInt());
        } else if (step == QLatin1String("c")) {
            header.clearFilters();
        } else {
            const QStringList sort = step.mid(1).split(':');
            header.setSort(sort.at(0).toInt(), sort.at(1).toInt());
        }
    }
    QCOMPARE(spy.count(), signalCount);
    QStringList columns;
    for (int column : header.filteredColumns())
        columns.append(QString::number(column));
    QCOMPARE(columns.join(','), filtered);
    QCOMPARE(header.hasFilters(), !filtered.isEmpty());
}

QTEST_MAIN(tst_PdSortFilterHeader)
#include "tst_pdsortfilterheader.moc"
