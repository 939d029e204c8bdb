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
    QString value(int row, const QString& name) const { return rows.at(row).value(fields.indexOf(name)); }
};
using Tables = QHash<QString, Table>;

// A deliberately independent reading of the file: strict about line ends and field counts.
Tables parse(const QByteArray& data, QString* problem)
{
    Tables tables;
    Table* current = nullptr;
    const QList<QByteArray> lines = data.split('\n');
    auto fail = [&](int i, const QString& what) {
        *problem = QStringLiteral("line %1 %2").arg(i + 1).arg(what);
        return Tables();
    };
    for (int i = 0; i < lines.size() - 1; ++i) {
        const QByteArray& raw = lines.at(i);
        if (!raw.endsWith('\r'))
            return fail(i, "does not end in CR LF");
        QTextCodec::ConverterState state;
        const QString line = QTextCodec::codecForName("UTF-8")->toUnicode(raw.constData(), raw.size() - 1, &state);
        if (state.invalidChars)
            return fail(i, "is not UTF-8");
        const QStringList parts = line.split('\t');
        if (parts.first() == QLatin1String("%T")) {
            current = &tables[parts.value(1)];
        } else if (parts.first() == QLatin1String("%F") && current) {
            current->fields = parts.mid(1);
        } else if (parts.first() == QLatin1String("%R") && current) {
            if (parts.size() - 1 != current->fields.size())
                return fail(i, QStringLiteral("has %1 fields, its table %2").arg(parts.size() - 1).arg(current->fields.size()));
            if (line.contains(QLatin1String("%T")))
                return fail(i, "holds a table marker inside a value");
            current->rows.append(parts.mid(1));
        } else if (i > 0 && parts.first() != QLatin1String("%E")) {
            return fail(i, "has no marker");
        }
    }
    if (!lines.last().isEmpty())
        *problem = QStringLiteral("last line is not terminated");
    return tables;
}

QSet<QString> valuesOf(const Tables& tables, const QString& table, const QString& field)
{
    QSet<QString> values;
    const Table& t = tables.value(table);
    for (int r = 0; r < t.rows.size(); ++r)
        values.insert(t.value(r, field));
    return values;
}

QDateTime xerDate(const QString& text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm"));
}

const QString generatorPath = QStringLiteral(PLANDECK_BIN_DIR "/plandeck-xergen");

} // namespace

