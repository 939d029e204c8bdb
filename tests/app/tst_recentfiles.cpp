#include "apptesting.h"
#include "recentfiles.h"

#include <QAction>
#include <QMenu>

namespace {

// Files as their path, database entries as "db:conn/projid", most recent first.
QString describe(const RecentFiles &list)
{
    QStringList parts;
    for (const RecentEntry &e : list.entries())
        parts << (e.type == RecentEntry::Database ? QStringLiteral("db:%1/%2").arg(e.conn, e.projid) : e.file);
    return parts.join(QLatin1Char(' '));
}

QList<QAction *> recentMenuEntries(const MainWindow &window)
{
    QList<QAction *> entries;
    for (QAction *action : window.findChild<QMenu *>(QStringLiteral("menuFile"))->actions()) {
        if (action->data().toMap().value(QStringLiteral("isMRU")).toBool())
            entries << action;
    }
    return entries;
}

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void addingAndReading_data();
    void addingAndReading();
    void listSurvivesTheWindowInOrder();
    void deletedFileIsReportedAndDropped();

private:
    QTemporaryDir m_home;
};

void TestRecentFiles::initTestCase()
{
    QVERIFY(m_home.isValid());
    // A folder that does not exist yet: writing the list must create it.
    useConfigIn(m_home);
}

// The stored list replaces whatever the list held; files opened afterwards go to the front.
void TestRecentFiles::addingAndReading_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QString>("expected");

    QTest::newRow("same file opened twice leaves one entry at the front")
        << QByteArray("[]") << QStringList{"/p/a.xer", "/p/b.xer", "/p/a.xer"} << "/p/a.xer /p/b.xer";
    QTest::newRow("eight files opened keep the seven most recent")
        << QByteArray("[]") << QStringList{"/1.xer", "/2.xer", "/3.xer", "/4.xer", "/5.xer", "/6.xer", "/7.xer", "/8.xer"}
        << "/8.xer /7.xer /6.xer /5.xer /4.xer /3.xer /2.xer";
    QTest::newRow("not JSON gives an empty list") << QByteArray("{oops") << QStringList() << "";
    QTest::newRow("unknown entry types are skipped")
        << QByteArray(R"([{"type":5,"file":"/x.xer"},{"type":0,"file":"/a.xer"}])") << QStringList() << "/a.xer";
    QTest::newRow("a repeated file keeps its first place")
        << QByteArray(R"([{"type":0,"file":"/a.xer"},{"type":0,"file":"/b.xer"},{"type":0,"file":"/a.xer"}])")
        << QStringList() << "/a.xer /b.xer";
    QTest::newRow("database entries match on connection and project")
        << QByteArray(R"([{"type":1,"conn":"c","projid":"1"},{"type":1,"conn":"c","projid":"2"},)"
                      R"({"type":1,"conn":"c","projid":"1"}])")
        << QStringList() << "db:c/1 db:c/2";
    QByteArray nine = "[";
    for (int i = 1; i <= 9; ++i)
        nine += QStringLiteral(R"(%1{"type":0,"file":"/%2.xer"})").arg(i > 1 ? "," : "").arg(i).toUtf8();
    QTest::newRow("more than seven stored entries keep the first seven")
        << nine + "]" << QStringList() << "/1.xer /2.xer /3.xer /4.xer /5.xer /6.xer /7.xer";
}

void TestRecentFiles::addingAndReading()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, opened);
    RecentFiles list;
    list.addFile(QStringLiteral("/stale.xer"), QString());
    list.fromJson(json);
    for (const QString &file : opened)
        list.addFile(file, QString());
    QTEST(describe(list), "expected");
}

void TestRecentFiles::listSurvivesTheWindowInOrder()
{
    RecentFiles stored;
    stored.addFile(QStringLiteral("/p/a.xer"), QString());
    stored.addFile(QStringLiteral("/p/plan.MPP"), QString());
    RecentEntry database;
    database.type = RecentEntry::Database;
    database.conn = QStringLiteral("sqlite:p6.db");
    database.projid = QStringLiteral("42");
    stored.add(database);
    stored.addFile(QStringLiteral("/p/Façade.xer"), QString());
    QVERIFY(stored.write());

    {
        MainWindow window;
        QStringList shown;
        for (const QAction *action : recentMenuEntries(window))
            shown << action->text();
        QCOMPARE(shown, (QStringList{"/p/Façade.xer", "/p/a.xer"}));
        window.close();
    }
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
    const QList<QAction *> entries = recentMenuEntries(window);
    QCOMPARE(entries.size(), 1);
    QString text;
    captureMessageBox(&text);
    entries.constFirst()->trigger();
    QVERIFY(!text.isEmpty());
    QVERIFY(window.recentFiles().isEmpty());
    QVERIFY(recentMenuEntries(window).isEmpty());
    QVERIFY(!window.findChild<QMenu *>(QStringLiteral("menuFile"))->actions().constLast()->isSeparator());
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
