#include "xertestfile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run dump(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(PLANDECK_BIN_DIR "/plandeck-dump"), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

const QString demoFile = QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.xer");

} // namespace

class tst_PlandeckDump : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void shouldFailWithOneLineAndItsExitCode_data();
    void shouldFailWithOneLineAndItsExitCode();
    void shouldSummariseDemoFile();
    void shouldWarnOfDamagedFiles_data();
    void shouldWarnOfDamagedFiles();
    void shouldQuoteCsvFields();
    void shouldWriteActivityModelAsExpected();

private:
    QTemporaryDir m_dir;
};

void tst_PlandeckDump::initTestCase()
{
    QVERIFY(QFile::exists(QStringLiteral(PLANDECK_BIN_DIR "/plandeck-dump")));
    QVERIFY(m_dir.isValid());
    QVERIFY(writeFile(m_dir.filePath("text.xer"), "just some text\n"));
    QVERIFY(writeFile(m_dir.filePath("empty.xer"), QByteArray()));
    QVERIFY(QDir(m_dir.path()).mkdir("folder.xer"));
    // Opening a FIFO blocks until someone writes to it: it must be refused before.
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("fifo.xer")).constData(), 0600), 0);
}

void tst_PlandeckDump::shouldFailWithOneLineAndItsExitCode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an XER file") << QStringList{"text.xer"} << 1 << "is not an XER schedule file";
    QTest::newRow("missing file") << QStringList{"absent.xer"} << 2 << "does not exist";
    QTest::newRow("empty file") << QStringList{"empty.xer"} << 1 << "is empty";
    QTest::newRow("a folder") << QStringList{"folder.xer"} << 2 << "It is a folder";
    QTest::newRow("a FIFO") << QStringList{"fifo.xer"} << 2 << "not a regular file";
    QTest::newRow("no file") << QStringList{} << 64 << "usage";
    QTest::newRow("two files") << QStringList{"a.xer", "b.xer"} << 64 << "usage";
    QTest::newRow("unknown option") << QStringList{"--json", "a.xer"} << 64 << "usage";
    QTest::newRow("csv without model") << QStringList{"--csv", demoFile} << 64 << "usage";
    QTest::newRow("csv of unknown model") << QStringList{"--csv", "Nothing", demoFile} << 3 << "no model named Nothing";
}

void tst_PlandeckDump::shouldFailWithOneLineAndItsExitCode()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    for (QString &argument : arguments) {
        if (argument.endsWith(".xer") && !argument.startsWith('/'))
            argument = m_dir.filePath(argument);
    }
    const Run run = dump(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
}

void tst_PlandeckDump::shouldSummariseDemoFile()
{
    const Run run = dump({demoFile});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(summary.value("file").toString(), demoFile);
    QCOMPARE(summary.value("bytes").toInt(), int(QFileInfo(demoFile).size()));

    const QJsonObject tables = summary.value("tables").toObject();
    const QJsonObject models = summary.value("models").toObject();
    QCOMPARE(tables.keys(), QStringList({"ACTVCODE", "ACTVTYPE", "PROJWBS", "RSRC", "TASK", "TASKACTV", "TASKPRED",
                                         "TASKRSRC", "UDFTYPE", "UDFVALUE"}));
    for (const QString &table : tables.keys()) {
        QCOMPARE(tables.value(table)["records"], models.value(table)["rows"]);
        QCOMPARE(tables.value(table)["fields"], models.value(table)["columns"]);
    }
    QVERIFY(tables.value("TASK")["records"].toInt() > 0);
    for (const char *model : {"PredecessorModel", "ResourceModel", "CodeModel", "taskCodesAssignmentModel",
                              "userDefinedAssignmentModel", "ActivityModel"}) {
        QVERIFY2(models.contains(model), model);
        QCOMPARE(models.value(model)["rows"].toInt() > 0, true);
    }
    QCOMPARE(models.value("ActivityModel")["rows"], tables.value("TASK")["records"]);
    QVERIFY(summary.value("views").toInt() > 0);
    for (const char *step : {"read", "tables", "total"})
        QVERIFY2(summary.value("timings_ms").toObject().contains(step), step);
}

