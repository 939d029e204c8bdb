#include "basecontainermodel.h"
#include "icontainer.h"
#include "plandeckresources.h"
#include "xertestload.h"
#include "xerfile.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>
#include <QtTest>

namespace {

const QStringList tableNames = {"ACTVCODE", "ACTVTYPE", "PROJWBS", "RSRC", "TASK",
                                "TASKACTV", "TASKPRED", "TASKRSRC", "UDFTYPE", "UDFVALUE"};

// A table model as text, headers first, so that two loads compare cell by cell.
QStringList modelText(const QAbstractItemModel *model)
{
    QStringList lines{headerTexts(model).join('|')};
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QVariant value = model->index(r, c).data();
            cells << QString("%1:%2").arg(value.typeName()).arg(value.toString());
        }
        lines << cells.join('|');
    }
    return lines;
}

// Record counts by table, counted straight from the file's "%T" and "%R" lines.
QMap<QString, int> recordCounts(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QMap<QString, int> counts;
    QString table;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("%T\t")) {
            table = QString::fromLatin1(line.mid(3)).trimmed();
            counts[table] += 0;
        }
        else if (line.startsWith("%R\t"))
            ++counts[table];
    }
    return counts;
}

} // namespace

class tst_XERLoader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void shouldTypeEveryFieldByItsColumn_data();
    void shouldTypeEveryFieldByItsColumn();
    void shouldSignalInOrder_data();
    void shouldSignalInOrder();
    void shouldStopWhenCancelled_data();
    void shouldStopWhenCancelled();
    void shouldOpenLineEndTwinsAlike_data();
    void shouldOpenLineEndTwinsAlike();
    void shouldKeepCatalogueAtSchemaLengthOnSecondLoad();
    void shouldCollectStoredViews_data();
    void shouldCollectStoredViews();
    void shouldHandModelsToLoaderThreadWhenRunOnPool();
    void shouldConvertRecordsByTheLastFieldNames_data();
    void shouldConvertRecordsByTheLastFieldNames();
    void shouldKeepFileOrderOfALargeTable();

private:
    QString write(const QString &name, const QByteArray &content);

    QTemporaryDir m_dir;
    QString m_project;
};

void tst_XERLoader::initTestCase()
{
    plandeck::initResources();
    QVERIFY(m_dir.isValid());
    m_project = write("project.crlf.xer", xerText(smallProjectTables()));
    write("project.lf.xer", xerText(smallProjectTables(), "\n"));
    write("project.cr.xer", xerText(smallProjectTables(), "\r"));
    // Line ends that change part-way, as concatenating or hand-editing leaves them.
    const QByteArray crlfText = xerText(smallProjectTables());
    const int middle = crlfText.indexOf("%T\tTASKPRED");
    write("project.crlf-then-lf.xer", crlfText.left(middle) + crlfText.mid(middle).replace("\r\n", "\n"));
    const QByteArray lfText = xerText(smallProjectTables(), "\n");
    const int lfMiddle = lfText.indexOf("%T\tTASKPRED");
    write("project.lf-then-crlf.xer", lfText.left(lfMiddle) + lfText.mid(lfMiddle).replace("\n", "\r\n"));

    const QString generator = QStringLiteral(PLANDECK_BIN_DIR "/plandeck-xergen");
    const QString generated = m_dir.filePath("generated.crlf.xer");
    if (QFile::exists(generator)) {
        QCOMPARE(QProcess::execute(generator, {"--seed", "7", "--activities", "300", "-o", generated}), 0);
        QFile file(generated);
        QVERIFY(file.open(QIODevice::ReadOnly));
        write("generated.lf.xer", file.readAll().replace("\r\n", "\n"));
    }
}

QString tst_XERLoader::write(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    if (!writeFile(path, content))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_XERLoader::shouldTypeEveryFieldByItsColumn_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("integer") << "TASK" << 1 << "wbs_id" << QVariant(100);
    QTest::newRow("non-ASCII string") << "PROJWBS" << 1 << "wbs_name" << QVariant("Façade");
    QTest::newRow("empty string stays invalid") << "TASK" << 3 << "task_code" << QVariant();
    QTest::newRow("column the file lacks stays invalid") << "TASK" << 0 << "free_float_hr_cnt" << QVariant();
    QTest::newRow("fields in another order than the catalogue") << "UDFVALUE" << 3 << "udf_number" << QVariant(12.5);
}

