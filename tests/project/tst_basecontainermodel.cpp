#include "basecontainermodel.h"
#include "udfvaluecontainer.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QtTest>

namespace {

std::shared_ptr<UdfValueContainer> makeContainer()
{
    auto container = std::make_shared<UdfValueContainer>();
    container->addColumn({{"id", "udf_type_id"}, {"display", "udf_type_id"}, {"datatype", "integer"}, {"group", "system"}});
    container->addColumn({{"id", "udf_text"}, {"display", "Text"}, {"datatype", "string"}, {"group", "User Defined Field"},
                          {"structure", "true"}});
    container->addColumn({{"id", "udf_date"}, {"display", "Date"}, {"datatype", "datetime"}, {"group", "User Defined Field"},
                          {"calculated", "true"}});
    container->appendRow({7, QStringLiteral("seven"), QDateTime(QDate(2019, 3, 4), QTime(8, 0))});
    container->appendRow({8, QVariant(), QVariant()});
    return container;
}

} // namespace

class tst_BaseContainerModel : public QObject
{
    Q_OBJECT
private slots:
    void shouldShowAndWriteContainerValuesOnceSet();
    void shouldDescribeColumnsInHeader_data();
    void shouldDescribeColumnsInHeader();
};

void tst_BaseContainerModel::shouldShowAndWriteContainerValuesOnceSet()
{
    BaseContainerModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(!model.index(0, 0).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    QVERIFY(!model.setData(model.index(0, 0), 1, Qt::DisplayRole));

    QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    const auto container = makeContainer();
    model.setContainer(container);
    QCOMPARE(aboutToReset.count(), 1);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.index(0, 0).data().userType(), int(QMetaType::Int));
    QCOMPARE(model.index(0, 1).data().userType(), int(QMetaType::QString));
    QCOMPARE(model.index(0, 2).data().toDateTime(), QDateTime(QDate(2019, 3, 4), QTime(8, 0)));
    QVERIFY(!model.index(1, 1).data().isValid());
    QVERIFY(!model.index(0, 1).data(Qt::EditRole).isValid());
    QVERIFY(!model.index(2, 0).isValid());
    QVERIFY(!model.index(0, 3).isValid());
    QVERIFY(!model.index(0, 0, model.index(0, 0)).isValid());
    QCOMPARE(model.flags(model.index(0, 0)), Qt::ItemIsSelectable | Qt::ItemIsEnabled);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(!model.setData(model.index(1, 1), QStringLiteral("edit"), Qt::EditRole));
    QVERIFY(!container->data(1, 1).isValid());
    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("new"), Qt::DisplayRole));
    QCOMPARE(container->data(1, 1).toString(), QStringLiteral("new"));
    QCOMPARE(changed.count(), 0);
}

void tst_BaseContainerModel::shouldDescribeColumnsInHeader_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("display text") << 1 << int(Qt::Horizontal) << int(Qt::DisplayRole) << QVariant("Text");
    QTest::newRow("id") << 1 << int(Qt::Horizontal) << int(Qt::UserRole) << QVariant("udf_text");
    QTest::newRow("group") << 2 << int(Qt::Horizontal) << int(Qt::UserRole + 1) << QVariant("User Defined Field");
    QTest::newRow("descriptor keeps its flags")
        << 1 << int(Qt::Horizontal) << int(Qt::UserRole + 2)
        << QVariant(QVariantMap{{"id", "udf_text"}, {"display", "Text"}, {"datatype", "string"},
                                {"group", "User Defined Field"}, {"structure", "true"}});
    QTest::newRow("other role") << 1 << int(Qt::Horizontal) << int(Qt::ToolTipRole) << QVariant();
    QTest::newRow("vertical") << 0 << int(Qt::Vertical) << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("past last column") << 3 << int(Qt::Horizontal) << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("negative section") << -1 << int(Qt::Horizontal) << int(Qt::UserRole + 2) << QVariant();
}

void tst_BaseContainerModel::shouldDescribeColumnsInHeader()
{
    QFETCH(int, section);
    QFETCH(int, orientation);
    QFETCH(int, role);
    QFETCH(QVariant, expected);

    BaseContainerModel model;
    model.setContainer(makeContainer());
    QCOMPARE(model.headerData(section, Qt::Orientation(orientation), role), expected);
}

QTEST_GUILESS_MAIN(tst_BaseContainerModel)
#include "tst_basecontainermodel.moc"
