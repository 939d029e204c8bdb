#include "activities.h"
#include "apptesting.h"
#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "pdfilterdialogproxymodel.h"
#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"
#include "pdsortfilterheader.h"
#include "projectloader.h"
#include "taskitem.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTreeView>

#include <sys/stat.h>

namespace {

const QStringList ProjectCommands{"actionColumns", "actionGroup", "actionDetail", "actionExport",
                                  "actionStyles",  "actionSnip",  "actionPrint",  "actionClose",
                                  "menuOutline",   "menuTime",    "menuView"};

const QString TwoActivities = QStringLiteral("%T\tTASK\r\n%F\ttask_id\ttask_code\ttask_name\r\n"
                                             "%R\t1\tA100\tSite clearance\r\n%R\t2\tA110\tExcavation\r\n");

bool commandEnabled(const MainWindow &window, const QString &name)
{
    if (const auto *action = window.findChild<QAction *>(name))
        return action->isEnabled();
    const auto *menu = window.findChild<QMenu *>(name);
    return menu && menu->isEnabled() && menu->menuAction()->isEnabled();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void projectCommandsFollowTheProject_data();
    void projectCommandsFollowTheProject();
    void loadingShowsOneRowPerActivity_data();
    void loadingShowsOneRowPerActivity();
    void openingAgainBeforeTheFirstLoadEnds();
    void secondLoadReplacesTheProjectOnlyWhenItOpens_data();
    void secondLoadReplacesTheProjectOnlyWhenItOpens();
    void chosenFileName_data();
    void chosenFileName();
    void outlineCommands_data();
    void outlineCommands();
    void timeActionsSetTheChartBands_data();
    void timeActionsSetTheChartBands();
    void viewSwitchesPageAndDetail();
    void filtersShowInColumnsIconCountAndClearCommand();
    void droppedFile_data();
    void droppedFile();

private:
    QString write(const QString &name, const QByteArray &content) { return writeFile(m_dir.filePath(name), content); }
    QTemporaryDir m_dir;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useConfigIn(m_dir);
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
}

void TestMainWindow::projectCommandsFollowTheProject_data()
{
    // `name` empty: nothing is opened; `content` null: the file is never written.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("closeAfterwards");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("says");

    QTest::newRow("at start") << QString() << QByteArray() << false << false << QString();
    QTest::newRow("after a load") << "loaded.xer" << xerText(TwoActivities) << false << true << QString();
    QTest::newRow("after a load and Close") << "closed.xer" << xerText(TwoActivities) << true << false << QString();
    QTest::newRow("after a load without activities")
        << "empty.xer" << xerText(QStringLiteral("%T\tPROJECT\r\n%F\tproj_id\r\n%R\t1\r\n")) << false << false
        << QString();
    QTest::newRow("missing file tells the user") << "missing.xer" << QByteArray() << false << false
                                                 << "cannot be opened";
    QTest::newRow("text that is not XER tells the user")
        << "notes.xer" << QByteArray("Dear planner,\r\n") << false << false << "is not an XER schedule file";
}

void TestMainWindow::projectCommandsFollowTheProject()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, closeAfterwards);
    QFETCH(bool, enabled);
    QFETCH(QString, says);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString text;
    if (!says.isEmpty())
        captureMessageBox(&text);
    const QString path = content.isNull() ? m_dir.filePath(name) : write(name, content);
    if (!name.isEmpty()) {
        window.openProjectFile(path);
        QVERIFY(waitForLoad(window));
    }
    if (!says.isEmpty()) {
        QTRY_VERIFY(!text.isEmpty());
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)) && text.contains(says), qPrintable(text));
        QVERIFY(!window.loader());
        QVERIFY(window.recentFiles().isEmpty() || window.recentFiles().entries().constFirst().file != path);
    }
    if (closeAfterwards)
        window.findChild<QAction *>(QStringLiteral("actionClose"))->trigger();

    for (const QString &command : ProjectCommands)
        QVERIFY2(commandEnabled(window, command) == enabled, qPrintable(command));
    for (const char *command : {"actionOpen_file", "actionImportLayout", "actionAbout"})
        QVERIFY2(commandEnabled(window, QLatin1String(command)), command);
    const bool open = !name.isEmpty() && says.isEmpty() && !closeAfterwards;
    QCOMPARE(window.windowTitle(), open ? path : QStringLiteral("Plandeck"));
    // Without a project the chart keeps no rows and no scale of the last one.
    const mygc::GanttChart *chart = window.activities()->ganttChart();
    QCOMPARE((chart->itemCount() == 0), !enabled);
    QCOMPARE(chart->dateAxis()->isScaleHidden(), !enabled);
    QCOMPARE(chart->chartArea()->width() > 0, enabled);
}

