#include "pdmodelutils.h"
#include "plandeckresources.h"
#include "projectmodels.h"
#include "xerfile.h"
#include "xertestload.h"

#include <QAbstractItemModelTester>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QVariant valueAt(const QAbstractItemModel *model, int row, const QString &header)
{
    return model->index(row, columnByName(model, header)).data();
}

QDateTime at(int month, int day, int hour)
{
    return QDateTime(QDate(2019, month, day), QTime(hour, 0));
}

struct Days
{
    int start;
    int finish;
};

QDateTime dayDate(int day)
{
    return day > 0 ? at(3, day, 8) : QDateTime();
}

QString dayText(int day)
{
    return day > 0 ? dayDate(day).toString("yyyy-MM-dd HH:mm") : QString();
}

// Data dates of the projects in an XER file, by project id.
QHash<qlonglong, QDateTime> dataDates(const QString &path)
{
    QHash<qlonglong, QDateTime> dates;
    xer::XERFile file(path, xer::XERFile::CarriageReturnLineFeed, {"PROJECT"});
    if (file.read() != xer::NoError || file.tables().isEmpty() || !file.tables().first()->fieldNames())
        return dates;
    const xer::XERTable *projects = file.tables().first();
    const QVector<QStringRef> names = projects->fieldNames()->fields();
    int idField = -1;
    int dateField = -1;
    for (int i = 0; i < names.size(); ++i) {
        idField = names.at(i) == QLatin1String("proj_id") ? i : idField;
        dateField = names.at(i) == QLatin1String("last_recalc_date") ? i : dateField;
    }
    for (const xer::XERRecord *record : projects->records()) {
        const QDateTime date = QDateTime::fromString(record->field(dateField).toString(), "yyyy-MM-dd HH:mm");
        if (date.isValid())
            dates.insert(record->field(idField).toLongLong(), date);
    }
    return dates;
}

} // namespace

Q_DECLARE_METATYPE(Days)

class tst_ProjectModels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void shouldOrderActivityColumns();
    void shouldDeriveActivityValues_data();
    void shouldDeriveActivityValues();
    void shouldTakeDatesAsScheduled_data();
    void shouldTakeDatesAsScheduled();
    void shouldWriteRelationshipText_data();
    void shouldWriteRelationshipText();
    void shouldJoinNamesIntoRelationshipsResourcesAndCodes();
    void shouldDescribePivotColumnsInHeader();
    void shouldShowEachActivityInItsOwnRowWhateverItsId_data();
    void shouldShowEachActivityInItsOwnRowWhateverItsId();
    void shouldLeaveOutModelsWhoseTablesAreMissing_data();
    void shouldLeaveOutModelsWhoseTablesAreMissing();
    void shouldKeepInvariantsOnSampleFiles_data();
    void shouldKeepInvariantsOnSampleFiles();

private:
    QTemporaryDir m_dir;
    LoadRecord m_load;
    XERLoader *m_loader = nullptr;
};

void tst_ProjectModels::initTestCase()
{
    plandeck::initResources();
    QVERIFY(m_dir.isValid());
    // Beside the shared project: a second link between one pair of
    // activities, written after the first, and a WBS summary activity.
    QList<XerTestTable> tables = smallProjectTables();
    tables[1].records.append({"7", "1", "100", "A1060", "Civil summary", "TT_WBS", "TK_NotStart", "", "", "", "",
                              "2019-03-04 08:00", "2019-03-20 17:00", "100", "", "{7}"});
    tables[2].records.append({"905", "3", "1", "1", "1", "PR_FF", "8"});
    const QString path = m_dir.filePath("project.xer");
    QVERIFY(writeFile(path, xerText(tables)));
    m_load = load(path);
    m_loader = m_load.loader.get();
}

