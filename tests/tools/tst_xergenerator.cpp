#include "xergenerator.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTextCodec>
#include <QtTest>

namespace {

struct Table {
    QStringList fields;
    QVector<QStringList> rows;
    int column(const QString& name) const { return fields.indexOf(name); }
    QString value(int row, const QString& name) const { return rows.at(row).value(column(name)); }
};

// A deliberately independent reading of the file: strict about line ends and field counts.
QHash<QString, Table> parse(const QByteArray& data, QString* problem)
{
    QHash<QString, Table> tables;
    Table* current = nullptr;
    const QList<QByteArray> lines = data.split('\n');
    for (int i = 0; i < lines.size() - 1; ++i) {
        const QByteArray& raw = lines.at(i);
        if (!raw.endsWith('\r')) {
            *problem = QStringLiteral("line %1 does not end in CR LF").arg(i + 1);
            return {};
        }
        QTextCodec::ConverterState state;
        const QString line = QTextCodec::codecForName("UTF-8")->toUnicode(raw.constData(), raw.size() - 1, &state);
        if (state.invalidChars) {
            *problem = QStringLiteral("line %1 is not UTF-8").arg(i + 1);
            return {};
        }
        const QStringList parts = line.split('\t');
        if (parts.first() == QLatin1String("%T")) {
            current = &tables[parts.value(1)];
        } else if (parts.first() == QLatin1String("%F") && current) {
            current->fields = parts.mid(1);
        } else if (parts.first() == QLatin1String("%R") && current) {
            if (parts.size() - 1 != current->fields.size()) {
                *problem = QStringLiteral("line %1 has %2 fields, its table %3").arg(i + 1).arg(parts.size() - 1).arg(current->fields.size());
                return {};
            }
            if (line.contains(QLatin1String("%T"))) {
                *problem = QStringLiteral("line %1 holds a table marker inside a value").arg(i + 1);
                return {};
            }
            current->rows.append(parts.mid(1));
        } else if (i > 0 && parts.first() != QLatin1String("%E")) {
            *problem = QStringLiteral("line %1 has no marker").arg(i + 1);
            return {};
        }
    }
    if (!lines.last().isEmpty())
        *problem = QStringLiteral("last line is not terminated");
    return tables;
}

QDateTime xerDate(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString generatorPath()
{
    return QStringLiteral(PLANDECK_BIN_DIR "/plandeck-xergen");
}

} // namespace

class TestXerGenerator : public QObject {
    Q_OBJECT

private slots:
    void sameSeedGivesSameBytes_data();
    void sameSeedGivesSameBytes();
    void fileIsWellFormed_data();
    void fileIsWellFormed();
    void scheduleRespectsItsLogic();
    void demoExercisesEveryFeature();
    void committedDemoMatchesGenerator();
    void commandLine_data();
    void commandLine();
};

void TestXerGenerator::sameSeedGivesSameBytes_data()
{
    QTest::addColumn<int>("activities");
    QTest::newRow("no activities") << 0;
    QTest::newRow("too few for milestones") << 12;
    QTest::newRow("demo size") << 360;
    QTest::newRow("several buildings") << 4000;
}

void TestXerGenerator::sameSeedGivesSameBytes()
{
    QFETCH(int, activities);
    const QByteArray first = XerGenerator(42, activities).toByteArray();
    QCOMPARE(XerGenerator(42, activities).toByteArray(), first);
    QVERIFY(first.startsWith("ERMHDR\t"));
    if (activities > 0)
        QVERIFY(XerGenerator(43, activities).toByteArray() != first);
}

void TestXerGenerator::fileIsWellFormed_data()
{
    QTest::addColumn<int>("activities");
    QTest::newRow("no activities") << 0;
    QTest::newRow("one activity") << 1;
    QTest::newRow("just below milestones") << 19;
    QTest::newRow("just with milestones") << 20;
    QTest::newRow("demo size") << 360;
    QTest::newRow("names repeat with a round number") << 6000;
}

void TestXerGenerator::fileIsWellFormed()
{
    QFETCH(int, activities);
    QString problem;
    const QHash<QString, Table> tables = parse(XerGenerator(7, activities).toByteArray(), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    const Table& task = tables.value("TASK");
    QCOMPARE(task.rows.size(), activities);

    QSet<QString> wbsIds, taskIds, taskCodes, rsrcIds;
    const Table& wbs = tables.value("PROJWBS");
    for (int r = 0; r < wbs.rows.size(); ++r)
        wbsIds.insert(wbs.value(r, "wbs_id"));
    for (int r = 0; r < task.rows.size(); ++r) {
        QVERIFY2(wbsIds.contains(task.value(r, "wbs_id")), qPrintable(task.value(r, "task_code")));
        QVERIFY(!taskIds.contains(task.value(r, "task_id")));
        QVERIFY2(!taskCodes.contains(task.value(r, "task_code")), qPrintable(task.value(r, "task_code")));
        taskIds.insert(task.value(r, "task_id"));
        taskCodes.insert(task.value(r, "task_code"));
        QVERIFY(xerDate(task.value(r, "target_start_date")) <= xerDate(task.value(r, "target_end_date")));
        QVERIFY(xerDate(task.value(r, "early_end_date")) <= xerDate(task.value(r, "late_end_date")));
    }
    const Table& rsrc = tables.value("RSRC");
    for (int r = 0; r < rsrc.rows.size(); ++r)
        rsrcIds.insert(rsrc.value(r, "rsrc_id"));
    const Table& pred = tables.value("TASKPRED");
    for (int r = 0; r < pred.rows.size(); ++r) {
        QVERIFY(taskIds.contains(pred.value(r, "task_id")));
        QVERIFY(taskIds.contains(pred.value(r, "pred_task_id")));
    }
    const Table& assignments = tables.value("TASKRSRC");
    for (int r = 0; r < assignments.rows.size(); ++r) {
        QVERIFY(taskIds.contains(assignments.value(r, "task_id")));
        QVERIFY(rsrcIds.contains(assignments.value(r, "rsrc_id")));
    }
    const Table& codes = tables.value("TASKACTV");
    for (int r = 0; r < codes.rows.size(); ++r)
        QVERIFY(taskIds.contains(codes.value(r, "task_id")));
}

// Early dates must honour every relationship without a lead; a broken forward pass shows here.
void TestXerGenerator::scheduleRespectsItsLogic()
{
    QString problem;
    const QHash<QString, Table> tables = parse(XerGenerator(11, 3000).toByteArray(), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const Table& task = tables.value("TASK");
    QHash<QString, int> rowOf;
    for (int r = 0; r < task.rows.size(); ++r)
        rowOf.insert(task.value(r, "task_id"), r);
    const Table& pred = tables.value("TASKPRED");
    int checked = 0;
    for (int r = 0; r < pred.rows.size(); ++r) {
        if (pred.value(r, "lag_hr_cnt").toDouble() < 0)
            continue;
        const int s = rowOf.value(pred.value(r, "task_id"));
        const int p = rowOf.value(pred.value(r, "pred_task_id"));
        if (task.value(s, "task_type") == QLatin1String("TT_LOE"))
            continue;
        const QString type = pred.value(r, "pred_type");
        const QDateTime succStart = xerDate(task.value(s, "target_start_date"));
        const QDateTime succEnd = xerDate(task.value(s, "target_end_date"));
        const QString where = task.value(p, "task_code") + " " + type + " " + task.value(s, "task_code");
        if (type == QLatin1String("PR_FS"))
            QVERIFY2(succStart >= xerDate(task.value(p, "target_end_date")), qPrintable(where));
        else if (type == QLatin1String("PR_SS"))
            QVERIFY2(succStart >= xerDate(task.value(p, "target_start_date")), qPrintable(where));
        else if (type == QLatin1String("PR_FF"))
            QVERIFY2(succEnd >= xerDate(task.value(p, "target_end_date")), qPrintable(where));
        ++checked;
    }
    QVERIFY(checked > 1000);
}

void TestXerGenerator::demoExercisesEveryFeature()
{
    QString problem;
    const QHash<QString, Table> tables = parse(XerGenerator(2026, 360).toByteArray(), &problem);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    for (const char* name : { "CURRTYPE", "PROJECT", "CALENDAR", "PROJWBS", "TASK", "TASKPRED", "RSRC", "TASKRSRC",
             "ACTVTYPE", "ACTVCODE", "TASKACTV", "UDFTYPE", "UDFVALUE", "VIEWPROP" })
        QVERIFY2(!tables.value(name).rows.isEmpty(), name);

    auto valuesOf = [&](const char* table, const char* field) {
        QSet<QString> values;
        const Table& t = tables.value(table);
        for (int r = 0; r < t.rows.size(); ++r)
            values.insert(t.value(r, field));
        return values;
    };
    const QSet<QString> statuses = valuesOf("TASK", "status_code");
    const QSet<QString> types = valuesOf("TASK", "task_type");
    const QSet<QString> constraints = valuesOf("TASK", "cstr_type");
    const QSet<QString> links = valuesOf("TASKPRED", "pred_type");
    for (const char* s : { "TK_NotStart", "TK_Active", "TK_Complete" })
        QVERIFY2(statuses.contains(s), s);
    for (const char* t : { "TT_Task", "TT_Mile", "TT_FinMile", "TT_LOE", "TT_Rsrc" })
        QVERIFY2(types.contains(t), t);
    for (const char* c : { "CS_MSO", "CS_MANDSTART", "CS_MEOB", "CS_MANDFIN", "" })
        QVERIFY2(constraints.contains(c), c);
    for (const char* l : { "PR_FS", "PR_SS", "PR_FF", "PR_SF" })
        QVERIFY2(links.contains(l), l);

    bool negative = false, fractional = false, positive = false;
    for (const QString& lag : valuesOf("TASKPRED", "lag_hr_cnt")) {
        const double hours = lag.toDouble();
        negative |= hours < 0;
        positive |= hours > 0;
        fractional |= hours != std::floor(hours);
    }
    QVERIFY(negative && positive && fractional);

    QVERIFY(valuesOf("ACTVCODE", "parent_actv_code_id").size() > 1);
    const QSet<QString> udfKinds = valuesOf("UDFTYPE", "logical_data_type");
    QVERIFY(udfKinds.contains("FT_TEXT") && udfKinds.contains("FT_START_DATE") && udfKinds.contains("FT_INT"));
    QVERIFY(valuesOf("UDFVALUE", "udf_text").contains(QString()));

    const QSet<QString> names = valuesOf("TASK", "task_name") + valuesOf("RSRC", "rsrc_name") + valuesOf("PROJWBS", "wbs_name");
    for (const QString& word : { QStringLiteral("Façade"), QStringLiteral("Ærø"), QStringLiteral("Müller") }) {
        const bool found = std::any_of(names.begin(), names.end(), [&](const QString& n) { return n.contains(word); });
        QVERIFY2(found, qPrintable(word));
    }

    const Table& views = tables.value("VIEWPROP");
    for (int r = 0; r < views.rows.size(); ++r) {
        const QString data = views.value(r, "data_pos");
        QCOMPARE(data.count('('), data.count(')'));
        QVERIFY(data.startsWith(QLatin1String("(0||")));
    }
    QVERIFY(views.rows.first().join('\t').contains(QLatin1String("join_path|PROJWBS")));
}

void TestXerGenerator::committedDemoMatchesGenerator()
{
    QFile args(QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.args"));
    QFile demo(QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.xer"));
    QVERIFY(args.open(QIODevice::ReadOnly));
    QVERIFY(demo.open(QIODevice::ReadOnly));
    const QStringList words = QString::fromUtf8(args.readAll()).simplified().split(' ');
    QCOMPARE(words.size(), 4);
    QCOMPARE(words.at(0), QStringLiteral("--seed"));
    QCOMPARE(words.at(2), QStringLiteral("--activities"));
    const QByteArray expected = XerGenerator(words.at(1).toULongLong(), words.at(3).toInt()).toByteArray();
    QVERIFY2(demo.readAll() == expected, "data/demo.xer is stale: regenerate it as data/README.md says");
}

void TestXerGenerator::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("writesSchedule");
    QTest::newRow("seed and count") << QStringList { "--seed", "5", "--activities", "40" } << 0 << true;
    QTest::newRow("count not a number") << QStringList { "--seed", "5", "--activities", "many" } << 2 << false;
    QTest::newRow("negative count") << QStringList { "--activities", "-3" } << 2 << false;
    QTest::newRow("unknown option") << QStringList { "--verbose" } << 2 << false;
    QTest::newRow("option without value") << QStringList { "--seed" } << 2 << false;
}

void TestXerGenerator::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(bool, writesSchedule);

    QProcess toStdout;
    toStdout.start(generatorPath(), arguments);
    QVERIFY(toStdout.waitForFinished(30000));
    QCOMPARE(toStdout.exitCode(), exitCode);
    if (!writesSchedule) {
        QVERIFY(toStdout.readAllStandardOutput().isEmpty());
        QVERIFY(!toStdout.readAllStandardError().isEmpty());
        return;
    }
    const QByteArray printed = toStdout.readAllStandardOutput();
    QCOMPARE(printed, XerGenerator(5, 40).toByteArray());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.xer"));
    QCOMPARE(QProcess::execute(generatorPath(), arguments + QStringList { "-o", path }), 0);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), printed);

    QCOMPARE(QProcess::execute(generatorPath(), arguments + QStringList { "-o", dir.filePath("missing/out.xer") }), 1);
}

QTEST_GUILESS_MAIN(TestXerGenerator)
#include "tst_xergenerator.moc"