void TestMainWindow::loadingShowsOneRowPerActivity_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("demo schedule") << QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.xer");
    const QDir samples(QStringLiteral(PLANDECK_SAMPLES_DIR));
    // One of each line-end twin: both read alike is the reader's own concern.
    for (const QString &name : samples.entryList({QStringLiteral("*.crlf.xer")}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << samples.filePath(name);
}

void TestMainWindow::loadingShowsOneRowPerActivity()
{
    QFETCH(QString, path);
    if (!QFile::exists(path))
        QSKIP("File not present");
    MainWindow window;
    window.show();
    window.openProjectFile(path);
    QVERIFY(progressDialogShown(window));
    QVERIFY(waitForLoad(window));
    QVERIFY(window.loader());

    QTreeView *tree = window.activities()->treeView();
    QAbstractItemModelTester tester(tree->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The built-in default layout, applied after every load.
    QCOMPARE(visibleColumnNames(tree->header()),
             (QStringList{"Activity ID", "Activity Name", "Activity Type", "Start Date", "Finish Date", "Total float",
                          "Free float", "Remaining Duration", "Planned Duration"}));
    QCOMPARE(tree->treePosition(), firstVisibleColumn(tree->header()));
    QCOMPARE(tree->model()->rowCount(), window.loader()->model(QStringLiteral("TASK"))->rowCount());
    QVERIFY(tree->model()->rowCount() > 0);

    // The chart shows the same rows, every link whose two ends are shown, every bar on the scale.
    const mygc::GanttChart *chart = window.activities()->ganttChart();
    QCOMPARE(chart->itemCount(), tree->model()->rowCount());
    QSet<int> ids;
    for (int r = 0; r < chart->itemCount(); ++r)
        ids << chart->item(r)->id();
    const QAbstractItemModel *links = window.loader()->model(QStringLiteral("PredecessorModel"));
    int joined = 0;
    for (int r = 0; links && r < links->rowCount(); ++r)
        joined += ids.contains(links->index(r, 0).data().toInt()) && ids.contains(links->index(r, 1).data().toInt());
    QCOMPARE(chart->relationships().size(), joined);
    QVERIFY(joined > 0);
    const mygc::DateAxis *axis = chart->dateAxis();
    for (int r = 0; r < chart->itemCount(); ++r) {
        const mygc::TaskItem &item = *chart->item(r);
        if (chart->chartArea()->chartRow(r).hasDates)
            QVERIFY(axis->xForDate(item.start()) >= 0 && axis->xForDate(item.finish()) <= axis->axisWidth());
    }
    QVERIFY(!window.grab().isNull());

    // No date is cut off in the first rows.
    for (const char *name : {"Start Date", "Finish Date"}) {
        const int column = columnByName(tree->model(), QLatin1String(name));
        for (int row = 0; row < std::min(50, tree->model()->rowCount()); ++row)
            QVERIFY2(tree->sizeHintForIndex(tree->model()->index(row, column)).width() <= tree->columnWidth(column), name);
    }
    QCOMPARE(window.recentFiles().entries().constFirst().file, path);
}

void TestMainWindow::openingAgainBeforeTheFirstLoadEnds()
{
    const QString first = write(QStringLiteral("first.xer"), xerText(TwoActivities));
    const QString second = write(
        QStringLiteral("second.xer"),
        xerText(QStringLiteral("%T\tTASK\r\n%F\ttask_id\ttask_code\r\n%R\t7\tB1\r\n%R\t8\tB2\r\n%R\t9\tB3\r\n")));
    auto *window = new MainWindow;
    window->openProjectFile(first);
    window->openProjectFile(second);
    QVERIFY(waitForLoad(*window));
    // Give a finish queued by the first loader every chance to arrive.
    QTest::qWait(50);
    QCOMPARE(window->activities()->treeView()->model()->rowCount(), 3);

    // Destroying the window in the middle of a load must wait for the worker, not crash.
    window->openProjectFile(first);
    delete window;
}

void TestMainWindow::secondLoadReplacesTheProjectOnlyWhenItOpens_data()
{
    // `content` null: a FIFO, which blocks whoever opens it until a writer comes.
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("warning");

    const QByteArray good = xerText(TwoActivities + QStringLiteral("%R\t3\tA120\tPour\r\n"));
    QTest::newRow("a good file replaces it") << good << false << QString() << QString();
    QTest::newRow("a file cut short replaces it with a warning")
        << good.left(good.indexOf("%E")) << false << QString() << "cut short. 3 activities were read";
    QTest::newRow("a load cancelled from the dialog") << good << true << QString() << QString();
    QTest::newRow("a FIFO is refused") << QByteArray() << false << "It is not a regular file" << QString();
    QTest::newRow("text that is not XER") << QByteArray("Dear planner,\r\n") << false
                                          << "is not an XER schedule file" << QString();
}

void TestMainWindow::secondLoadReplacesTheProjectOnlyWhenItOpens()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, cancel);
    QFETCH(QString, failure);
    QFETCH(QString, warning);

    // Given a window showing a project of two activities,
    const QString first = write(QStringLiteral("shown.xer"), xerText(TwoActivities));
    MainWindow window;
    window.show();
    QVERIFY(loadInto(window, first));
    const ProjectLoader *shown = window.loader();
    QVERIFY(shown);

    // when a second file is opened,
    const QString second = m_dir.filePath(QStringLiteral("second-%1.xer").arg(QTest::currentDataTag()));
    if (content.isNull())
        QCOMPARE(::mkfifo(QFile::encodeName(second).constData(), 0600), 0);
    else
        QCOMPARE(write(QFileInfo(second).fileName(), content), second);
    QString text;
    if (!failure.isEmpty())
        captureMessageBox(&text);
    window.openProjectFile(second);
    if (cancel) {
        QProgressDialog *dialog = window.progressDialog();
        QVERIFY(dialog);
        const auto buttons = dialog->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 1);
        buttons.first()->click();
    }
    QVERIFY(waitForLoad(window));
    QTest::qWait(50);

    // then it replaces the project only if it opened, and says why not or what is wrong with it.
    const bool opened = !cancel && failure.isEmpty();
    QCOMPARE(window.loader() == shown, !opened);
    QCOMPARE(window.activities()->treeView()->model()->rowCount(), opened ? 3 : 2);
    QCOMPARE(window.windowTitle(), opened ? second : first);
    QCOMPARE(window.recentFiles().entries().constFirst().file, opened ? second : first);
    if (!failure.isEmpty()) {
        QTRY_VERIFY(!text.isEmpty());
        QVERIFY2(text.contains(failure), qPrintable(text));
    }
    const auto *box = window.findChild<QMessageBox *>(QStringLiteral("loadWarnings"));
    QCOMPARE(box != nullptr, !warning.isEmpty());
    if (box)
        QVERIFY2(box->isVisible() && box->informativeText().contains(warning), qPrintable(box->informativeText()));
}