void tst_ProjectModels::shouldOrderActivityColumns()
{
    QAbstractItemModel *activities = m_loader->model("ActivityModel");
    QVERIFY(activities);
    QAbstractItemModelTester tester(activities, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QStringList expected = {"ID", "parentID", "Group"};
    expected << headerTexts(m_loader->model("TASK")) << "WBS Code" << "WBS Name"
             << headerTexts(m_loader->model("TASKRSRC")) << "Phase" << "Area" << "Comments" << "Due" << "Weight";
    QCOMPARE(headerTexts(activities), expected);
    QCOMPARE(activities->rowCount(), 7);
    QCOMPARE(activities->headerData(0, Qt::Horizontal, Qt::UserRole + 2).toMap().value("datatype").toString(),
             QString("integer"));
    QCOMPARE(activities->headerData(2, Qt::Horizontal, Qt::UserRole + 1).toString(), QString("system"));
    for (int r = 0; r < activities->rowCount(); ++r)
        QCOMPARE(valueAt(activities, r, "ID"), valueAt(activities, r, "task_id"));
}

void tst_ProjectModels::shouldDeriveActivityValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("predecessors");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QVariantList>("extra"); // WBS Name, Phase, Area, Comments, Due, Weight

    const QVariant none;
    QTest::newRow("start milestone without predecessors")
        << "Start" << "Milestone" << "" << "" << QVariantList{"Civil", "Design", none, "Kick-off", none, none};
    QTest::newRow("task with a lagged predecessor and a date field")
        << "Excavate" << "Task" << "A1000" << "A1000:FS+8h"
        << QVariantList{"Civil", "Build", "North", none, at(3, 31, 17), none};
    QTest::newRow("predecessor with two links named once, its links in file order, negative lag")
        << "Façade panels" << "Task" << "A1000, A1010" << "A1000:SF, A1000:FF+8h, A1010:SS-4h"
        << QVariantList{"Façade", "Build", none, none, none, 12.5};
    QTest::newRow("level of effort") << "Supervision" << "Level of Effort" << "" << ""
                                     << QVariantList{"Façade", none, none, none, none, none};
    QTest::newRow("finish milestone without predecessor from another project")
        << "Finish" << "Milestone" << "A1020" << "A1020:FF+8h" << QVariantList{"Façade", none, none, none, none, none};
    QTest::newRow("resource dependent") << "Crane hire" << "Resource Dependent" << "" << "" << QVariantList{"Civil", none, none, none, none, none};
}

void tst_ProjectModels::shouldDeriveActivityValues()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, predecessors);
    QFETCH(QString, details);
    QFETCH(QVariantList, extra);

    const QAbstractItemModel *activities = m_loader->model("ActivityModel");
    int row = -1;
    for (int r = 0; r < activities->rowCount() && row < 0; ++r)
        row = valueAt(activities, r, "Activity Name").toString() == name ? r : -1;
    QVERIFY(row >= 0);
    QCOMPARE(valueAt(activities, row, "Activity Type").toString(), type);
    QCOMPARE(valueAt(activities, row, "Predecessors").toString(), predecessors);
    QCOMPARE(valueAt(activities, row, "Predecessors Details").toString(), details);
    const QStringList extraHeaders = {"WBS Name", "Phase", "Area", "Comments", "Due", "Weight"};
    for (int i = 0; i < extraHeaders.size(); ++i)
        QCOMPARE(valueAt(activities, row, extraHeaders.at(i)), extra.at(i));
}

