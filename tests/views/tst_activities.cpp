#include "activities.h"
#include "pdmodelutils.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {

QStringList headerTexts(const QAbstractItemModel *model)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts;
}

} // namespace

class TestActivities : public QObject
{
    Q_OBJECT
private slots:
    void showsOneTopLevelRowPerActivity_data();
    void showsOneTopLevelRowPerActivity();
};

void TestActivities::showsOneTopLevelRowPerActivity_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("no activities") << 0;
    QTest::newRow("one activity") << 1;
    QTest::newRow("a few hundred activities") << 350;
}

void TestActivities::showsOneTopLevelRowPerActivity()
{
    QFETCH(int, rows);
    Activities view;
    QTreeView *tree = view.findChild<QTreeView *>(QStringLiteral("treeView"));
    QVERIFY(tree);
    const QStringList emptyColumns{"Activity ID", "Activity Name", "Start", "Finish", "WBS"};
    QCOMPARE(headerTexts(tree->model()), emptyColumns);
    QCOMPARE(tree->model()->rowCount(), 0);

    auto *source = new QStandardItemModel(rows, 3);
    source->setHorizontalHeaderLabels({"ID", "parentID", "Activity ID"});
    for (int row = 0; row < rows; ++row)
        source->setData(source->index(row, 2), QStringLiteral("A%1").arg(row * 10));
    view.setModels(source, nullptr, nullptr, nullptr, nullptr, true);

    QAbstractItemModel *shown = tree->model();
    QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(view.initialRowCount(), rows);
    QCOMPARE(shown->rowCount(), rows);
    QCOMPARE(headerTexts(shown), headerTexts(source));
    auto *proxy = qobject_cast<QAbstractProxyModel *>(shown);
    QVERIFY(proxy);
    for (const QModelIndex &index : allIndexes(shown)) {
        QVERIFY(!shown->hasChildren(index));
        for (int column = 0; column < shown->columnCount(); ++column) {
            const QModelIndex cell = index.siblingAtColumn(column);
            QCOMPARE(proxy->mapFromSource(proxy->mapToSource(cell)), cell);
            QCOMPARE(cell.data(), proxy->mapToSource(cell).data());
        }
    }

    // Closing lets go of the project's models, so their owner may delete them.
    view.onCloseProject();
    delete source;
    QCOMPARE(headerTexts(tree->model()), emptyColumns);
    QCOMPARE(tree->model()->rowCount(), 0);
}

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