void TestMainWindow::chosenFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opened");

    QTest::newRow("upper-case XER is opened") << "PLAN.XER" << true;
    QTest::newRow("a name merely containing xer is ignored") << "plan.xer.txt" << false;
    QTest::newRow("cancelled dialog") << QString() << false;
}

void TestMainWindow::chosenFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, opened);

    const QString path = name.isEmpty() ? QString() : write(name, xerText(TwoActivities));
    MainWindow window;
    QString filter;
    window.setFileChooser([&](QWidget *, const QString &, const QString &, const QString &f) {
        filter = f;
        return path;
    });
    window.findChild<QAction *>(QStringLiteral("actionOpen_file"))->trigger();
    QCOMPARE(filter, QStringLiteral("Project files (*.xer)"));
    QVERIFY(waitForLoad(window));
    QCOMPARE(window.loader() != nullptr, opened);
}

void TestMainWindow::outlineCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("state");

    // Three top groups, each with two sub-groups of two activities: 3 + 6 + 12 rows.
    QTest::newRow("Level 1 shows only the top rows") << "actionLevel_1" << 3 << "Level 1";
    QTest::newRow("Level 2 shows two levels") << "actionLevel_2" << 9 << "Level 2";
    QTest::newRow("Level 7 beyond the depth shows everything") << "actionLevel_7" << 21 << "Level 7";
    QTest::newRow("Expand All") << "actionExpand_All" << 21 << "Expand All";
    QTest::newRow("Collapse All") << "actionCollapse_All" << 3 << "Collapse All";
    QTest::newRow("Expand opens the current row") << "actionExpand" << 5 << "Expand";
    QTest::newRow("button on a collapsed first row expands all") << "menuOutline" << 21 << "Level 7";
    QTest::newRow("button on an expanded first row collapses all") << "menuOutline" << 3 << "Level 0";
}