void tst_XERLoader::shouldTypeEveryFieldByItsColumn()
{
    QFETCH(QString, table);
    QFETCH(int, row);
    QFETCH(QString, id);
    QFETCH(QVariant, expected);

    LoadRecord record = load(m_project);
    auto *model = qobject_cast<BaseContainerModel *>(record.loader->model(table));
    QVERIFY(model);
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model->columnCount(), record.loader->tableColumns(table).size());
    QCOMPARE(model->container()->columnIndexById("guid"), -1);
    const QVariant value = model->index(row, model->container()->columnIndexById(id)).data();
    QCOMPARE(value.userType(), expected.userType());
    QCOMPARE(value, expected);
}

void tst_XERLoader::shouldSignalInOrder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("models");
    QTest::addColumn<QStringList>("warnings");

    const QStringList steps = {"started",
                               "10 Read project from file",
                               "20 Create Predecessor Model",
                               "30 Create Resource Model",
                               "40 Create Codes Model",
                               "50 Create Task Codes Assignment Model",
                               "60 Create UDF Assignment Model",
                               "70 Create Activity Model",
                               "80 Process data",
                               "finished"};
    const QString failure = "^XERLoader::read .*bad\\.xer";
    QTest::newRow("project") << "good.xer" << xerText(smallProjectTables()) << steps << true << QStringList();
    QTest::newRow("empty file is not a schedule")
        << "empty-bad.xer" << QByteArray("") << QStringList{"started", "10 Read project from file", "failed 1"}
        << false << QStringList{failure};
    QTest::newRow("file cannot be opened") << "absent-bad.xer" << QByteArray() << QStringList{"started", "failed 2"}
                                           << false << QStringList{"^XERFile::read cannot open", failure};
    QTest::newRow("no header") << "bad.xer" << QByteArray("%T\tTASK\r\n%F\ttask_id\r\n%R\t1\r\n")
                               << QStringList{"started", "failed 1"} << false << QStringList{failure};
    QTest::newRow("byte-order mark before header")
        << "bad.xer" << QByteArray("\xEF\xBB\xBF") + xerText(smallProjectTables()) << QStringList{"started", "failed 1"}
        << false << QStringList{failure};
}

void tst_XERLoader::shouldSignalInOrder()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, events);
    QFETCH(bool, models);
    QFETCH(QStringList, warnings);

    const QString path = content.isNull() ? m_dir.filePath(file) : write(file, content);
    for (const QString &warning : warnings)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    const LoadRecord record = load(path);
    QCOMPARE(record.events, events);
    QCOMPARE(record.loader->models().isEmpty(), !models);
    QCOMPARE(record.loader->views().isEmpty(), !models);
}

void tst_XERLoader::shouldStopWhenCancelled_data()
{
    QTest::addColumn<int>("cancelAt"); // percent of the progress step that cancels; -1 before the read
    QTest::newRow("before the read starts") << -1;
    QTest::newRow("after the file is read") << 10;
    QTest::newRow("between two models") << 50;
}

void tst_XERLoader::shouldStopWhenCancelled()
{
    QFETCH(int, cancelAt);
    XERLoader loader(m_project, catalogue());
    QStringList events;
    connect(&loader, &ProjectLoader::progress, &loader, [&](int percent) {
        events << QString::number(percent);
        if (percent == cancelAt)
            loader.cancel();
    }, Qt::DirectConnection);
    connect(&loader, &ProjectLoader::finished, &loader, [&] { events << "finished"; }, Qt::DirectConnection);
    connect(&loader, &ProjectLoader::failed, &loader, [&](int code) { events << QString("failed %1").arg(code); },
            Qt::DirectConnection);
    if (cancelAt < 0)
        loader.cancel();
    loader.read();
    QCOMPARE(events.constLast(), QString("failed %1").arg(xer::Cancelled));
    QCOMPARE(events.count(QString::number(cancelAt)), cancelAt < 0 ? 0 : 1);
    QCOMPARE(events.size(), cancelAt < 0 ? 1 : cancelAt / 10 + 1);
    QVERIFY(loader.models().isEmpty());
}

