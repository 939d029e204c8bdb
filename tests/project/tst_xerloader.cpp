#include "basecontainermodel.h"
#include "icontainer.h"
#include "plandeckresources.h"
#include "xerloader.h"
#include "xertestfile.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtConcurrent>
#include <QtTest>

namespace {

QJsonDocument catalogue()
{
    QFile file(QStringLiteral(":/files/schema.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

const QStringList tableNames = {"ACTVCODE", "ACTVTYPE", "PROJWBS", "RSRC", "TASK",
                                "TASKACTV", "TASKPRED", "TASKRSRC", "UDFTYPE", "UDFVALUE"};

// Every signal of a load, in the order the loader emitted them.
struct LoadRecord
{
    std::unique_ptr<XERLoader> loader;
    QStringList events;
};

LoadRecord load(const QString &path)
{
    LoadRecord record{std::make_unique<XERLoader>(path, catalogue()), {}};
    XERLoader *loader = record.loader.get();
    QStringList *events = &record.events;
    QObject::connect(loader, &ProjectLoader::started, loader, [events] { events->append("started"); }, Qt::DirectConnection);
    QObject::connect(loader, &ProjectLoader::progress, loader,
                     [events](int percent, const QString &text) { events->append(QString("%1 %2").arg(percent).arg(text)); },
                     Qt::DirectConnection);
    QObject::connect(loader, &ProjectLoader::finished, loader, [events] { events->append("finished"); }, Qt::DirectConnection);
    QObject::connect(loader, &ProjectLoader::failed, loader, [events](int code) { events->append(QString("failed %1").arg(code)); },
                     Qt::DirectConnection);
    loader->read();
    return record;
}

// A table model as text, headers first, so that two loads compare cell by cell.
QStringList modelText(const QAbstractItemModel *model)
{
    QStringList lines;
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c)
        header << model->headerData(c, Qt::Horizontal).toString();
    lines << header.join('|');
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
    void shouldRegisterOneModelPerTableInFile_data();
    void shouldRegisterOneModelPerTableInFile();
    void shouldReportProgressInOrder();
    void shouldFailWithoutFinishing_data();
    void shouldFailWithoutFinishing();
    void shouldFinishEmptyFileWithoutModels();
    void shouldOpenFileWithOtherLineEndsLikeItsCrLfTwin_data();
    void shouldOpenFileWithOtherLineEndsLikeItsCrLfTwin();
    void shouldKeepCatalogueAtSchemaLengthOnSecondLoad();
    void shouldCollectStoredViews_data();
    void shouldCollectStoredViews();
    void shouldHandModelsToLoaderThreadWhenRunOnPool();
    void shouldCollectViewsOfGeneratedFile();
    void shouldLoadSampleFilesWhateverTheirLineEnds_data();
    void shouldLoadSampleFilesWhateverTheirLineEnds();

private:
    QString write(const QString &name, const QByteArray &content);

    QTemporaryDir m_dir;
    QString m_project;
};

void tst_XERLoader::initTestCase()
{
    plandeck::initResources();
    QVERIFY(m_dir.isValid());
    m_project = write("project.xer", xerText(smallProjectTables()));
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
    QTest::newRow("datetime in another form is an invalid date")
        << "TASK" << 3 << "cstr_date2" << QVariant(QDateTime());
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

void tst_XERLoader::shouldRegisterOneModelPerTableInFile_data()
{
    QTest::addColumn<QString>("missing");
    QTest::newRow("every table") << "";
    QTest::newRow("no relationships") << "TASKPRED";
    QTest::newRow("no code assignments") << "TASKACTV";
}

void tst_XERLoader::shouldRegisterOneModelPerTableInFile()
{
    QFETCH(QString, missing);
    QList<XerTestTable> tables = smallProjectTables();
    QMap<QString, int> records;
    for (int i = tables.size() - 1; i >= 0; --i) {
        if (tables.at(i).name == missing)
            tables.removeAt(i);
        else
            records.insert(tables.at(i).name, tables.at(i).records.size());
    }
    LoadRecord record = load(write("partial.xer", xerText(tables)));

    for (const QString &name : tableNames) {
        QCOMPARE(record.loader->hasModel(name), name != missing);
        if (name == missing)
            continue;
        QCOMPARE(record.loader->model(name)->objectName(), name);
        QCOMPARE(record.loader->model(name)->rowCount(), records.value(name));
    }
    QVERIFY(!record.loader->hasModel("VIEWPROP"));
    QCOMPARE(record.loader->models().size(), record.loader->modelNames().size());
}

void tst_XERLoader::shouldReportProgressInOrder()
{
    const LoadRecord record = load(m_project);
    const QStringList expected = {"started",
                                  "10 Read project from file",
                                  "20 Create Predecessor Model",
                                  "30 Create Resource Model",
                                  "40 Create Codes Model",
                                  "50 Create Task Codes Assignment Model",
                                  "60 Create UDF Assignment Model",
                                  "70 Create Activity Model",
                                  "80 Process data",
                                  "finished"};
    QCOMPARE(record.events, expected);
    const QVariantMap timings = record.loader->timings();
    for (const char *step : {"read", "tables", "ActivityModel", "total"})
        QVERIFY2(timings.contains(step), step);
}

void tst_XERLoader::shouldFailWithoutFinishing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("file cannot be opened") << QByteArray() << 2;
    QTest::newRow("no header") << QByteArray("%T\tTASK\r\n%F\ttask_id\r\n%R\t1\r\n") << 1;
    QTest::newRow("byte-order mark before header") << QByteArray("\xEF\xBB\xBF") + xerText(smallProjectTables()) << 1;
}

void tst_XERLoader::shouldFailWithoutFinishing()
{
    QFETCH(QByteArray, content);
    QFETCH(int, errorCode);
    const QString path = content.isEmpty() ? m_dir.filePath("absent.xer") : write("bad.xer", content);

    if (errorCode == 2)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^XERFile::read cannot open"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^XERLoader::read .*(bad|absent)\\.xer"));
    const LoadRecord record = load(path);
    QCOMPARE(record.events, QStringList({"started", QString("failed %1").arg(errorCode)}));
    QVERIFY(record.loader->models().isEmpty());
}

void tst_XERLoader::shouldFinishEmptyFileWithoutModels()
{
    const LoadRecord record = load(write("empty.xer", QByteArray()));
    QCOMPARE(record.events.constFirst(), QString("started"));
    QCOMPARE(record.events.constLast(), QString("finished"));
    QVERIFY(record.loader->models().isEmpty());
    QVERIFY(record.loader->views().isEmpty());
}

void tst_XERLoader::shouldOpenFileWithOtherLineEndsLikeItsCrLfTwin_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("LF alone") << QByteArray("\n");
    QTest::newRow("CR alone") << QByteArray("\r");
}