void TestMainWindow::outlineCommands()
{
    QFETCH(QString, action);
    QFETCH(int, rows);
    QFETCH(QString, state);

    // Rows of the activity table in tree order; the parent map nests them.
    QStandardItemModel source(0, 3);
    source.setHorizontalHeaderLabels({"ID", "parentID", "Activity ID"});
    PdParentItemProxyModel::ParentMap map;
    const auto addRow = [&](const QString &name, int parent) {
        source.appendRow({new QStandardItem(QString::number(source.rowCount() + 1)), new QStandardItem,
                          new QStandardItem(name)});
        map[parent].append(source.rowCount() - 1);
        return source.rowCount() - 1;
    };
    for (int g = 0; g < 3; ++g) {
        const int group = addRow(QStringLiteral("Group %1").arg(g), -1);
        for (int s = 0; s < 2; ++s) {
            const int sub = addRow(QStringLiteral("Sub %1.%2").arg(g).arg(s), group);
            addRow(QStringLiteral("A"), sub);
            addRow(QStringLiteral("B"), sub);
        }
    }
    MainWindow window;
    window.activities()->setModels(&source, nullptr, nullptr, nullptr, nullptr, true);
    window.activities()->parentProxy()->setParentMap(map);
    QTreeView *tree = window.activities()->treeView();
    const QAbstractItemModel *model = tree->model();
    tree->setCurrentIndex(model->index(0, 0));
    if (state != QLatin1String("Expand") && state != QLatin1String("Level 7"))
        tree->expandToDepth(0);
    mygc::GanttChart *chart = window.activities()->ganttChart();
    chart->flushPendingRebuild();
    QSignalSpy expanded(tree, &QTreeView::expanded);

    if (action == QLatin1String("menuOutline"))
        window.outlineMenu()->menuAction()->trigger();
    else
        window.findChild<QAction *>(action)->trigger();
    int shown = 0;
    for (QModelIndex index = model->index(0, 0); index.isValid(); index = tree->indexBelow(index))
        ++shown;
    QCOMPARE(shown, rows);
    QCOMPARE(window.outlineState(), state);
    QCOMPARE(expanded.count(), 0);
    // The tree was silent, so the chart must have been told directly.
    QCOMPARE(chart->itemCount(), rows);
}

void TestMainWindow::timeActionsSetTheChartBands_data()
{
    QTest::addColumn<QStringList>("toggled");
    QTest::addColumn<QVector<int>>("bands");

    // "Month" above "Day" start checked; each listed action is triggered once, in order.
    QTest::newRow("Month above Day on open") << QStringList{} << QVector<int>{3, 6};
    QTest::newRow("Month alone") << QStringList{"actionDay"} << QVector<int>{6};
    QTest::newRow("the last band stays") << QStringList{"actionMonth", "actionDay"} << QVector<int>{3};
    QTest::newRow("every unit, lowest first") << QStringList{"actionYear", "actionWeek", "actionQuarter"}
                                              << QVector<int>{3, 4, 6, 7, 9};
}

