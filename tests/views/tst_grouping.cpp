#include "activities.h"
#include "activitygrouping.h"
#include "ganttchart.h"
#include "pdfilterdialogproxymodel.h"
#include "pdgroupedtreeview.h"
#include "pdjoinproxymodel.h"
#include "pdmodelutils.h"
#include "taskitem.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QtTest>

namespace {

const QStringList MasterColumns{"ID",         "parentID",   "Group",  "task_id", "Activity ID", "Activity Name",
                                "wbs_id",     "Start Date", "Finish Date", "Phase", "Weight",  "Row Number",
                                "Outline Level", "Predecessors Details Rows"};

QDateTime at(const QString &date)
{
    return QDateTime(QDate::fromString(date, Qt::ISODate), QTime(8, 0));
}

void describe(QStandardItemModel *model, const QStringList &names, const QStringList &dates,
              const QStringList &structured = {})
{
    model->setHorizontalHeaderLabels(names);
    for (int c = 0; c < names.size(); ++c) {
        const QVariantMap descriptor{{"display", names.at(c)},
                                     {"datatype", dates.contains(names.at(c)) ? "datetime" : "string"},
                                     {"structure", structured.contains(names.at(c))}};
        model->setHeaderData(c, Qt::Horizontal, descriptor, Qt::UserRole + 2);
    }
}

// Six activities in file order; the WBS lists Mech before Civil by sequence
// number although Civil's id is lower, and one node holds no activity.
struct Project
{
    Project()
    {
        master.setObjectName("master");
        describe(&master, MasterColumns, {"Start Date", "Finish Date"});
        const struct
        {
            const char *id;
            QVariant wbs, phase, weight;
            const char *start;
        } rows[] = {{"A1", 11, "Build", 10, "2026-01-05"}, {"A2", 12, "Design", 2, "2025-02-10"},
                    {"A3", 11, "", 1, "2026-04-01"},       {"A4", 10, "Build", QVariant(), "2025-01-20"},
                    {"A5", 99, "Design", 10, ""},          {"A6", QVariant(), "Test", 2, "2026-02-14"}};
        for (const auto &row : rows) {
            const int r = master.rowCount();
            master.insertRow(r);
            const auto set = [&](const char *column, const QVariant &value) {
                master.setData(master.index(r, MasterColumns.indexOf(column)), value);
            };
            set("ID", 100 + r);
            set("task_id", 100 + r);
            set("Activity ID", row.id);
            set("Activity Name", QStringLiteral("Work %1").arg(row.id));
            set("wbs_id", row.wbs);
            set("Phase", row.phase);
            set("Weight", row.weight);
            if (*row.start) {
                set("Start Date", at(row.start));
                set("Finish Date", at(row.start).addDays(10 + r));
            }
        }
        wbs.setObjectName("PROJWBS");
        describe(&wbs, {"wbs_id", "seq_num", "WBS Code", "WBS Name", "parent_wbs_id"}, {}, {"WBS Code", "WBS Name"});
        const QVariantList nodes[] = {{10, 1, "S", "Site", QVariant()},
                                      {11, 2, "S.C", "Civil", 10},
                                      {12, 1, "S.M", "Mech", 10},
                                      {13, 3, "S.E", "Empty", 10}};
        for (const QVariantList &node : nodes) {
            QList<QStandardItem *> items;
            for (const QVariant &value : node) {
                auto *item = new QStandardItem;
                item->setData(value, Qt::DisplayRole);
                items << item;
            }
            wbs.appendRow(items);
        }
        // A1's predecessors: A4 (no lag), A2 (a lag that rounds up) and one
        // outside the file.
        describe(&relations, {"task_id", "pred_task_id", "Type", "Lag", "Activity ID", "Activity ID"}, {});
        const QVariantList links[] = {{100, 103, "PR_FS", 0.0, "A1", "A4"},
                                      {100, 101, "PR_SS", 7.6, "A1", "A2"},
                                      {100, 900, "PR_FF", -2.0, "A1", "X9"}};
        for (const QVariantList &link : links) {
            QList<QStandardItem *> items;
            for (const QVariant &value : link) {
                items << new QStandardItem;
                items.last()->setData(value, Qt::DisplayRole);
            }
            items << new QStandardItem;
            relations.appendRow(items);
        }
        join.setSourceModel(&master);
        join.addMapping(&wbs, 0, {2, 3}, MasterColumns.indexOf("wbs_id"));
        view.setModels(&join, &wbs, nullptr, nullptr, &relations, true);
        tester = std::make_unique<QAbstractItemModelTester>(view.shownModel(),
                                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    void group(const QString &text) { view.setGroupLevels(PdGroupLevel::fromText(text)); }
    QVariant cell(const QModelIndex &index, const QString &column) const
    {
        return index.siblingAtColumn(columnByName(index.model(), column)).data();
    }

    // Group rows as "text[children]", activities by their id.
    QString tree(const QModelIndex &parent = QModelIndex()) const
    {
        const QAbstractItemModel *model = view.shownModel();
        QStringList parts;
        for (int r = 0; r < model->rowCount(parent); ++r) {
            const QModelIndex index = model->index(r, 0, parent);
            if (view.treeView()->isGroupRow(index))
                parts << cell(index, "Group").toString() + "[" + tree(index) + "]";
            else
                parts << cell(index, "Activity ID").toString();
        }
        return parts.join(' ');
    }

    QStandardItemModel master;
    QStandardItemModel wbs;
    QStandardItemModel relations;
    PdJoinProxyModel join;
    Activities view;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

QModelIndexList chartRows(const mygc::GanttChart *chart)
{
    QModelIndexList rows;
    for (int r = 0; r < chart->itemCount(); ++r)
        rows << chart->item(r)->index();
    return rows;
}

QModelIndexList shownRows(const QTreeView *tree)
{
    QModelIndexList rows;
    for (QModelIndex index = tree->model()->index(0, 0); index.isValid(); index = tree->indexBelow(index))
        rows << index.siblingAtColumn(0);
    return rows;
}

} // namespace

class TestGrouping : public QObject
{
    Q_OBJECT
private slots:
    void groupsAsWritten_data();
    void groupsAsWritten();
    void groupDatesComeFromTheirChildren();
    void rowNumbersFollowTheShownOrder_data();
    void rowNumbersFollowTheShownOrder();
    void currentActivitySurvivesARegrouping();
    void loopingStructureEndsWithEveryRowOnce();
};

void TestGrouping::groupsAsWritten_data()
{
    QTest::addColumn<QStringList>("groupings");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one group per text in value order, blanks last")
        << QStringList{"Phase;"} << "Build[A1 A4] Design[A2 A5] Test[A6] (No value)[A3]";
    QTest::newRow("numbers in numeric order")
        << QStringList{"Weight;"} << "1[A3] 2[A2 A6] 10[A1 A5] (No value)[A4]";
    QTest::newRow("WBS tree by sequence, own activities first, unknown node on top")
        << QStringList{"WBS Name;All"} << "Site[A4 Mech[A2] Civil[A1 A3]] 99[A5] (No value)[A6]";
    QTest::newRow("WBS cut at depth one keeps the file order")
        << QStringList{"WBS Name;1"} << "Site[A1 A2 A3 A4] 99[A5] (No value)[A6]";
    QTest::newRow("WBS cut at a group dialog depth")
        << QStringList{"WBS Code;To level 1"} << "Site[A1 A2 A3 A4] 99[A5] (No value)[A6]";
    QTest::newRow("quarters of two years stay apart")
        << QStringList{"Start Date;Quarter"} << "2025 Q1[A2 A4] 2026 Q1[A1 A6] 2026 Q2[A3] (No value)[A5]";
    QTest::newRow("two levels cross, sub-groups by their own value")
        << QStringList{"Phase;,Weight;"}
        << "Build[10[A1] (No value)[A4]] Design[2[A2] 10[A5]] Test[2[A6]] (No value)[1[A3]]";
    QTest::newRow("WBS then a flat level splits the leaf groups")
        << QStringList{"WBS Name;All,Phase;"}
        << "Site[A4 Mech[Design[A2]] Civil[Build[A1] (No value)[A3]]] 99[Design[A5]] (No value)[Test[A6]]";
    QTest::newRow("regrouping twice leaves one set of group rows")
        << QStringList{"WBS Name;All", "Weight;", "Phase;"} << "Build[A1 A4] Design[A2 A5] Test[A6] (No value)[A3]";
    QTest::newRow("a field no model has leaves the list flat")
        << QStringList{"Phase;", "Nonsense;"} << "A1 A2 A3 A4 A5 A6";
    QTest::newRow("no level in use leaves the list flat") << QStringList{"Phase;", ";"} << "A1 A2 A3 A4 A5 A6";
}

void TestGrouping::groupsAsWritten()
{
    QFETCH(QStringList, groupings);
    QFETCH(QString, expected);
    Project p;
    for (const QString &text : groupings) {
        p.group(text);
        // The chart shows the tree's rows after every regrouping.
        QCOMPARE(chartRows(p.view.ganttChart()), shownRows(p.view.treeView()));
    }
    QCOMPARE(p.tree(), expected);
    const int groups = expected.count('[');
    QCOMPARE(p.master.rowCount(), 6 + groups);
    QCOMPARE(p.view.initialRowCount(), 6);
    // A new grouping opens its top groups.
    const QAbstractItemModel *shown = p.view.shownModel();
    for (int r = 0; r < shown->rowCount(); ++r)
        QCOMPARE(p.view.treeView()->isExpanded(shown->index(r, 0)), shown->hasChildren(shown->index(r, 0)));
}

void TestGrouping::groupDatesComeFromTheirChildren()
{
    Project p;
    p.group("WBS Name;All");
    p.group("Phase;");
    QMap<QString, QPair<QDateTime, QDateTime>> dates;
    for (const QModelIndex &index : allIndexes(p.view.shownModel())) {
        if (p.view.treeView()->isGroupRow(index))
            dates.insert(p.cell(index, "Group").toString(),
                         {p.cell(index, "Start Date").toDateTime(), p.cell(index, "Finish Date").toDateTime()});
    }
    QCOMPARE(dates.value("Build").first, at("2025-01-20"));
    QCOMPARE(dates.value("Build").second, at("2026-01-05").addDays(10));
    // A5 has no dates: its group has none either, and no date from the WBS
    // grouping before survives in its row.
    QCOMPARE(dates.value("Design").first, at("2025-02-10"));
    QVERIFY(!dates.value("Test").first.isNull());
    p.master.setData(p.master.index(1, MasterColumns.indexOf("Start Date")), QVariant());
    p.master.setData(p.master.index(1, MasterColumns.indexOf("Finish Date")), QVariant());
    p.group("Phase;");
    for (const QModelIndex &index : allIndexes(p.view.shownModel())) {
        if (p.cell(index, "Group").toString() == "Design")
            QVERIFY(!p.cell(index, "Start Date").isValid());
    }
}

void TestGrouping::rowNumbersFollowTheShownOrder_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("sort") << QStringList{"sort"};
    QTest::newRow("filter") << QStringList{"filter"};
    QTest::newRow("regroup a sorted tree") << QStringList{"sort", "regroup"};
    QTest::newRow("regroup, then filter") << QStringList{"regroup", "filter"};
    QTest::newRow("filter lifted") << QStringList{"filter", "sort", "unfilter"};
}

void TestGrouping::rowNumbersFollowTheShownOrder()
{
    QFETCH(QStringList, steps);
    Project p;
    p.group("WBS Name;All");
    const int idColumn = MasterColumns.indexOf("Activity ID");
    const int numberColumn = MasterColumns.indexOf("Row Number");
    // Each shown row numbered in order, and no row the tree does not show
    // still carrying a number from before.
    const auto numbersInOrder = [&] {
        const QModelIndexList rows = allIndexes(p.view.shownModel());
        for (int k = 0; k < rows.size(); ++k) {
            if (p.cell(rows.at(k), "Row Number").toInt() != k + 1)
                return false;
            if (p.cell(rows.at(k), "Outline Level").toInt() != depthOf(rows.at(k)) + 1)
                return false;
        }
        int numbered = 0;
        for (int r = 0; r < p.join.rowCount(); ++r)
            numbered += p.join.index(r, numberColumn).data().isValid() ? 1 : 0;
        return !rows.isEmpty() && numbered == rows.size();
    };
    QVERIFY(numbersInOrder());
    for (const QString &step : steps) {
        if (step == "sort")
            p.view.treeView()->sortByColumn(idColumn, Qt::DescendingOrder);
        else if (step == "regroup")
            p.group("Phase;");
        else if (step == "filter")
            p.view.filterProxy()->setPatternFilter(idColumn, {"A1", "A2", "A5"});
        else if (step == "unfilter")
            p.view.filterProxy()->clearFilters();
        QVERIFY2(QTest::qWaitFor(numbersInOrder), qPrintable(step));
    }
    // A1's predecessors by the numbers their rows show now, 0 for one not
    // shown: A2 with its lag, A4, and X9 from outside the file.
    const auto numberOf = [&](int masterRow) {
        return QString::number(p.join.index(masterRow, numberColumn).data().toInt());
    };
    QCOMPARE(p.join.index(0, MasterColumns.indexOf("Predecessors Details Rows")).data().toString(),
             numberOf(1) + "SS+8h, " + numberOf(3) + "FS, 0FF-2h");
}

void TestGrouping::currentActivitySurvivesARegrouping()
{
    Project p;
    PdGroupedTreeView *tree = p.view.treeView();
    const auto groupNamed = [&](const QString &name) {
        for (const QModelIndex &index : allIndexes(p.view.shownModel())) {
            if (p.cell(index, "Group").toString() == name)
                return index;
        }
        return QModelIndex();
    };
    const auto currentId = [&] { return p.cell(tree->currentIndex(), "Activity ID").toString(); };
    p.group("WBS Name;All");
    QVERIFY(p.view.selectActivity(100));
    tree->collapse(groupNamed("Mech"));
    p.group("WBS Name;All");
    QCOMPARE(currentId(), QString("A1"));
    QVERIFY(!tree->isExpanded(groupNamed("Mech")));
    QVERIFY(tree->isExpanded(groupNamed("Civil")));
    p.group("Phase;");
    QCOMPARE(currentId(), QString("A1"));

    // Find by name, case aside, opening the group it sits in.
    tree->collapseAll();
    QVERIFY(p.view.findActivity("work a2"));
    QCOMPARE(currentId(), QString("A2"));
    QVERIFY(tree->isExpanded(tree->currentIndex().parent()));
    QCOMPARE(p.view.ganttChart()->rowOfIndex(tree->currentIndex()), shownRows(tree).indexOf(tree->currentIndex().siblingAtColumn(0)));
    QVERIFY(!p.view.findActivity("no such activity"));
}

// Duplicate ids in a damaged file can make two WBS nodes each other's
// parent: the grouping must end, and every row stand in one group.
void TestGrouping::loopingStructureEndsWithEveryRowOnce()
{
    ActivityGroupingLevel level;
    level.keyOfRow = {0, 1, -1, 2};
    level.keyTexts = {"a", "b", "c"};
    level.displays = {"A", "B", "C"};
    level.parentOf = {1, 0, 0};
    level.name = "WBS Name;All";
    ActivityGrouping grouping;
    grouping.build({level}, 4);
    QVector<int> seen(4, 0);
    for (const ActivityGrouping::Group &group : grouping.groups()) {
        for (int row : group.rows)
            ++seen[row];
    }
    QCOMPARE(seen, QVector<int>({1, 1, 1, 1}));
}

QTEST_MAIN(TestGrouping)
#include "tst_grouping.moc"
