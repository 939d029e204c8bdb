#include "activities.h"
#include "apptesting.h"
#include "ganttchart.h"
#include "layoutmanager.h"
#include "layoutstore.h"
#include "p6layout.h"
#include "pdfilterdialogproxymodel.h"
#include "pdmodelutils.h"
#include "pdsortfilterheader.h"
#include "xerloader.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>

namespace {

const QString Demo = QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.xer");

QJsonObject parsed(const QString &document)
{
    return QJsonDocument::fromJson(document.toUtf8()).object();
}

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QStringList menuTexts(const LayoutManager &layouts)
{
    QStringList texts;
    for (const QAction *entry : layouts.layoutEntries())
        texts << entry->text() + (entry->isChecked() ? QStringLiteral(" *") : QString());
    return texts;
}

// A layout that sets every key to something the default layout does not.
QJsonObject everyKey()
{
    QList<PdGanttViewBarStyle> styles = PdGanttViewBarStyle::documentDefaults();
    styles.first().bodyColor = QColor(0x12, 0x34, 0x56);
    styles.first().startPointColor = QColor();
    return QJsonObject{
        {"columns", QJsonArray{"Activity Name:250", "Activity ID:90", "Start Date:110", "WBS Code:70"}},
        {"sortby", "Activity ID;D"},
        {"filters", QJsonObject{{"expressions", QJsonObject{{"0", QJsonArray{"contains", "a"}}}},
                                {"columns", QJsonObject{{"0", "Activity Name"}}}}},
        {"group", "WBS Code;All"},
        {"outline", "Level 2"},
        {"bars", QJsonValue::Null},
        {"barStyles", PdGanttViewBarStyle::listToJson(styles)},
    };
}

} // namespace

class TestLayoutManager : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void storedViewsTranslate();
    void everyKeyReachesItsTargetAndRoundTrips();
    void applyingGuardsAgainstForeignLayouts_data();
    void applyingGuardsAgainstForeignLayouts();
    void menuListsViewsImportsAndSavedLayouts();
    void importedFiles_data();
    void importedFiles();
    void savedLayoutsSurviveARestart();
    void unreadableStoreIsLeftAlone();
    void commandLineLayout_data();
    void commandLineLayout();

private:
    QTemporaryDir m_dir;
};

void TestLayoutManager::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useConfigIn(m_dir);
}

// The views the generator stores in its schedules, as the loader collects them.
void TestLayoutManager::storedViewsTranslate()
{
    QFile schema(QStringLiteral(":/files/schema.json"));
    QVERIFY(schema.open(QIODevice::ReadOnly));
    const QJsonDocument catalogue = QJsonDocument::fromJson(schema.readAll());
    XERLoader loader(Demo, catalogue);
    loader.read();
    QStringList got;
    for (const P6Layout &layout : P6Layout::fromRows(loader.views(), P6Layout::fieldDisplayTable(catalogue))) {
        const QJsonObject document = parsed(layout.toDocument());
        got << QStringLiteral("%1 | %2 | %3 | %4")
                   .arg(layout.name, QVariant(document.value("columns").toVariant()).toStringList().join(' '),
                        QVariant(document.value("group").toVariant()).toStringList().join(' '),
                        QVariant(document.value("sortby").toVariant()).toStringList().join(' '));
    }
    // The blank view has no columns and gives no layout.
    QCOMPARE(got, (QStringList{
                      "Classic WBS Layout | Activity ID:80 Activity Name:280 Planned Duration:70 Start Date:95 "
                      "Finish Date:95 Total float:70 | WBS Code;All | Start Date;A",
                      "Critical Path – Ærø Wing review | Activity ID:90 Activity Name:300 Activity status:90 "
                      "Total float:70 Free float:70 WBS Code:60 | WBS Code;2 | Total float;A Activity ID;D",
                      "Look-ahead (no grouping) | Activity ID:80 Activity Name:260 Start Date:95 Finish Date:95 "
                      "Actual Start:95 |  | Start Date;D",
                  }));
}

