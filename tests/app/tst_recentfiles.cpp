#include "mainwindow.h"
#include "modalcloser.h"
#include "plandeckresources.h"
#include "recentfiles.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

namespace {

RecentEntry databaseEntry(const QString &conn, const QString &projid)
{
    RecentEntry entry;
    entry.type = RecentEntry::Database;
    entry.conn = conn;
    entry.projid = projid;
    entry.user = QStringLiteral("planner");
    return entry;
}

// Files first-to-last as "a b c"; database entries as "db:conn/projid".
QString describe(const RecentFiles &list)
{
    QStringList parts;
    for (const RecentEntry &entry : list.entries())
        parts << (entry.type == RecentEntry::Database ? QStringLiteral("db:%1/%2").arg(entry.conn, entry.projid)
                                                      : entry.file);
    return parts.join(QLatin1Char(' '));
}

QStringList recentMenuEntries(const MainWindow &window)
{
    QStringList names;
    const auto *menu = window.findChild<QMenu *>(QStringLiteral("menuFile"));
    for (const QAction *action : menu->actions()) {
        if (action->data().toMap().value(QStringLiteral("isMRU")).toBool())
            names << action->text();
    }
    return names;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void adding_data();
    void adding();
    void writtenListReadsBackInOrder();
    void reading_data();
    void reading();
    void writeCreatesTheConfigurationFolder();
    void menuListsAllButMppEntries();
    void deletedFileIsReportedAndDropped();

private:
    QTemporaryDir m_configHome;
};

void TestRecentFiles::initTestCase()
{
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path() + QStringLiteral("/config")));
    plandeck::initResources();
}

void TestRecentFiles::init()
{
    QDir(m_configHome.path()).removeRecursively();
    QDir().mkpath(m_configHome.path() + QStringLiteral("/config"));
}

void TestRecentFiles::adding_data()
{
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("expected");

    QTest::newRow("same file twice leaves one entry at the front")
        << QStringList{"/p/a.xer", "/p/b.xer", "/p/a.xer"} << "/p/a.xer /p/b.xer";
    QTest::newRow("eight files keep the seven most recent")
        << QStringList{"/1.xer", "/2.xer", "/3.xer", "/4.xer", "/5.xer", "/6.xer", "/7.xer", "/8.xer"}
        << "/8.xer /7.xer /6.xer /5.xer /4.xer /3.xer /2.xer";
    QTest::newRow("paths differing in case are different files")
        << QStringList{"/p/A.xer", "/p/a.xer"} << "/p/a.xer /p/A.xer";
}

void TestRecentFiles::adding()
{
    QFETCH(QStringList, opened);
    QFETCH(QString, expected);
    RecentFiles list;
    for (const QString &file : opened)
        list.addFile(file, QString());
    QCOMPARE(describe(list), expected);
}

void TestRecentFiles::writtenListReadsBackInOrder()
{
    RecentFiles list;
    list.addFile(QStringLiteral("/p/old.xer"), QString());
    list.add(databaseEntry(QStringLiteral("sqlite:p6.db"), QStringLiteral("42")));
    list.addFile(QStringLiteral("/p/plan.mpp"), QString());
    list.addFile(QStringLiteral("/p/Façade.xer"), QString());
    QVERIFY(list.write());

    RecentFiles readBack;
    readBack.read();
    QCOMPARE(describe(readBack), describe(list));
    QCOMPARE(readBack.entries().at(2).user, QStringLiteral("planner"));
}

void TestRecentFiles::reading_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("expected");

    QTest::newRow("not JSON gives an empty list") << QByteArray("{oops") << "";
    QTest::newRow("an object instead of an array gives an empty list")
        << QByteArray(R"({"type":0,"file":"/a.xer"})") << "";
    QTest::newRow("unknown entry types are skipped")
        << QByteArray(R"([{"type":5,"file":"/x.xer"},{"type":0,"file":"/a.xer"}])") << "/a.xer";
    QTest::newRow("a repeated file keeps its first place")
        << QByteArray(R"([{"type":0,"file":"/a.xer"},{"type":0,"file":"/b.xer"},{"type":0,"file":"/a.xer"}])")
        << "/a.xer /b.xer";
    QTest::newRow("database entries match on connection and project")
        << QByteArray(R"([{"type":1,"conn":"c","projid":"1"},{"type":1,"conn":"c","projid":"2"},)"
                      R"({"type":1,"conn":"c","projid":"1"}])")
        << "db:c/1 db:c/2";
    QByteArray nine = "[";
    for (int i = 1; i <= 9; ++i)
        nine += QStringLiteral(R"(%1{"type":0,"file":"/%2.xer"})").arg(i > 1 ? "," : "").arg(i).toUtf8();
    nine += "]";
    QTest::newRow("more than seven entries keep the first seven")
        << nine << "/1.xer /2.xer /3.xer /4.xer /5.xer /6.xer /7.xer";
}

void TestRecentFiles::reading()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, expected);
    RecentFiles list;
    list.addFile(QStringLiteral("/stale.xer"), QString());
    list.fromJson(json);
    QCOMPARE(describe(list), expected);
}

void TestRecentFiles::writeCreatesTheConfigurationFolder()
{
    QDir(m_configHome.path()).removeRecursively();
    RecentFiles list;
    list.addFile(QStringLiteral("/p/a.xer"), QString());
    QVERIFY(list.write());
    QVERIFY(QFile::exists(RecentFiles::configFilePath()));
}

void TestRecentFiles::menuListsAllButMppEntries()
{
    RecentFiles stored;
    stored.addFile(QStringLiteral("/p/a.xer"), QString());
    stored.addFile(QStringLiteral("/p/plan.MPP"), QString());
    stored.add(databaseEntry(QStringLiteral("c"), QStringLiteral("1")));
    stored.addFile(QStringLiteral("/p/b.xer"), QString());
    QVERIFY(stored.write());

    MainWindow window;
    QCOMPARE(recentMenuEntries(window), (QStringList{"/p/b.xer", "/p/a.xer"}));
    const auto *menu = window.findChild<QMenu *>(QStringLiteral("menuFile"));
    const QList<QAction *> actions = menu->actions();
    QVERIFY(actions.at(actions.size() - 3)->isSeparator());

    window.close();
    RecentFiles written;
    written.read();
    QCOMPARE(describe(written), describe(stored));
}

void TestRecentFiles::deletedFileIsReportedAndDropped()
{
    QTemporaryDir dir;
    const QString gone = dir.filePath(QStringLiteral("gone.xer"));
    RecentFiles stored;
    stored.addFile(gone, QString());
    QVERIFY(stored.write());

    MainWindow window;
    const auto *menu = window.findChild<QMenu *>(QStringLiteral("menuFile"));
    QAction *entry = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == gone)
            entry = action;
    }
    QVERIFY(entry);

    QString title, text;
    captureMessageBox(&title, &text);
    entry->trigger();
    QCOMPARE(title, QStringLiteral("File doesn't exist"));
    QCOMPARE(text, QStringLiteral("File was deleted"));
    QVERIFY(window.recentFiles().isEmpty());
    QVERIFY(recentMenuEntries(window).isEmpty());
    QVERIFY(!menu->actions().constLast()->isSeparator());
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