void TestMainWindow::timeActionsSetTheChartBands()
{
    QFETCH(QStringList, toggled);
    QFETCH(QVector<int>, bands);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const QString &name : toggled)
        window.findChild<QAction *>(name)->trigger();
    const mygc::GanttChart *chart = window.activities()->ganttChart();
    QCOMPARE(chart->dateAxis()->levelUnits(), bands);
    const std::pair<const char *, int> units[] = {
        {"actionDay", 3}, {"actionWeek", 4}, {"actionMonth", 6}, {"actionQuarter", 7}, {"actionYear", 9}};
    for (const auto &unit : units)
        QCOMPARE(window.findChild<QAction *>(unit.first)->isChecked(), bands.contains(unit.second));
    QCOMPARE(window.activities()->treeView()->header()->height(), chart->dateAxisHeight());
}

void TestMainWindow::viewSwitchesPageAndDetail()
{
    MainWindow window;
    auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    QAction *detail = window.findChild<QAction *>(QStringLiteral("actionDetail"));
    window.findChild<QAction *>(QStringLiteral("actionResources"))->trigger();
    QCOMPARE(stack->currentIndex(), 1);
    QVERIFY(!detail->isVisible());
    window.findChild<QAction *>(QStringLiteral("actionTrackingGanttChart"))->trigger();
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(detail->isVisible());
}

void TestMainWindow::filtersShowInColumnsIconCountAndClearCommand()
{
    MainWindow window;
    QVERIFY(loadInto(window, write(QStringLiteral("filtered.xer"), xerText(TwoActivities))));
    auto *count = window.findChild<QLabel *>(QStringLiteral("activityCount"));
    QAction *columns = window.findChild<QAction *>(QStringLiteral("actionColumns"));
    QAction *clear = window.findChild<QAction *>(QStringLiteral("actionClearAllFilters"));
    auto iconIs = [columns](const char *path) {
        return columns->icon().pixmap(32).toImage() == QIcon(QLatin1String(path)).pixmap(32).toImage();
    };
    QTRY_COMPARE(count->text(), QStringLiteral("2 of 2 activities"));
    QVERIFY(!clear->isEnabled());

    // What the auto-filter does on OK: the proxy and the header together.
    Activities *activities = window.activities();
    const int column = columnByName(activities->filterProxy(), QStringLiteral("Activity ID"));
    activities->filterProxy()->setPatternFilter(column, {QStringLiteral("A110")});
    activities->sortFilterHeader()->addFilter(column);
    QCOMPARE(count->text(), QStringLiteral("1 of 2 activities"));
    QVERIFY(iconIs(":/images/table_column_filter_32.png"));
    QVERIFY(clear->isEnabled());

    clear->trigger();
    QCOMPARE(activities->treeView()->model()->rowCount(), 2);
    QCOMPARE(count->text(), QStringLiteral("2 of 2 activities"));
    QVERIFY(iconIs(":/images/table_column_f_32.png"));
    QVERIFY(!clear->isEnabled());

    window.findChild<QAction *>(QStringLiteral("actionClose"))->trigger();
    QTRY_VERIFY(count->text().isEmpty());
}

void TestMainWindow::droppedFile_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<QString>("opened");

    QTest::newRow("a schedule opens") << QStringList{"dropped.xer"} << false << "dropped.xer";
    QTest::newRow("the schedule among other files opens")
        << QStringList{"notes.txt", "DROPPED.XER", "other.xer"} << false << "DROPPED.XER";
    QTest::newRow("another kind of file is refused") << QStringList{"notes.txt"} << false << QString();
    QTest::newRow("a remote schedule is refused") << QStringList{"remote.xer"} << true << QString();
}

void TestMainWindow::droppedFile()
{
    QFETCH(QStringList, names);
    QFETCH(bool, remote);
    QFETCH(QString, opened);

    QList<QUrl> urls;
    for (const QString &name : names) {
        const QString path = write(name, xerText(TwoActivities));
        urls << (remote ? QUrl(QStringLiteral("https://example.org/") + name) : QUrl::fromLocalFile(path));
    }
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QCOMPARE(enter.isAccepted(), !opened.isEmpty());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCoreApplication::processEvents();

    QVERIFY(waitForLoad(window));
    QCOMPARE(window.loader() != nullptr, !opened.isEmpty());
    if (!opened.isEmpty()) {
        QCOMPARE(window.recentFiles().entries().constFirst().file, m_dir.filePath(opened));
        QCOMPARE(window.activities()->treeView()->model()->rowCount(), 2);
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