class TestXerGenerator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString problem;
        m_demo = parse(XerGenerator(2026, 360).toByteArray(), &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }

    void generatedFile_data()
    {
        QTest::addColumn<int>("activities");
        QTest::newRow("no activities") << 0;
        QTest::newRow("one activity") << 1;
        QTest::newRow("just below milestones") << 19;
        QTest::newRow("just with milestones") << 20;
        QTest::newRow("names repeat with a round number") << 6000;
    }

    // Same seed, same bytes; unique ids and codes; every reference leads
    // somewhere; early dates honour every relationship without a lead, so a
    // broken forward pass shows here.
    void generatedFile()
    {
        QFETCH(int, activities);
        const QByteArray bytes = XerGenerator(7, activities).toByteArray();
        QCOMPARE(XerGenerator(7, activities).toByteArray(), bytes);
        QVERIFY(bytes.startsWith("ERMHDR\t"));
        if (activities > 0)
            QVERIFY(XerGenerator(8, activities).toByteArray() != bytes);
        QString problem;
        const Tables tables = parse(bytes, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const Table& task = tables.value("TASK");
        const QSet<QString> taskIds = valuesOf(tables, "TASK", "task_id");
        QCOMPARE(task.rows.size(), activities);
        QCOMPARE(taskIds.size(), activities);
        QCOMPARE(valuesOf(tables, "TASK", "task_code").size(), activities);
        QVERIFY(valuesOf(tables, "PROJWBS", "wbs_id").contains(valuesOf(tables, "TASK", "wbs_id")));
        for (const char* table : { "TASKPRED", "TASKRSRC", "TASKACTV" })
            QVERIFY2(taskIds.contains(valuesOf(tables, table, "task_id")), table);
        QVERIFY(taskIds.contains(valuesOf(tables, "TASKPRED", "pred_task_id")));
        QVERIFY(valuesOf(tables, "RSRC", "rsrc_id").contains(valuesOf(tables, "TASKRSRC", "rsrc_id")));

        QHash<QString, int> rowOf;
        for (int r = 0; r < task.rows.size(); ++r) {
            QVERIFY(xerDate(task.value(r, "target_start_date")) <= xerDate(task.value(r, "target_end_date")));
            QVERIFY(xerDate(task.value(r, "early_end_date")) <= xerDate(task.value(r, "late_end_date")));
            rowOf.insert(task.value(r, "task_id"), r);
        }
        const Table& pred = tables.value("TASKPRED");
        int checked = 0;
        for (int r = 0; r < pred.rows.size(); ++r) {
            const int s = rowOf.value(pred.value(r, "task_id"));
            const int p = rowOf.value(pred.value(r, "pred_task_id"));
            if (pred.value(r, "lag_hr_cnt").toDouble() < 0 || task.value(s, "task_type") == QLatin1String("TT_LOE"))
                continue;
            const QString type = pred.value(r, "pred_type");
            const QString where = task.value(p, "task_code") + " " + type + " " + task.value(s, "task_code");
            const QString succ = type == QLatin1String("PR_FF") ? "target_end_date" : "target_start_date";
            const QString anchor = type == QLatin1String("PR_SS") ? "target_start_date" : "target_end_date";
            if (type != QLatin1String("PR_SF"))
                QVERIFY2(xerDate(task.value(s, succ)) >= xerDate(task.value(p, anchor)), qPrintable(where));
            ++checked;
        }
        QVERIFY2(checked * 10 >= pred.rows.size() * 9, "too few links checked to mean anything");
    }

    void demoHasEveryKind_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("every status") << "TASK" << "status_code" << QStringList { "TK_NotStart", "TK_Active", "TK_Complete" };
        QTest::newRow("every activity type") << "TASK" << "task_type" << QStringList { "TT_Task", "TT_Mile", "TT_FinMile", "TT_LOE", "TT_Rsrc" };
        QTest::newRow("every constraint, and none") << "TASK" << "cstr_type" << QStringList { "CS_MSO", "CS_MANDSTART", "CS_MEOB", "CS_MANDFIN", "" };
        QTest::newRow("all four relationship types") << "TASKPRED" << "pred_type" << QStringList { "PR_FS", "PR_SS", "PR_FF", "PR_SF" };
        QTest::newRow("text, date and number fields") << "UDFTYPE" << "logical_data_type" << QStringList { "FT_TEXT", "FT_START_DATE", "FT_INT" };
        QTest::newRow("an empty field value") << "UDFVALUE" << "udf_text" << QStringList { QString() };
    }

    void demoHasEveryKind()
    {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(QStringList, values);
        const QSet<QString> found = valuesOf(m_demo, table, field);
        for (const QString& v : values)
            QVERIFY2(found.contains(v), qPrintable(v));
    }

    void demoExercisesEveryFeature()
    {
        for (const char* name : { "CURRTYPE", "PROJECT", "CALENDAR", "PROJWBS", "TASK", "TASKPRED", "RSRC", "TASKRSRC",
                 "ACTVTYPE", "ACTVCODE", "TASKACTV", "UDFTYPE", "UDFVALUE", "VIEWPROP" })
            QVERIFY2(!m_demo.value(name).rows.isEmpty(), name);
        bool negative = false, fractional = false, positive = false;
        for (const QString& lag : valuesOf(m_demo, "TASKPRED", "lag_hr_cnt")) {
            const double hours = lag.toDouble();
            negative |= hours < 0;
            positive |= hours > 0;
            fractional |= hours != std::floor(hours);
        }
        QVERIFY(negative && positive && fractional);
        QVERIFY(valuesOf(m_demo, "ACTVCODE", "parent_actv_code_id").size() > 1);
        const QStringList names = (valuesOf(m_demo, "TASK", "task_name") + valuesOf(m_demo, "RSRC", "rsrc_name")
                                   + valuesOf(m_demo, "PROJWBS", "wbs_name")).values();
        for (const QString& word : { QStringLiteral("Façade"), QStringLiteral("Ærø"), QStringLiteral("Müller") })
            QVERIFY2(!names.filter(word).isEmpty(), qPrintable(word));
    }

    void committedDemoMatchesGenerator()
    {
        QFile args(QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.args"));
        QFile demo(QStringLiteral(PLANDECK_SOURCE_DIR "/data/demo.xer"));
        QVERIFY(args.open(QIODevice::ReadOnly) && demo.open(QIODevice::ReadOnly));
        const QStringList words = QString::fromUtf8(args.readAll()).simplified().split(' ');
        QCOMPARE(words.size(), 4);
        QCOMPARE(words.at(0) + words.at(2), QStringLiteral("--seed--activities"));
        const QByteArray expected = XerGenerator(words.at(1).toULongLong(), words.at(3).toInt()).toByteArray();
        QVERIFY2(demo.readAll() == expected, "data/demo.xer is stale: regenerate it as data/README.md says");
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("seed and count") << QStringList { "--seed", "5", "--activities", "40" } << 0;
        QTest::newRow("count not a number") << QStringList { "--seed", "5", "--activities", "many" } << 2;
        QTest::newRow("negative count") << QStringList { "--activities", "-3" } << 2;
        QTest::newRow("unknown option") << QStringList { "--verbose" } << 2;
        QTest::newRow("option without value") << QStringList { "--seed" } << 2;
    }

    // To standard output, to a file, and to a file that cannot be made.
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QProcess toStdout;
        toStdout.start(generatorPath, arguments);
        QVERIFY(toStdout.waitForFinished(30000));
        QCOMPARE(toStdout.exitCode(), exitCode);
        const QByteArray printed = toStdout.readAllStandardOutput();
        if (exitCode != 0) {
            QVERIFY(printed.isEmpty());
            QVERIFY(!toStdout.readAllStandardError().isEmpty());
            return;
        }
        QCOMPARE(printed, XerGenerator(5, 40).toByteArray());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.xer"));
        QCOMPARE(QProcess::execute(generatorPath, arguments + QStringList { "-o", path }), 0);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), printed);
        QCOMPARE(QProcess::execute(generatorPath, arguments + QStringList { "-o", dir.filePath("missing/out.xer") }), 1);
    }

private:
    Tables m_demo;
};

QTEST_GUILESS_MAIN(TestXerGenerator)
#include "tst_xergenerator.moc"