void tst_XERLoader::shouldOpenLineEndTwinsAlike_data()
{
    QTest::addColumn<QString>("crlf");
    QTest::addColumn<QString>("other");
    QTest::newRow("LF alone") << m_project << m_dir.filePath("project.lf.xer");
    QTest::newRow("CR alone") << m_project << m_dir.filePath("project.cr.xer");
    QTest::newRow("CR LF, then LF") << m_project << m_dir.filePath("project.crlf-then-lf.xer");
    QTest::newRow("LF, then CR LF") << m_project << m_dir.filePath("project.lf-then-crlf.xer");
    if (QFile::exists(m_dir.filePath("generated.lf.xer")))
        QTest::newRow("generated") << m_dir.filePath("generated.crlf.xer") << m_dir.filePath("generated.lf.xer");
    for (const QString &base : sampleBases())
        QTest::newRow(qPrintable(QFileInfo(base).fileName())) << base + ".crlf.xer" << base + ".lf.xer";
}

void tst_XERLoader::shouldOpenLineEndTwinsAlike()
{
    QFETCH(QString, crlf);
    QFETCH(QString, other);
    const LoadRecord twin = load(crlf);
    const LoadRecord record = load(other);
    QCOMPARE(twin.events.constLast(), QString("finished"));
    QCOMPARE(record.events, twin.events);

    const QMap<QString, int> counts = recordCounts(crlf);
    for (const QString &name : tableNames) {
        QCOMPARE(record.loader->hasModel(name), counts.contains(name));
        if (counts.contains(name)) {
            QCOMPARE(record.loader->model(name)->objectName(), name);
            QCOMPARE(record.loader->model(name)->rowCount(), counts.value(name));
        }
    }
    QVERIFY(!record.loader->hasModel("VIEWPROP"));
    QCOMPARE(record.loader->models().size(), record.loader->modelNames().size());
    QCOMPARE(record.loader->modelNames(), twin.loader->modelNames());
    for (const QString &name : twin.loader->modelNames())
        QCOMPARE(modelText(record.loader->model(name)), modelText(twin.loader->model(name)));

    QCOMPARE(record.loader->views(), twin.loader->views());
    QCOMPARE(record.loader->views().size(), counts.value("VIEWPROP"));
    for (const QVariant &view : record.loader->views()) {
        QVERIFY(!view.toMap().value("VIEW_NAME").toString().isEmpty());
        QVERIFY(!view.toMap().value("VIEW_DATA").toString().isEmpty());
    }
}

void tst_XERLoader::shouldKeepCatalogueAtSchemaLengthOnSecondLoad()
{
    const LoadRecord first = load(m_project);
    const LoadRecord second = load(m_project);
    first.loader->read();
    for (const QString &name : tableNames) {
        const int expected = first.loader->tableColumns(name).size();
        QVERIFY(expected > 0);
        QCOMPARE(first.loader->model(name)->columnCount(), expected);
        QCOMPARE(second.loader->model(name)->columnCount(), expected);
    }
    QCOMPARE(modelText(first.loader->model("TASK")), modelText(second.loader->model("TASK")));
}

void tst_XERLoader::shouldCollectStoredViews_data()
{
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("views");
    QTest::newRow("lower-case field names") << QStringList{"view_id", "view_name", "data_pos"} << 2;
    QTest::newRow("upper-case field names") << QStringList{"VIEW_ID", "VIEW_NAME", "DATA_POS"} << 2;
    QTest::newRow("without the view data") << QStringList{"view_id", "view_name", "user_id"} << 0;
}

void tst_XERLoader::shouldCollectStoredViews()
{
    QFETCH(QStringList, fields);
    QFETCH(int, views);
    XerTestTable viewTable{"VIEWPROP", fields, {{"7", "Default", "[View]A"}, {"8", "Critical", "[View]B"}}};
    const LoadRecord record = load(write("views.xer", xerText({smallProjectTables().at(1), viewTable})));

    QCOMPARE(record.loader->views().size(), views);
    if (views > 0) {
        const QVariantMap expected{{"VIEW_ID", "8"}, {"VIEW_NAME", "Critical"}, {"VIEW_DATA", "[View]B"}};
        QCOMPARE(record.loader->views().at(1).toMap(), expected);
    }
}

