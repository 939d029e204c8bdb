#include "pdgroupedtreeview.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// G1 [A1, G2 [A2, G3 [A3]]] with the group text in column 2: three levels
// of groups, one more than there are styles.
QStandardItemModel *groupedModel()
{
    auto *model = new QStandardItemModel(0, 3);
    const auto row = [](const QString &id, const QString &group) {
        QList<QStandardItem *> items{new QStandardItem(id), new QStandardItem(id + " name"), new QStandardItem};
        if (!group.isEmpty())
            items.at(2)->setData(group, Qt::DisplayRole);
        return items;
    };
    QList<QStandardItem *> g1 = row(QString(), "G1");
    QList<QStandardItem *> g2 = row(QString(), "G2");
    QList<QStandardItem *> g3 = row(QString(), "G3");
    g3.first()->appendRow(row("A3", QString()));
    g2.first()->appendRow(row("A2", QString()));
    g2.first()->appendRow(g3);
    g1.first()->appendRow(row("A1", QString()));
    g1.first()->appendRow(g2);
    model->appendRow(g1);
    return model;
}

} // namespace

class TestPdGroupedTreeView : public QObject
{
    Q_OBJECT
private slots:
    void paintsLevelBandsAndStrips_data();
    void paintsLevelBandsAndStrips();
};

void TestPdGroupedTreeView::paintsLevelBandsAndStrips_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("x");
    QTest::addColumn<QColor>("expected");

    const QColor red(200, 0, 0), green(0, 150, 0), white(Qt::white), grey(230, 230, 230);
    // Rows top down: G1, A1, G2, A2, G3, A3; indentation 15.
    QTest::newRow("top group band") << 0 << 250 << red;
    QTest::newRow("top group strip, beside its arrow") << 0 << 2 << red;
    QTest::newRow("activity under it: one strip") << 1 << 7 << red;
    QTest::newRow("activity under it: row background after the strip") << 1 << 22 << grey;
    QTest::newRow("second group band starts right of its strips") << 2 << 40 << green;
    QTest::newRow("second group: its own strip, beside its arrow") << 2 << 17 << green;
    QTest::newRow("activity at depth two: second strip") << 3 << 22 << green;
    QTest::newRow("activity at depth two: first strip") << 3 << 7 << red;
    QTest::newRow("group past the styles: no band") << 4 << 250 << white;
    QTest::newRow("group past the styles: strips above it") << 4 << 22 << green;
}

void TestPdGroupedTreeView::paintsLevelBandsAndStrips()
{
    QFETCH(int, row);
    QFETCH(int, x);
    QFETCH(QColor, expected);
    std::unique_ptr<QStandardItemModel> model(groupedModel());
    PdGroupedTreeView view;
    view.setModel(model.get());
    view.setGroupColumn(2);
    view.setMergeColumns(3);
    QCOMPARE(view.mergeColumns(), 2);
    view.setLevelStyles({{QColor(200, 0, 0), QFont(), QColor(Qt::white)}, {QColor(0, 150, 0), QFont(), QColor()}});
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(230, 230, 230));
    view.setPalette(palette);
    view.setAlternatingRowColors(true);
    view.header()->resizeSection(0, 100);
    view.header()->resizeSection(1, 200);
    view.resize(500, 300);
    view.expandAll();

    QModelIndexList rows;
    for (QModelIndex index = model->index(0, 0); index.isValid(); index = view.indexBelow(index))
        rows << index;
    QCOMPARE(rows.size(), 6);
    QCOMPARE(view.levelOf(rows.at(3)), 1);
    QVERIFY(view.isGroupRow(rows.at(4)));
    const QImage image = view.viewport()->grab().toImage();
    const int y = view.visualRect(rows.at(row)).center().y();
    QCOMPARE(image.pixelColor(x, y), expected);
}

QTEST_MAIN(TestPdGroupedTreeView)
#include "tst_pdgroupedtreeview.moc"