void TestLayoutManager::everyKeyReachesItsTargetAndRoundTrips()
{
    MainWindow first;
    QVERIFY(loadInto(first, Demo));
    first.layouts()->applyLayout(compact(everyKey()));
    const QString written = first.layouts()->currentLayoutJson();

    // Another window with the same project, in its default look, takes on the whole layout.
    MainWindow second;
    QVERIFY(loadInto(second, Demo));
    QVERIFY(second.layouts()->currentLayoutJson() != written);
    Activities *view = second.activities();
    QAbstractItemModelTester tester(view->treeView()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    second.layouts()->applyLayout(written);
    QCOMPARE(parsed(second.layouts()->currentLayoutJson()), parsed(written));

    auto *header = qobject_cast<PdSortFilterHeader *>(view->treeView()->header());
    QVERIFY(header);
    QCOMPARE(columnLayoutTexts(header),
             (QStringList{"Activity Name:250", "Activity ID:90", "Start Date:110", "WBS Code:70"}));
    QCOMPARE(view->treeView()->treePosition(), columnByName(header->model(), "Activity Name"));
    QCOMPARE(header->sortColumn(), columnByName(header->model(), "Activity ID"));
    QCOMPARE(header->sortOrder(), 1);
    const int nameColumn = columnByName(header->model(), "Activity Name");
    QCOMPARE(header->filteredColumns(), QList<int>{nameColumn});
    QCOMPARE(view->filterProxy()->filteredColumns(), QList<int>{nameColumn});
    QCOMPARE(view->groupLevels().first().field, QStringLiteral("WBS Code"));
    QCOMPARE(view->groupLevels().size(), 10);
    QCOMPARE(second.outlineState(), QStringLiteral("Level 2"));
    QCOMPARE(view->ganttChart()->barStyles().first().bodyColor, QColor(0x12, 0x34, 0x56));
    QVERIFY(!view->ganttChart()->barStyles().first().startPointColor.isValid());
}

void TestLayoutManager::applyingGuardsAgainstForeignLayouts_data()
{
    QTest::addColumn<QString>("layout");
    // What the layout leaves in the columns (empty: as they were), sort and outline.
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("sort");
    QTest::addColumn<QString>("outline");

    const QString defaults;
    QTest::newRow("no column exists here: columns stay")
        << R"({"columns":["Cost Account:80","Budget:90"],"sortby":""})" << defaults << "" << "";
    QTest::newRow("unknown and colon-less entries dropped, widths clamped, case forgiven")
        << R"({"columns":["Activity ID","Nope:50","activity name:100000","Start Date:95"]})"
        << "Activity Name:2000 Start Date:95" << "" << "";
    QTest::newRow("sort name holding a semicolon splits at the last one")
        << R"({"sortby":["Activity ID;x;D"]})" << defaults << "" << "";
    QTest::newRow("sort by a column of another project is ignored")
        << R"({"sortby":"Cost Account;A"})" << defaults << "" << "";
    QTest::newRow("sort as a list takes its first entry")
        << R"({"sortby":["Finish Date;D","Activity ID;A"]})" << defaults << "Finish Date;D" << "";
    QTest::newRow("outline naming another command runs nothing")
        << R"({"outline":"Close"})" << defaults << "" << "";
    QTest::newRow("outline Level 0 collapses all") << R"({"outline":"Level 0"})" << defaults << "" << "Collapse All";
}

void TestLayoutManager::applyingGuardsAgainstForeignLayouts()
{
    QFETCH(QString, layout);
    QFETCH(QString, columns);
    QFETCH(QString, sort);
    QFETCH(QString, outline);

    MainWindow window;
    QVERIFY(loadInto(window, Demo));
    const QList<PdGanttViewBarStyle> styles = window.activities()->ganttChart()->barStyles();
    QVERIFY(!styles.isEmpty());
    if (columns.isEmpty())
        columns = columnLayoutTexts(window.activities()->treeView()->header()).join(' ');
    window.layouts()->applyLayout(layout);

    // Still open: an "outline" naming Close must not have closed the project.
    QVERIFY(window.loader());
    const QJsonObject now = parsed(window.layouts()->currentLayoutJson());
    QCOMPARE(QVariant(now.value("columns").toVariant()).toStringList().join(' '), columns);
    QCOMPARE(now.value("sortby").toString(), sort);
    QCOMPARE(now.value("outline").toString(), outline);
    // None of these layouts has bar styles; the chart keeps its own.
    QCOMPARE(window.activities()->ganttChart()->barStyles(), styles);
}

void TestLayoutManager::menuListsViewsImportsAndSavedLayouts()
{
    MainWindow window;
    LayoutManager *layouts = window.layouts();
    QCOMPARE(menuTexts(*layouts), QStringList{"layouts not found"});
    QVERIFY(loadInto(window, Demo));
    layouts->processP6layouts({QVariantMap{{"VIEW_ID", "1"},
                                           {"VIEW_NAME", "R&D"},
                                           {"VIEW_DATA", "(0||V()((0||TaskView()((0||Columns()((0||task_code(width|80)())))))))"}}});
    QCOMPARE(menuTexts(*layouts), QStringList{"[P6] R&&D"});

    // Choosing an entry applies its layout and checks only it.
    const QString json = writeFile(m_dir.filePath("narrow.json"), R"({"columns":["Activity ID:80","Activity Name:120"]})");
    QString error;
    QVERIFY2(layouts->importLayout(json, &error), qPrintable(error));
    QCOMPARE(menuTexts(*layouts), (QStringList{"[P6] R&&D", "narrow *"}));
    layouts->layoutEntries().first()->trigger();
    QCOMPARE(menuTexts(*layouts), (QStringList{"[P6] R&&D *", "narrow"}));
    QCOMPARE(visibleColumnNames(window.activities()->treeView()->header()), QStringList{"Activity ID"});
}

void TestLayoutManager::importedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    // Empty: the import fails and the menu stays as it was.
    QTest::addColumn<QString>("entry");

    const QByteArray view = "(0||V()((0||TaskView()((0||Columns()((0||task_name(width|200)())))))))";
    QTest::newRow("P6 layout file") << "Look.plf" << view << "[P6] Look.plf";
    QTest::newRow("P6 layout file in UTF-16 with its mark")
        << "Wide.plf" << QByteArray("\xff\xfe") + QByteArray(reinterpret_cast<const char *>(QString(view).utf16()), view.size() * 2)
        << "[P6] Wide.plf";
    QTest::newRow("P6 layout file in UTF-8 with its mark") << "Marked.plf" << QByteArray("\xef\xbb\xbf") + view
                                                           << "[P6] Marked.plf";
    QTest::newRow("layout document") << "Mine.json" << QByteArray(R"({"columns":["Activity ID:80"]})") << "Mine";
    QTest::newRow("P6 file without columns") << "Empty.plf" << QByteArray("(0||V()((0||TaskView()())))") << "";
    QTest::newRow("truncated P6 file") << "Cut.plf" << view.left(30) << "";
    QTest::newRow("JSON that is no object") << "List.json" << QByteArray("[1,2]") << "";
    QTest::newRow("oversized file") << "Huge.plf" << QByteArray(LayoutManager::MaxLayoutFileSize + 1, '(') << "";
    QTest::newRow("missing file") << "Gone.plf" << QByteArray() << "";
}