void tst_PlandeckDump::shouldWarnOfDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("activities"); // -1: no TASK table
    QTest::addColumn<QStringList>("warnings");

    const XerTestTable wbs{"PROJWBS", {"wbs_id", "wbs_name"}, {{"1", "Site"}}};
    const XerTestTable task{"TASK", {"task_id", "task_code"}, {{"1", "A1"}, {"2", "A2"}, {"3", "A3"}}};
    const QByteArray clean = xerText({wbs, task});
    const QByteArray header = clean.left(clean.indexOf('\n') + 1);
    QTest::newRow("clean file") << clean << 3 << QStringList();
    QTest::newRow("cut short in a record")
        << clean.left(clean.indexOf("%R\t3")) + "%R\t3" << 3
        << QStringList{"cut short. 3 activities were read", "1 records of the table TASK have fewer fields"};
    QTest::newRow("cut short before the end marker")
        << clean.left(clean.indexOf("%E")) << 3 << QStringList{"cut short. 3 activities were read"};
    QTest::newRow("header only") << header << -1
                                 << QStringList{"cut short. 0 activities", "holds no activities"};
    QTest::newRow("one line without a line end")
        << header.trimmed() << -1 << QStringList{"cut short. 0 activities", "holds no activities"};
    QTest::newRow("no activity table") << xerText({wbs}) << -1 << QStringList{"holds no activities"};
    QTest::newRow("activity table without records")
        << xerText({wbs, {"TASK", {"task_id"}, {}}}) << 0 << QStringList{"holds no activities"};
    QTest::newRow("a table twice, the last copy used")
        << xerText({task, wbs, {"TASK", {"task_id"}, {{"9"}}}}) << 1
        << QStringList{"table TASK appears 2 times; the last copy is used"};
    QTest::newRow("records with more and with fewer fields")
        << xerText({{"TASK", {"task_id", "task_code"}, {{"1", "A1", "extra"}, {"2"}, {"3", "A3"}, {"4"}}}}) << 4
        << QStringList{"1 records of the table TASK have more fields", "2 records of the table TASK have fewer fields"};
    QTest::newRow("line ends changing part-way, end marker after LF")
        << clean.left(clean.indexOf("%T\tTASK")) + clean.mid(clean.indexOf("%T\tTASK")).replace("\r\n", "\n") << 3
        << QStringList();
}

// A damaged file still loads, but the summary and stderr say what is wrong with it, one warning each.
void tst_PlandeckDump::shouldWarnOfDamagedFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(int, activities);
    QFETCH(QStringList, warnings);
    const QString path = m_dir.filePath("damaged.xer");
    QVERIFY(writeFile(path, content));
    const Run run = dump({path});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject summary = QJsonDocument::fromJson(run.out).object();
    const QJsonValue task = summary.value("tables").toObject().value("TASK");
    QCOMPARE(task.isUndefined() ? -1 : task["records"].toInt(), activities);
    const QJsonArray reported = summary.value("warnings").toArray();
    QCOMPARE(reported.size(), warnings.size());
    QCOMPARE(run.err.count('\n'), warnings.size());
    for (int i = 0; i < warnings.size(); ++i) {
        QVERIFY2(reported.at(i).toString().contains(warnings.at(i)), qPrintable(reported.at(i).toString()));
        QVERIFY(run.err.contains(warnings.at(i).toUtf8()));
    }
}

void tst_PlandeckDump::shouldQuoteCsvFields()
{
    const QString path = m_dir.filePath("quotes.xer");
    QVERIFY(writeFile(path, xerText({{"RSRC",
                                      {"rsrc_id", "rsrc_short_name", "rsrc_name"},
                                      {{"1", "CR,1", "Crane \"big\""}, {"2", "Bär", ""}}}})));

    const Run resources = dump({"--csv", "RSRC", path});
    QCOMPARE(resources.exitCode, 0);
    QCOMPARE(QString::fromUtf8(resources.out).split('\n'),
             QStringList({"rsrc_id,rsrc_seq_num,Resource Type,Resource Code,Resource Name,parent_rsrc_id",
                          "1,,,\"CR,1\",\"Crane \"\"big\"\"\",", "2,,,Bär,,", ""}));
}

// The activity model as every view and export sees it, on a small generated
// schedule committed with its expected lines.
void tst_PlandeckDump::shouldWriteActivityModelAsExpected()
{
    const QString data = QStringLiteral(PLANDECK_SOURCE_DIR "/tests/project/data/");
    const Run run = dump({"--csv", "ActivityModel", data + "small.xer"});
    QCOMPARE(run.exitCode, 0);
    QFile expectedFile(data + "small-activitymodel.csv");
    QVERIFY(expectedFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> expected = expectedFile.readAll().split('\n');
    const QList<QByteArray> actual = run.out.split('\n');
    for (int i = 0; i < qMin(expected.size(), actual.size()); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
    QCOMPARE(actual.size(), expected.size());
}

QTEST_GUILESS_MAIN(tst_PlandeckDump)
#include "tst_plandeckdump.moc"
