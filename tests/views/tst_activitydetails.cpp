#include "activities.h"
#include "activitydetails.h"
#include "pddetaildelegate.h"
#include "pdfilterdialogpopup.h"
#include "pdfilterdialogproxymodel.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"
#include "plandeckresources.h"
#include "resources.h"
#include "xertestload.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <memory>

namespace {

// The demo project with some of its tables left out.
LoadRecord loadDemo(const QTemporaryDir &dir, const QString &name, const QStringList &without = {})
{
    QList<XerTestTable> tables = smallProjectTables();
    for (int i = tables.size() - 1; i >= 0; --i) {
        if (without.contains(tables.at(i).name))
            tables.removeAt(i);
    }
    const QString path = dir.filePath(name);
    writeFile(path, xerText(tables));
    return load(path);
}

// The activities view and the details panel wired as the main window wires
// them, over one loaded project.
struct Panel
{
    explicit Panel(const QStringList &without = {})
        : record(loadDemo(dir, QStringLiteral("demo.xer"), without))
    {
        const auto model = [this](const char *name) { return record.loader->model(QLatin1String(name)); };
        activities.setModels(model("ActivityModel"), model("PROJWBS"), model("ACTVTYPE"), model("ACTVCODE"),
                             model("PredecessorModel"), true);
        details.setActivityModel(model("ActivityModel"));
        details.setResourceModel(model("ResourceModel"));
        details.setPredecessorModel(model("PredecessorModel"));
        details.setCodesModel(model("CodeModel"));
        QObject::connect(&activities, &Activities::currentRowChanged, &details, &ActivityDetails::onRowChanged);
        details.setMessageHandler([this](QWidget *, const QString &text, bool) {
            messages << text;
            return answer;
        });
        for (QTableView *table : {details.predecessorTable(), details.successorTable(), details.resourceTable(),
                                  details.codesTable()}) {
            if (table->model())
                testers.push_back(std::make_unique<QAbstractItemModelTester>(
                    table->model(), QAbstractItemModelTester::FailureReportingMode::QtTest));
        }
    }

    QString treeCurrentId() const
    {
        return activities.treeView()->currentIndex().siblingAtColumn(0).data().toString();
    }
    QString text(const char *lineEdit) const
    {
        return details.findChild<QLineEdit *>(QLatin1String(lineEdit))->text();
    }
    static int rows(const QTableView *table) { return table->model() ? table->model()->rowCount() : 0; }
    // The row of a relationship table whose column holds a task id.
    static QModelIndex rowOf(const QTableView *table, int column, const QString &taskId)
    {
        const QAbstractItemModel *model = table->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, column).data().toString() == taskId)
                return model->index(row, 0);
        }
        return QModelIndex();
    }

    QTemporaryDir dir;
    LoadRecord record;
    Activities activities;
    ActivityDetails details{&activities};
    QStringList messages;
    bool answer = false;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};

// Activity rows of a tree in the order shown once every group is open.
QStringList activityOrder(const QAbstractItemModel *model, const QModelIndex &parent = QModelIndex())
{
    const int group = columnByName(model, QStringLiteral("Group"));
    QStringList ids;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.siblingAtColumn(group).data().isNull())
            ids << index.data().toString();
        ids << activityOrder(model, index);
    }
    return ids;
}

} // namespace

class tst_ActivityDetails : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shouldShowWhatTheFileHas_data();
    void shouldShowWhatTheFileHas();
    void shouldStepThroughActivitiesInTreeOrder();
    void shouldJumpToRelatedActivityAndBack();
    void shouldStartResourceFiltersAfreshForEachProject();
};

void tst_ActivityDetails::initTestCase()
{
    plandeck::initResources();
}

void tst_ActivityDetails::shouldShowWhatTheFileHas_data()
{
    QTest::addColumn<QStringList>("without");
    QTest::addColumn<int>("predecessors");
    QTest::addColumn<int>("successors");
    QTest::addColumn<int>("resources");
    QTest::addColumn<int>("codes");

    QTest::newRow("every table") << QStringList() << 1 << 1 << 1 << 2;
    QTest::newRow("no relationships") << QStringList{"TASKPRED"} << 0 << 0 << 1 << 2;
    QTest::newRow("no resource assignments") << QStringList{"TASKRSRC"} << 1 << 1 << 0 << 2;
    QTest::newRow("no activity codes") << QStringList{"TASKACTV"} << 1 << 1 << 1 << 0;
    QTest::newRow("none of them") << QStringList{"TASKPRED", "TASKRSRC", "TASKACTV"} << 0 << 0 << 0 << 0;
}