void tst_ProjectModels::shouldTakeDatesAsScheduled_data()
{
    // Days of March 2019 for the pairs of actual, remaining, early and
    // planned dates; 0 leaves a date empty.
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("constraint");
    QTest::addColumn<Days>("actual");
    QTest::addColumn<Days>("remaining");
    QTest::addColumn<Days>("early");
    QTest::addColumn<Days>("planned");
    QTest::addColumn<Days>("shown");

    QTest::newRow("complete takes actual dates over all others")
        << "TK_Complete" << "" << Days{1, 4} << Days{5, 6} << Days{5, 6} << Days{2, 3} << Days{1, 4};
    QTest::newRow("complete without actual finish keeps its scheduled finish")
        << "TK_Complete" << "" << Days{1, 0} << Days{0, 6} << Days{5, 7} << Days{2, 3} << Days{1, 6};
    QTest::newRow("active starts on actual start, finishes on remaining finish, not a stray actual one")
        << "TK_Active" << "" << Days{1, 3} << Days{9, 12} << Days{9, 13} << Days{2, 5} << Days{1, 12};
    QTest::newRow("active without remaining dates finishes on early finish")
        << "TK_Active" << "" << Days{1, 0} << Days{0, 0} << Days{9, 14} << Days{2, 5} << Days{1, 14};
    QTest::newRow("active with mandatory finish keeps its scheduled finish")
        << "TK_Active" << "CS_MANDFIN" << Days{1, 0} << Days{9, 12} << Days{9, 12} << Days{2, 5} << Days{1, 12};
    QTest::newRow("not started takes remaining over early and planned")
        << "TK_NotStart" << "" << Days{0, 0} << Days{6, 10} << Days{7, 11} << Days{2, 5} << Days{6, 10};
    QTest::newRow("not started ignores a stray actual start")
        << "TK_NotStart" << "" << Days{1, 0} << Days{6, 10} << Days{6, 10} << Days{2, 5} << Days{6, 10};
    QTest::newRow("not started without remaining dates takes early dates")
        << "TK_NotStart" << "" << Days{0, 0} << Days{0, 0} << Days{7, 11} << Days{2, 5} << Days{7, 11};
    QTest::newRow("not started with planned dates only")
        << "TK_NotStart" << "" << Days{0, 0} << Days{0, 0} << Days{0, 0} << Days{2, 5} << Days{2, 5};
    QTest::newRow("start on constraint does not move the start")
        << "TK_NotStart" << "CS_MSO" << Days{0, 0} << Days{6, 10} << Days{6, 10} << Days{2, 5} << Days{6, 10};
    QTest::newRow("finish on or before does not move the finish")
        << "TK_NotStart" << "CS_MEOB" << Days{0, 0} << Days{6, 10} << Days{6, 10} << Days{2, 5} << Days{6, 10};
    QTest::newRow("no dates at all") << "TK_NotStart" << "CS_MEO" << Days{0, 0} << Days{0, 0} << Days{0, 0}
                                     << Days{0, 0} << Days{0, 0};
}

void tst_ProjectModels::shouldTakeDatesAsScheduled()
{
    QFETCH(QString, status);
    QFETCH(QString, constraint);
    QFETCH(Days, actual);
    QFETCH(Days, remaining);
    QFETCH(Days, early);
    QFETCH(Days, planned);
    QFETCH(Days, shown);

    // The constraint date lies past every other date, so taking it would show.
    const XerTestTable task{
        "TASK",
        {"task_id", "proj_id", "wbs_id", "task_code", "task_name", "task_type", "status_code", "cstr_type",
         "cstr_date", "act_start_date", "act_end_date", "restart_date", "reend_date", "early_start_date",
         "early_end_date", "target_start_date", "target_end_date"},
        {{"1", "1", "100", "A1000", "Case", "TT_Task", status, constraint, "2019-03-28 08:00", dayText(actual.start),
          dayText(actual.finish), dayText(remaining.start), dayText(remaining.finish), dayText(early.start),
          dayText(early.finish), dayText(planned.start), dayText(planned.finish)}}};
    const QString path = m_dir.filePath("dates.xer");
    QVERIFY(writeFile(path, xerText({task})));
    const LoadRecord record = load(path);
    const QAbstractItemModel *activities = record.loader->model("ActivityModel");
    QVERIFY(activities);
    QCOMPARE(valueAt(activities, 0, "Start Date").toDateTime(), dayDate(shown.start));
    QCOMPARE(valueAt(activities, 0, "Finish Date").toDateTime(), dayDate(shown.finish));
}

void tst_ProjectModels::shouldWriteRelationshipText_data()
{
    QTest::addColumn<QVariant>("type");
    QTest::addColumn<QVariant>("lag");
    QTest::addColumn<QString>("text");
    QTest::newRow("no lag value") << QVariant("PR_FF") << QVariant() << "FF";
    QTest::newRow("half hour rounds away from zero") << QVariant("PR_FF") << QVariant(7.5) << "FF+8h";
    QTest::newRow("negative half hour rounds away from zero") << QVariant("PR_FS") << QVariant(-0.5) << "FS-1h";
    QTest::newRow("under half an hour shows no lag") << QVariant("PR_FS") << QVariant(0.4) << "FS";
    QTest::newRow("type without prefix") << QVariant("SS") << QVariant(2.0) << "SS+2h";
    QTest::newRow("lag that is not a number") << QVariant("PR_FS") << QVariant(qQNaN()) << "FS";
    QTest::newRow("lag past any schedule") << QVariant("PR_FS") << QVariant(-1e300) << "FS-1000000000000000h";
}