void TestLayoutManager::importedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, entry);

    const QString path = m_dir.filePath(name);
    if (!content.isNull())
        QCOMPARE(writeFile(path, content), path);
    MainWindow window;
    LayoutManager *layouts = window.layouts();
    QString warned;
    layouts->setWarning([&warned](QWidget *, const QString &, const QString &text) { warned = text; });
    layouts->setOpenFileChooser([&path](QWidget *, const QString &, const QString &, const QString &) { return path; });
    window.findChild<QAction *>("actionImportLayout")->trigger();
    QCOMPARE(warned.isEmpty(), !entry.isEmpty());
    QCOMPARE(menuTexts(*layouts), entry.isEmpty() ? QStringList{"layouts not found"} : QStringList{entry + " *"});
}

void TestLayoutManager::savedLayoutsSurviveARestart()
{
    const QString store = m_dir.filePath("restart/layouts.json");
    QString firstLayout;
    {
        MainWindow window;
        QVERIFY(loadInto(window, Demo));
        LayoutManager layouts(window.activities(), new QMenu(&window), &window, store);
        QVERIFY(layouts.saveLayout("Mine"));
        firstLayout = layouts.currentLayoutJson();
        window.layouts()->applyLayout(R"({"columns":["Activity ID:80"]})");
        // Replacing asks first; a no keeps the stored one.
        int asked = 0;
        layouts.setQuestion([&asked](QWidget *, const QString &, const QString &) { return ++asked > 1; });
        QVERIFY(!layouts.saveLayout("Mine"));
        QVERIFY(layouts.saveLayout("Mine"));
        QCOMPARE(asked, 2);
        QVERIFY(layouts.saveLayout("Other"));
    }
    LayoutStore reread(store);
    QCOMPARE(reread.read(), LayoutStore::Loaded);
    QCOMPARE(reread.entries().size(), 2);
    QCOMPARE(reread.entries().at(0).name, QStringLiteral("Mine"));
    QCOMPARE(reread.entries().at(0).layout.value("columns").toArray(), QJsonArray{"Activity ID:80"});

    MainWindow later;
    LayoutManager layouts(later.activities(), new QMenu(&later), &later, store);
    layouts.updateLayoutsList(QString());
    QCOMPARE(menuTexts(layouts), (QStringList{"Mine", "Other"}));
    QVERIFY(firstLayout != layouts.layoutEntries().first()->data().toString());
}