void tst_XERLoader::shouldHandModelsToLoaderThreadWhenRunOnPool()
{
    XERLoader loader(m_project, catalogue());
    QSignalSpy finished(&loader, &ProjectLoader::finished);
    QSignalSpy progress(&loader, &ProjectLoader::progress);
    QtConcurrent::run(QThreadPool::globalInstance(), &loader, &XERLoader::read);
    QVERIFY(finished.wait(10000));
    for (QAbstractItemModel *model : loader.models())
        QCOMPARE(model->thread(), loader.thread());
    QCOMPARE(progress.constLast().at(0).toInt(), 80);
    for (const char *step : {"read", "tables", "ActivityModel", "total"})
        QVERIFY2(loader.timings().contains(step), step);
    QThreadPool::globalInstance()->waitForDone();
}


void tst_XERLoader::shouldConvertRecordsByTheLastFieldNames_data()
{
    QTest::addColumn<QByteArray>("taskLines");

    const QByteArray names = "%F\ttask_id\ttask_code\r\n";
    const QByteArray swapped = "%F\ttask_code\ttask_id\r\n";
    const QByteArray records = "%R\t1\tA1\r\n%R\t2\tA2\r\n";
    QTest::newRow("field names first") << names + records;
    QTest::newRow("field names after the records") << records + names;
    QTest::newRow("field names between the records") << records.left(9) + names + records.mid(9);
    QTest::newRow("field names replaced after a record") << swapped + records.left(9) + names + records.mid(9);
    QTest::newRow("field names replaced before the records") << swapped + names + records;
}

// Every record of a table takes its values by the table's last field-name
// line, wherever that line stands.
void tst_XERLoader::shouldConvertRecordsByTheLastFieldNames()
{
    QFETCH(QByteArray, taskLines);

    const QByteArray text = "ERMHDR\t19.12\r\n%T\tPROJWBS\r\n%F\twbs_id\r\n%R\t7\r\n%T\tTASK\r\n" + taskLines
        + "%T\tTASKPRED\r\n%F\ttask_pred_id\r\n%R\t9\r\n%E\r\n";
    LoadRecord record = load(write("fieldnames.xer", text));
    QCOMPARE(record.events.last(), QString("finished"));
    const auto *task = qobject_cast<BaseContainerModel *>(record.loader->model("TASK"));
    QVERIFY(task);
    const int id = task->container()->columnIndexById("task_id");
    const int code = task->container()->columnIndexById("task_code");
    QCOMPARE(task->rowCount(), 2);
    for (int r = 0; r < 2; ++r) {
        QCOMPARE(task->index(r, id).data(), QVariant(r + 1));
        QCOMPARE(task->index(r, code).data(), QVariant(QString("A%1").arg(r + 1)));
    }
    // The tables around it are unaffected.
    QCOMPARE(record.loader->model("PROJWBS")->rowCount(), 1);
    QCOMPARE(record.loader->model("TASKPRED")->rowCount(), 1);
}

// A table of several mebibytes is converted in batches on more than one
// thread; its rows must still come out in file order.
void tst_XERLoader::shouldKeepFileOrderOfALargeTable()
{
    XerTestTable task{"TASK", {"task_id", "task_name", "target_start_date", "target_drtn_hr_cnt"}, {}};
    const int count = 20000;
    for (int i = 1; i <= count; ++i) {
        task.records << QStringList{QString::number(i), QString("Activity %1 ").arg(i).leftJustified(150, 'x'),
                                    QString("2019-03-%1 08:00").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                                    QString::number(i % 7 * 0.5)};
    }
    LoadRecord record = load(write("large.xer", xerText({task})));
    const auto *model = qobject_cast<BaseContainerModel *>(record.loader->model("TASK"));
    QVERIFY(model);
    QCOMPARE(model->rowCount(), count);
    const IContainer &container = *model->container();
    const int id = container.columnIndexById("task_id");
    const int name = container.columnIndexById("task_name");
    const int start = container.columnIndexById("target_start_date");
    const int duration = container.columnIndexById("target_drtn_hr_cnt");
    for (int r = 0; r < count; ++r) {
        const int i = r + 1;
        QCOMPARE(container.data(r, id), QVariant(i));
        QVERIFY(container.data(r, name).toString().startsWith(QString("Activity %1 ").arg(i)));
        QCOMPARE(container.data(r, start).toDateTime().date().day(), 1 + i % 28);
        QCOMPARE(container.data(r, duration), QVariant(i % 7 * 0.5));
    }
}

QTEST_GUILESS_MAIN(tst_XERLoader)
#include "tst_xerloader.moc"