void tst_XERLoader::shouldOpenFileWithOtherLineEndsLikeItsCrLfTwin()
{
    QFETCH(QByteArray, lineEnd);
    const LoadRecord crlf = load(m_project);
    const LoadRecord lf = load(write("project.other.xer", xerText(smallProjectTables(), lineEnd)));
    QCOMPARE(lf.loader->modelNames(), crlf.loader->modelNames());
    for (const QString &name : crlf.loader->modelNames())
        QCOMPARE(modelText(lf.loader->model(name)), modelText(crlf.loader->model(name)));
    QCOMPARE(lf.loader->views(), crlf.loader->views());
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
    QThreadPool::globalInstance()->waitForDone();
}

void tst_XERLoader::shouldCollectViewsOfGeneratedFile()
{
    const QString generator = QStringLiteral(PLANDECK_BIN_DIR "/plandeck-xergen");
    if (!QFile::exists(generator))
        QSKIP("the schedule generator is not built");
    const QString path = m_dir.filePath("generated.xer");
    QCOMPARE(QProcess::execute(generator, {"--seed", "7", "--activities", "300", "-o", path}), 0);

    const LoadRecord record = load(path);
    QCOMPARE(record.events.constLast(), QString("finished"));
    const QMap<QString, int> counts = recordCounts(path);
    for (const QString &name : tableNames) {
        if (counts.contains(name))
            QCOMPARE(record.loader->model(name)->rowCount(), counts.value(name));
    }
    QCOMPARE(record.loader->views().size(), counts.value("VIEWPROP"));
    QVERIFY(!record.loader->views().isEmpty());
    for (const QVariant &view : record.loader->views()) {
        QVERIFY(!view.toMap().value("VIEW_NAME").toString().isEmpty());
        QVERIFY(!view.toMap().value("VIEW_DATA").toString().isEmpty());
    }
}

void tst_XERLoader::shouldLoadSampleFilesWhateverTheirLineEnds_data()
{
    QTest::addColumn<QString>("base");
    const QDir samples(QStringLiteral(PLANDECK_SAMPLES_DIR));
    const QStringList files = samples.entryList({"*.crlf.xer"}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("no sample files");
    for (const QString &file : files) {
        const QString base = samples.filePath(file.chopped(int(strlen(".crlf.xer"))));
        QTest::newRow(qPrintable(file)) << base;
    }
}

void tst_XERLoader::shouldLoadSampleFilesWhateverTheirLineEnds()
{
    QFETCH(QString, base);
    const LoadRecord crlf = load(base + ".crlf.xer");
    const LoadRecord lf = load(base + ".lf.xer");
    QCOMPARE(crlf.events.constLast(), QString("finished"));
    QCOMPARE(lf.events.constLast(), QString("finished"));

    const QMap<QString, int> counts = recordCounts(base + ".crlf.xer");
    for (const QString &name : tableNames) {
        QCOMPARE(crlf.loader->hasModel(name), counts.contains(name));
        if (!counts.contains(name))
            continue;
        QCOMPARE(crlf.loader->model(name)->rowCount(), counts.value(name));
        QCOMPARE(modelText(lf.loader->model(name)), modelText(crlf.loader->model(name)));
    }
    QCOMPARE(lf.loader->views(), crlf.loader->views());
}

QTEST_GUILESS_MAIN(tst_XERLoader)
#include "tst_xerloader.moc"