void tst_ProjectModels::shouldWriteRelationshipText()
{
    QFETCH(QVariant, type);
    QFETCH(QVariant, lag);
    QFETCH(QString, text);
    QCOMPARE(ProjectModels::relationshipText(type, lag), text);
}

void tst_ProjectModels::shouldJoinNamesIntoRelationshipsResourcesAndCodes()
{
    QAbstractItemModel *relationships = m_loader->model("PredecessorModel");
    QAbstractItemModel *resources = m_loader->model("ResourceModel");
    QAbstractItemModel *codes = m_loader->model("CodeModel");
    QAbstractItemModelTester relationshipTester(relationships, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester resourceTester(resources, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester codeTester(codes, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(relationships->objectName(), QString("predecessorModel"));

    QCOMPARE(headerTexts(relationships).mid(5), QStringList({"Activity ID", "Activity Name", "Activity ID", "Activity Name"}));
    QCOMPARE(relationships->index(1, 5).data().toString(), QString("A1020")); // successor of SS-4h
    QCOMPARE(relationships->index(1, 7).data().toString(), QString("A1010")); // its predecessor
    QVERIFY(!relationships->index(4, 7).data().isValid()); // predecessor in another project

    QCOMPARE(headerTexts(resources).mid(25), QStringList({"Resource Type", "Resource Code", "Resource Name"}));
    QCOMPARE(valueAt(resources, 1, "Resource Name").toString(), QString("Crane"));
    QCOMPARE(headerTexts(codes).mid(6), QStringList({"Code Value", "Code Name", "Activity Code", "Scope"}));
    QCOMPARE(valueAt(codes, 2, "Code Name").toString(), QString("North"));
    QCOMPARE(valueAt(codes, 2, "Activity Code").toString(), QString("Area"));
}

void tst_ProjectModels::shouldDescribePivotColumnsInHeader()
{
    QAbstractItemModel *codes = m_loader->model("taskCodesAssignmentModel");
    QAbstractItemModel *fields = m_loader->model("userDefinedAssignmentModel");
    QAbstractItemModelTester codeTester(codes, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester fieldTester(fields, QAbstractItemModelTester::FailureReportingMode::QtTest);

    QCOMPARE(headerTexts(codes), QStringList({"task_id", "Phase", "Area"}));
    QCOMPARE(codes->headerData(2, Qt::Horizontal, Qt::UserRole + 1).toString(), QString("Activity Codes"));
    const QVariantMap descriptor{{"id", 117}, {"display", "Area"}, {"group", "Area"}, {"datatype", "string"},
                                 {"structure", false}};
    QCOMPARE(codes->headerData(2, Qt::Horizontal, Qt::UserRole + 2).toMap(), descriptor);
    QCOMPARE(codes->index(1, 2).data(Qt::UserRole), QVariant(210));

    QCOMPARE(headerTexts(fields), QStringList({"task_id", "Comments", "Due", "Weight"}));
    QCOMPARE(fields->headerData(3, Qt::Horizontal, Qt::UserRole + 1).toString(), QString("User Defined"));
    QVERIFY(!fields->headerData(3, Qt::Horizontal, Qt::UserRole + 2).isValid());
    QCOMPARE(fields->index(2, 3).data(Qt::UserRole), QVariant(73));
}

void tst_ProjectModels::shouldShowEachActivityInItsOwnRowWhateverItsId_data()
{
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<bool>("wholeNumbers"); // then every predecessor must be found
    QTest::newRow("not a number among numbers") << QStringList{"1", "NaN", "2", "nan", "3"} << false;
    QTest::newRow("malformed ids") << QStringList{"x", "1e999", QString("1000001") + QChar(0), "1000001", "inf", "y"}
                                   << false;
    QTest::newRow("decimal and whole ids") << QStringList{"12.5", "12", "12.25"} << false;
    QTest::newRow("negative ids") << QStringList{"-5", "-7", "-6", "0"} << true;
    QTest::newRow("ids far apart") << QStringList{"5", "900000000000", "-3", "70"} << true;
}

// The rows of the activity model are the activities joined to themselves by id: an id that does
// not read as a number must neither become 0 nor equal every other key.
void tst_ProjectModels::shouldShowEachActivityInItsOwnRowWhateverItsId()
{
    QFETCH(QStringList, ids);
    QFETCH(bool, wholeNumbers);
    XerTestTable task{"TASK", {"task_id", "task_code", "task_name"}, {}};
    XerTestTable pred{"TASKPRED", {"task_id", "pred_task_id", "pred_type"}, {}};
    for (int i = 0; i < ids.size(); ++i) {
        task.records.append({ids.at(i), QString("A%1").arg(i), QString("Name %1").arg(i)});
        if (i > 0)
            pred.records.append({ids.at(i), ids.at(i - 1), "PR_FS"});
    }
    const QString path = m_dir.filePath("ids.xer");
    QVERIFY(writeFile(path, xerText({task, pred})));
    const LoadRecord record = load(path);
    QAbstractItemModel *activities = record.loader->model("ActivityModel");
    QVERIFY(activities);
    QAbstractItemModelTester tester(activities, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(activities->rowCount(), ids.size());
    for (int r = 0; r < ids.size(); ++r) {
        QCOMPARE(valueAt(activities, r, "Activity ID").toString(), QString("A%1").arg(r));
        QCOMPARE(valueAt(activities, r, "Activity Name").toString(), QString("Name %1").arg(r));
        // A predecessor list names the row before, or nothing where the ids do not read as numbers.
        const QString predecessors = valueAt(activities, r, "Predecessors").toString();
        QVERIFY2(predecessors.isEmpty() || predecessors == QString("A%1").arg(r - 1), qPrintable(predecessors));
        if (wholeNumbers)
            QCOMPARE(predecessors, r > 0 ? QString("A%1").arg(r - 1) : QString());
    }
}

void tst_ProjectModels::shouldLeaveOutModelsWhoseTablesAreMissing_data()
{
    QTest::addColumn<QStringList>("missingTables");
    QTest::addColumn<QStringList>("missingModels");
    QTest::addColumn<QString>("lastActivityColumn");
    QTest::newRow("no relationships") << QStringList{"TASKPRED"} << QStringList{"PredecessorModel"} << "Weight";
    QTest::newRow("no activity codes, no user fields")
        << QStringList{"ACTVTYPE", "ACTVCODE", "TASKACTV", "UDFTYPE", "UDFVALUE"}
        << QStringList{"CodeModel", "taskCodesAssignmentModel", "userDefinedAssignmentModel"} << "Multiple resource rates";
    QTest::newRow("no code assignments") << QStringList{"TASKACTV"}
                                         << QStringList{"CodeModel", "taskCodesAssignmentModel"} << "Weight";
    QTest::newRow("no resources") << QStringList{"RSRC", "TASKRSRC"} << QStringList{"ResourceModel"} << "Weight";
    QTest::newRow("no activities")
        << QStringList{"TASK"}
        << QStringList{"PredecessorModel", "taskCodesAssignmentModel", "userDefinedAssignmentModel", "ActivityModel"}
        << "";
}

void tst_ProjectModels::shouldLeaveOutModelsWhoseTablesAreMissing()
{
    QFETCH(QStringList, missingTables);
    QFETCH(QStringList, missingModels);
    QFETCH(QString, lastActivityColumn);

    QList<XerTestTable> tables = smallProjectTables();
    tables.erase(std::remove_if(tables.begin(), tables.end(),
                                [&](const XerTestTable &t) { return missingTables.contains(t.name); }),
                 tables.end());
    const QString path = m_dir.filePath("partial.xer");
    QVERIFY(writeFile(path, xerText(tables)));
    const LoadRecord record = load(path);
    const XERLoader *loader = record.loader.get();

    const QStringList derived = {"PredecessorModel", "ResourceModel", "CodeModel", "taskCodesAssignmentModel",
                                 "userDefinedAssignmentModel", "ActivityModel"};
    for (const QString &name : derived)
        QCOMPARE(loader->hasModel(name), !missingModels.contains(name));
    for (const XerTestTable &table : smallProjectTables())
        QCOMPARE(loader->hasModel(table.name), !missingTables.contains(table.name) && table.name != "VIEWPROP");
    if (QAbstractItemModel *activities = loader->model("ActivityModel")) {
        QAbstractItemModelTester tester(activities, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(headerTexts(activities).constLast(), lastActivityColumn);
        QCOMPARE(activities->rowCount(), 6);
    }
}

void tst_ProjectModels::shouldKeepInvariantsOnSampleFiles_data()
{
    QTest::addColumn<QString>("path");
    const QStringList bases = sampleBases();
    if (bases.isEmpty())
        QSKIP("no sample files");
    for (const QString &base : bases)
        QTest::newRow(qPrintable(QFileInfo(base).fileName())) << base + ".crlf.xer";
}

void tst_ProjectModels::shouldKeepInvariantsOnSampleFiles()
{
    QFETCH(QString, path);
    const LoadRecord record = load(path);
    const XERLoader *loader = record.loader.get();
    const QAbstractItemModel *tasks = loader->model("TASK");
    QAbstractItemModel *activities = loader->model("ActivityModel");
    QVERIFY(tasks && activities);
    QAbstractItemModelTester tester(activities, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(activities->rowCount(), tasks->rowCount());

    QSet<QString> activityIds;
    for (int r = 0; r < activities->rowCount(); ++r)
        activityIds.insert(valueAt(activities, r, "Activity ID").toString());

    // Codes by id, with their type and name, to check every code cell.
    QHash<qlonglong, QPair<qlonglong, QString>> codes;
    if (const QAbstractItemModel *codeTable = loader->model("ACTVCODE")) {
        for (int r = 0; r < codeTable->rowCount(); ++r)
            codes.insert(codeTable->index(r, 0).data().toLongLong(),
                         {codeTable->index(r, 1).data().toLongLong(), codeTable->index(r, 5).data().toString()});
    }

    const QHash<qlonglong, QDateTime> projectDataDates = dataDates(path);
    QVERIFY(!projectDataDates.isEmpty());
    QHash<int, qlonglong> columnTypes; // code column -> its code type
    for (int r = 0; r < activities->rowCount(); ++r) {
        const QString predecessors = valueAt(activities, r, "Predecessors").toString();
        for (const QString &predecessor : predecessors.isEmpty() ? QStringList() : predecessors.split(", "))
            QVERIFY2(activityIds.contains(predecessor), qPrintable(predecessors));

        const QDateTime start = valueAt(activities, r, "Start Date").toDateTime();
        const QDateTime finish = valueAt(activities, r, "Finish Date").toDateTime();
        const QString code = valueAt(activities, r, "Activity ID").toString();
        QVERIFY2(!start.isValid() || !finish.isValid() || start <= finish, qPrintable(code));
        const auto dataDate = projectDataDates.constFind(valueAt(activities, r, "proj_id").toLongLong());
        if (valueAt(activities, r, "Activity status").toString() != "TK_Complete" && finish.isValid()
            && dataDate != projectDataDates.constEnd())
            QVERIFY2(finish >= *dataDate, qPrintable(code));

        for (int c = 0; c < activities->columnCount(); ++c) {
            if (activities->headerData(c, Qt::Horizontal, Qt::UserRole + 1).toString() != "Activity Codes")
                continue;
            const QModelIndex cell = activities->index(r, c);
            if (!cell.data(Qt::UserRole).isValid())
                continue;
            const auto code = codes.constFind(cell.data(Qt::UserRole).toLongLong());
            QVERIFY(code != codes.constEnd());
            QCOMPARE(cell.data().toString(), code->second);
            QCOMPARE(columnTypes.value(c, code->first), code->first);
            columnTypes.insert(c, code->first);
        }
    }
}

QTEST_GUILESS_MAIN(tst_ProjectModels)
#include "tst_projectmodels.moc"