void tst_ActivityDetails::shouldShowWhatTheFileHas()
{
    QFETCH(QStringList, without);
    QFETCH(int, predecessors);
    QFETCH(int, successors);
    QFETCH(int, resources);
    QFETCH(int, codes);

    Panel panel(without);
    QVERIFY(panel.activities.selectActivity(2));

    QCOMPARE(panel.details.currentTaskId(), QStringLiteral("2"));
    QCOMPARE(panel.text("leName"), QStringLiteral("Excavate"));
    QCOMPARE(panel.text("leStart"), QStringLiteral("05-03-2019"));
    QCOMPARE(panel.text("leTaskType"), QStringLiteral("Task"));
    QCOMPARE(Panel::rows(panel.details.predecessorTable()), predecessors);
    QCOMPARE(Panel::rows(panel.details.successorTable()), successors);
    QCOMPARE(Panel::rows(panel.details.resourceTable()), resources);
    QCOMPARE(Panel::rows(panel.details.codesTable()), codes);
    // A table the file lacks is greyed out rather than shown empty.
    const QTabWidget *tabs = panel.details.tabWidget();
    QCOMPARE(tabs->isTabEnabled(1), !without.contains("TASKPRED"));
    QCOMPARE(tabs->isTabEnabled(2), !without.contains("TASKRSRC"));
    QCOMPARE(tabs->isTabEnabled(3), !without.contains("TASKACTV"));
    if (predecessors > 0) {
        const QAbstractItemModel *model = panel.details.predecessorTable()->model();
        QCOMPARE(PdDetailDelegate::cellText(model->index(0, 3)), QStringLiteral("FS"));
        QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("8h (1d)"));
        QCOMPARE(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Predecessor Name"));
        QCOMPARE(model->index(0, 8).data().toString(), QStringLiteral("Start"));
    }
    if (resources > 0) {
        Resources::setupResourceTable(panel.details.resourceTable());
        const QAbstractItemModel *model = panel.details.resourceTable()->model();
        const int type = columnByName(model, QStringLiteral("Resource Type"));
        QCOMPARE(PdDetailDelegate::cellText(model->index(0, type)), QStringLiteral("Labor"));
    }
}

void tst_ActivityDetails::shouldStepThroughActivitiesInTreeOrder()
{
    Panel panel;
    QList<PdGroupLevel> levels = PdGroupLevel::defaultLevels();
    levels[0].field = QStringLiteral("WBS Name");
    levels[0].interval = QStringLiteral("All");
    panel.activities.setGroupLevels(levels);
    QTreeView *tree = panel.activities.treeView();
    tree->collapseAll();
    const QStringList order = activityOrder(tree->model());
    QCOMPARE(order.size(), 6);
    auto *previous = panel.details.findChild<QToolButton *>(QStringLiteral("tbPrevious"));
    auto *next = panel.details.findChild<QToolButton *>(QStringLiteral("tbNext"));

    // Given no current row, Next starts at the first activity, inside its collapsed group.
    QVERIFY(!previous->isEnabled());
    QStringList visited;
    while (next->isEnabled()) {
        QVERIFY(panel.details.nextActivity().isValid());
        QCOMPARE(panel.treeCurrentId(), panel.details.currentTaskId());
        visited << panel.details.currentTaskId();
    }
    QCOMPARE(visited, order);
    QVERIFY(!panel.details.nextActivity().isValid());
    QCOMPARE(panel.details.currentTaskId(), order.last());

    QStringList back{panel.details.currentTaskId()};
    while (previous->isEnabled()) {
        QVERIFY(panel.details.previousActivity().isValid());
        QCOMPARE(panel.treeCurrentId(), panel.details.currentTaskId());
        back.prepend(panel.details.currentTaskId());
    }
    QCOMPARE(back, order);

    // A group row empties the tables and leaves the General tab as it was.
    const QString name = panel.text("leName");
    tree->setCurrentIndex(tree->model()->index(0, 0));
    QCOMPARE(Panel::rows(panel.details.codesTable()), 0);
    QCOMPARE(Panel::rows(panel.details.predecessorTable()), 0);
    QCOMPARE(panel.text("leName"), name);
}

