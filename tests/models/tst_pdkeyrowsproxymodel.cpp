#include "pdkeyrowsproxymodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

namespace {

// One row per key, the key in column 0 and the row's own name in column 1.
std::unique_ptr<QStandardItemModel> keyedSource(const QVariantList &keys)
{
    auto source = std::make_unique<QStandardItemModel>(0, 2);
    for (int row = 0; row < keys.size(); ++row) {
        auto *key = new QStandardItem;
        key->setData(keys.at(row), Qt::DisplayRole);
        source->appendRow({key, new QStandardItem(QStringLiteral("r%1").arg(row))});
    }
    return source;
}

QStringList shownNames(const QAbstractItemModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, 1).data().toString();
    return names;
}

} // namespace

class tst_PdKeyRowsProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void shouldShowOnlyRowsOfTheWholeKey_data();
    void shouldShowOnlyRowsOfTheWholeKey();
    void shouldFollowSourceChanges_data();
    void shouldFollowSourceChanges();
    void shouldForgetRowsOfADeletedSource();
};

void tst_PdKeyRowsProxyModel::shouldShowOnlyRowsOfTheWholeKey_data()
{
    QTest::addColumn<QVariantList>("keys");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("expected");

    const QVariantList ids{"112", "12", "120", "12", "1", "2"};
    QTest::newRow("12 is not part of 112 or 120") << ids << "12" << QStringList{"r1", "r3"};
    QTest::newRow("a key of one row") << ids << "120" << QStringList{"r2"};
    QTest::newRow("an unknown key shows nothing") << ids << "-1" << QStringList{};
    QTest::newRow("an empty key shows nothing") << QVariantList{"", "7"} << "" << QStringList{};
    QTest::newRow("letters match in any case") << QVariantList{"ab", "AB", "abc"} << "Ab" << QStringList{"r0", "r1"};
    const QVariantList numbers{qlonglong(112), 12, "12", "012", qlonglong(-12)};
    QTest::newRow("a number and its text are one key") << numbers << "12" << QStringList{"r1", "r2"};
    QTest::newRow("a leading zero makes another key") << numbers << "012" << QStringList{"r3"};
    QTest::newRow("negative numbers") << numbers << "-12" << QStringList{"r4"};
}

void tst_PdKeyRowsProxyModel::shouldShowOnlyRowsOfTheWholeKey()
{
    QFETCH(QVariantList, keys);
    QFETCH(QString, key);
    QFETCH(QStringList, expected);

    const auto source = keyedSource(keys);
    PdKeyRowsProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(source.get());
    proxy.setKey(key);

    QCOMPARE(shownNames(proxy), expected);
    QCOMPARE(proxy.containsKey(key), !expected.isEmpty());
    for (int row = 0; row < proxy.rowCount(); ++row) {
        const QModelIndex index = proxy.index(row, 1);
        QCOMPARE(proxy.mapFromSource(proxy.mapToSource(index)), index);
    }
    // A row of another key maps to nothing.
    for (int row = 0; row < source->rowCount(); ++row) {
        if (!proxy.mapFromSource(source->index(row, 0)).isValid())
            QVERIFY(!expected.contains(QStringLiteral("r%1").arg(row)));
    }
}

void tst_PdKeyRowsProxyModel::shouldFollowSourceChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("a row of the key inserted before the others") << "insert" << QStringList{"new", "r0", "r2"};
    QTest::newRow("a row of the key removed") << "remove" << QStringList{"r2"};
    QTest::newRow("a cell changed into the key") << "rekey" << QStringList{"r0", "r1", "r2"};
    QTest::newRow("a cell changed out of the key") << "unkey" << QStringList{"r2"};
    QTest::newRow("a shown name changed") << "rename" << QStringList{"renamed", "r2"};
    QTest::newRow("rows sorted") << "sort" << QStringList{"r2", "r0"};
}

void tst_PdKeyRowsProxyModel::shouldFollowSourceChanges()
{
    QFETCH(QString, change);
    QFETCH(QStringList, expected);

    const auto source = keyedSource({5, "6", "5"});
    PdKeyRowsProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(source.get());
    proxy.setKey(QStringLiteral("5"));
    QCOMPARE(shownNames(proxy), QStringList({"r0", "r2"}));

    if (change == QLatin1String("insert"))
        source->insertRow(0, {new QStandardItem("5"), new QStandardItem("new")});
    else if (change == QLatin1String("remove"))
        source->removeRow(0);
    else if (change == QLatin1String("rekey"))
        source->setData(source->index(1, 0), "5");
    else if (change == QLatin1String("unkey"))
        source->setData(source->index(0, 0), "7");
    else if (change == QLatin1String("rename"))
        source->setData(source->index(0, 1), "renamed");
    else if (change == QLatin1String("sort"))
        source->sort(1, Qt::DescendingOrder);

    QCOMPARE(shownNames(proxy), expected);
}

void tst_PdKeyRowsProxyModel::shouldForgetRowsOfADeletedSource()
{
    auto source = keyedSource({"5", 5});
    PdKeyRowsProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(source.get());
    proxy.setKey(QStringLiteral("5"));
    QSignalSpy reset(&proxy, &QAbstractItemModel::modelReset);

    source.reset();

    QCOMPARE(reset.count(), 1);
    QCOMPARE(proxy.rowCount(), 0);
    QVERIFY(proxy.sourceRows(QStringLiteral("5")).isEmpty());
}

QTEST_GUILESS_MAIN(tst_PdKeyRowsProxyModel)
#include "tst_pdkeyrowsproxymodel.moc"
