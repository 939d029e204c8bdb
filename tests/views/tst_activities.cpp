#include "activities.h"
#include "pdmodelutils.h"
#include "pdrecordsetmodel.h"

#include <QAbstractItemModelTester>
#include <QAbstractProxyModel>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {

QStandardItemModel *makeActivities(int rows, QObject *parent)
{
    auto *model = new QStandardItemModel(rows, 4, parent);
    model->setHorizontalHeaderLabels({"ID", "parentID", "Group", "Activity ID"});
    for (int row = 0; row < rows; ++row) {
        model->setData(model->index(row, 0), row + 1);
        model->setData(model->index(row, 3), QStringLiteral("A%1").arg(row * 10));
    }
    return model;
}

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
    void showsTheEmptyTableWithoutAProject();
    void showsOneTopLevelRowPerActivity_data();
    void showsOneTopLevelRowPerActivity();
    void closingReturnsToTheEmptyTable();
    void survivesItsModelBeingDeletedFirst();
};

void TestActivities::showsTheEmptyTableWithoutAProject()
{
    Activities view;
    QCOMPARE(view.objectName(), QStringLiteral("Activities"));
    QTreeView *tree = view.findChild<QTreeView *>(QStringLiteral("treeView"));
    QVERIFY(tree);
    QCOMPARE(tree, view.treeView());
    QAbstractItemModelTester tester(tree->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(headerTexts(tree->model()),
             (QStringList{"Activity ID", "Activity Name", "Start", "Finish", "WBS"}));
    QCOMPARE(tree->model()->rowCount(), 0);
    QCOMPARE(view.activityModel(), static_cast<QAbstractItemModel *>(view.emptyModel()));
}

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
    QStandardItemModel *source = makeActivities(rows, this);
    auto *wbs = new QStandardItemModel(this);
    view.setModels(source, wbs, nullptr, nullptr, nullptr, true);

    QAbstractItemModel *shown = view.treeView()->model();
    QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(view.activityModel(), static_cast<QAbstractItemModel *>(source));
    QCOMPARE(view.wbsModel(), static_cast<QAbstractItemModel *>(wbs));
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
    delete source;
    delete wbs;
}

void TestActivities::closingReturnsToTheEmptyTable()
{
    Activities view;
    QStandardItemModel *source = makeActivities(5, this);
    view.setModels(source, nullptr, nullptr, nullptr, nullptr, true);
    view.onCloseProject();
    QCOMPARE(view.activityModel(), static_cast<QAbstractItemModel *>(view.emptyModel()));
    QCOMPARE(view.treeView()->model()->rowCount(), 0);
    QCOMPARE(view.treeView()->model()->columnCount(), 5);
    // The view lets go of the project's models, so the loader may delete them.
    delete source;
    QCOMPARE(view.treeView()->model()->columnCount(), 5);
}

void TestActivities::survivesItsModelBeingDeletedFirst()
{
    Activities view;
    QStandardItemModel *source = makeActivities(5, this);
    view.setModels(source, nullptr, nullptr, nullptr, nullptr, true);
    view.show();
    delete source;
    QVERIFY(!view.activityModel());
    view.onCloseProject();
    QCOMPARE(view.treeView()->model()->rowCount(), 0);
}

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