void tst_ActivityDetails::shouldJumpToRelatedActivityAndBack()
{
    Panel panel;
    QVERIFY(panel.activities.selectActivity(3));

    // Activity 3 follows 2 (start to start) and 1 (start to finish).
    QTableView *predecessors = panel.details.predecessorTable();
    QCOMPARE(Panel::rows(predecessors), 2);
    panel.details.gotoPredecessor(Panel::rowOf(predecessors, 1, QStringLiteral("2")));
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("2"));
    QCOMPARE(panel.details.currentTaskId(), QStringLiteral("2"));

    panel.details.gotoSuccessor(Panel::rowOf(panel.details.successorTable(), 0, QStringLiteral("3")));
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("3"));

    QVERIFY(panel.details.goBack());
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("2"));
    QVERIFY(panel.details.goBack());
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("3"));
    QVERIFY(!panel.details.goBack());

    // A filter hides the predecessor: the user is asked, and nothing moves on No.
    PdFilterDialogProxyModel *filters = panel.activities.filterProxy();
    const int code = columnByName(filters, QStringLiteral("Activity ID"));
    filters->setPatternFilter(code, {QStringLiteral("A1020")});
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("3"));
    panel.details.gotoPredecessor(Panel::rowOf(predecessors, 1, QStringLiteral("2")));
    QCOMPARE(panel.messages.size(), 1);
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("3"));
    // On Yes the filters go and the jump is made.
    panel.answer = true;
    panel.details.gotoPredecessor(Panel::rowOf(predecessors, 1, QStringLiteral("2")));
    QVERIFY(!filters->hasFilters());
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("2"));
    panel.answer = false;
    panel.messages.clear();
    QVERIFY(panel.details.goBack());

    // Activity 5's predecessor 999 is in another project: the user is told, nothing moves.
    QVERIFY(panel.activities.selectActivity(5));
    panel.details.gotoPredecessor(Panel::rowOf(predecessors, 1, QStringLiteral("999")));
    QCOMPARE(panel.messages.size(), 1);
    QCOMPARE(panel.treeCurrentId(), QStringLiteral("5"));
    QVERIFY(!panel.details.goBack());
}

void tst_ActivityDetails::shouldStartResourceFiltersAfreshForEachProject()
{
    QTemporaryDir dir;
    Resources page;
    page.resize(900, 300);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto first = std::make_unique<LoadRecord>(loadDemo(dir, QStringLiteral("first.xer")));
    page.setModel(first->loader->model(QStringLiteral("ResourceModel")));
    Resources::setupResourceTable(page.tableView());
    const int name = columnByName(page.sourceModel(), QStringLiteral("Resource Name"));
    page.filterProxy()->setPatternFilter(name, {QStringLiteral("Crane")});
    page.header()->addFilter(name);
    QCOMPARE(page.filterProxy()->rowCount(), 1);

    // Close, then open another project.
    page.setModel(nullptr);
    first.reset();
    QCOMPARE(page.tableView()->model(), nullptr);
    const LoadRecord second = loadDemo(dir, QStringLiteral("second.xer"));
    page.setModel(second.loader->model(QStringLiteral("ResourceModel")));
    Resources::setupResourceTable(page.tableView());
    const QAbstractItemModelTester tester(page.filterProxy(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(!page.header()->hasFilters());
    QCOMPARE(page.filterProxy()->rowCount(), 2);

    // One click on a section's button opens one popup, from the new controller.
    int popups = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&popups] {
        if (auto *popup = qobject_cast<PdFilterDialogPopUp *>(QApplication::activePopupWidget())) {
            ++popups;
            popup->close();
        }
    });
    poll.start(5);
    const QPoint button = PdSortFilterWidget::buttonRect(page.header()->sectionRect(name)).center();
    QTest::mouseClick(page.header()->viewport(), Qt::LeftButton, Qt::NoModifier, button);
    QTest::qWait(50);
    poll.stop();
    QCOMPARE(popups, 1);

    // A double click on an assignment asks for its activity, whatever the sort.
    page.filterProxy()->sort(name, Qt::DescendingOrder);
    QSignalSpy activated(&page, &Resources::activityActivated);
    const QModelIndex crane = page.filterProxy()->index(1, name);
    QCOMPARE(crane.data().toString(), QStringLiteral("Crane"));
    const QPoint cell = page.tableView()->visualRect(crane).center();
    // The view takes a double click only on the index the press before it hit.
    QTest::mouseClick(page.tableView()->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(page.tableView()->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("3"));
}

QTEST_MAIN(tst_ActivityDetails)
#include "tst_activitydetails.moc"