void TestLayoutManager::unreadableStoreIsLeftAlone()
{
    const QString store = m_dir.filePath("corrupt/layouts.json");
    QVERIFY(QDir().mkpath(QFileInfo(store).absolutePath()));
    const QByteArray corrupt = R"({"version":1,"layouts":[{"name":"half)";
    for (const QByteArray &content : {corrupt, QByteArray(R"({"version":99,"layouts":[]})")}) {
        QCOMPARE(writeFile(store, content), store);

        MainWindow window;
        QVERIFY(loadInto(window, Demo));
        LayoutManager layouts(window.activities(), new QMenu(&window), &window, store);
        QString warned;
        layouts.setWarning([&warned](QWidget *, const QString &, const QString &text) { warned = text; });
        QVERIFY(!layouts.saveLayout("Mine"));
        QVERIFY(!warned.isEmpty());
        QCOMPARE(readFile(store), content);
    }
}

void TestLayoutManager::commandLineLayout_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("status");
    // The header line of what is written.
    QTest::addColumn<QByteArray>("header");

    const auto write = [this](const QString &name, const QByteArray &content) {
        return writeFile(m_dir.filePath(name), content);
    };
    const QString json = write("cli.json", R"({"columns":["Activity Name:200","Activity ID:80"]})");
    const QString plf = write("cli.plf", "(0||V()((0||TaskView()((0||Columns()((0||task_code(width|80)())(0||end_date(width|90)())))))))");
    const QString broken = write("broken.plf", "(0||V()((0||TaskView(");
    // The program's own store, as the window would have saved it.
    LayoutStore store(m_dir.filePath("config/plandeck/layouts.json"));
    store.put("Saved one", QJsonObject{{"columns", QJsonArray{"WBS Code:60", "Activity ID:80"}}});
    QVERIFY(store.write());

    QTest::newRow("layout document") << json << 0 << QByteArray("Activity Name;Activity ID");
    QTest::newRow("P6 layout file") << plf << 0 << QByteArray("Activity ID;Finish Date");
    QTest::newRow("saved layout") << "Saved one" << 0 << QByteArray("WBS Code;Activity ID");
    QTest::newRow("view stored in the schedule")
        << "Look-ahead (no grouping)" << 0 << QByteArray("Activity ID;Activity Name;Start Date;Finish Date;Actual Start");
    QTest::newRow("unknown name") << "No such layout" << 4 << QByteArray();
    QTest::newRow("unreadable file") << broken << 4 << QByteArray();
}

void TestLayoutManager::commandLineLayout()
{
    QFETCH(QString, layout);
    QFETCH(int, status);
    QFETCH(QByteArray, header);

    const QString out = m_dir.filePath("layout-out.csv");
    QFile::remove(out);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PLANDECK_BIN_DIR "/plandeck"), {"--export", out, "--layout", layout, Demo});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), status);
    QFile written(out);
    if (status != 0) {
        QVERIFY(!written.exists());
        QVERIFY(!process.readAllStandardError().isEmpty());
        return;
    }
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readLine().trimmed(), "\xEF\xBB\xBF" + header);
}

QTEST_MAIN(TestLayoutManager)
#include "tst_layoutmanager.moc"
