#include "pdmodelutils.h"
#include "plandeckresources.h"
#include "projectmodels.h"
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

} // namespace

class tst_ProjectModels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void shouldOrderActivityColumns();
    void shouldDeriveActivityValues_data();
    void shouldDeriveActivityValues();
    void shouldWriteRelationshipText_data();
    void shouldWriteRelationshipText();
    void shouldJoinNamesIntoRelationshipsResourcesAndCodes();
    void shouldDescribePivotColumnsInHeader();
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
    const QString path = m_dir.filePath("project.xer");
    QVERIFY(writeFile(path, xerText(smallProjectTables())));
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
    QCOMPARE(activities->rowCount(), 6);
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
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("finish");
    QTest::addColumn<QString>("predecessors");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QVariantList>("extra"); // WBS Name, Phase, Area, Comments, Due, Weight

    const QVariant none;
    QTest::newRow("complete milestone takes actual dates")
        << "Start" << "Milestone" << at(3, 4, 8) << at(3, 4, 8) << "" << ""
        << QVariantList{"Civil", "Design", none, "Kick-off", none, none};
    QTest::newRow("active with start constraint starts on actual start")
        << "Excavate" << "Task" << at(3, 5, 8) << at(3, 20, 17) << "A1000" << "A1000:FS+8h"
        << QVariantList{"Civil", "Build", "North", none, at(3, 31, 17), none};
    QTest::newRow("not started with finish constraint finishes on it")
        << "Façade panels" << "Task" << at(4, 1, 8) << at(5, 1, 17) << "A1000, A1010" << "A1000:SF, A1010:SS-4h"
        << QVariantList{"Façade", "Build", none, none, none, 12.5};
    QTest::newRow("not started with start constraint starts on it")
        << "Supervision" << "Level of Effort" << at(3, 15, 8) << at(5, 1, 17) << "" << ""
        << QVariantList{"Façade", none, none, none, none, none};
    QTest::newRow("finish milestone without predecessor from another project")
        << "Finish" << "Milestone" << at(5, 2, 8) << at(5, 2, 8) << "A1020" << "A1020:FF+8h"
        << QVariantList{"Façade", none, none, none, none, none};
    QTest::newRow("resource-dependent type has no name, mandatory start")
        << "Crane hire" << "" << at(3, 11, 8) << at(3, 18, 17) << "" << ""
        << QVariantList{"Civil", none, none, none, none, none};
}

void tst_ProjectModels::shouldDeriveActivityValues()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, finish);
    QFETCH(QString, predecessors);
    QFETCH(QString, details);
    QFETCH(QVariantList, extra);

    const QAbstractItemModel *activities = m_loader->model("ActivityModel");
    int row = -1;
    for (int r = 0; r < activities->rowCount() && row < 0; ++r)
        row = valueAt(activities, r, "Activity Name").toString() == name ? r : -1;
    QVERIFY(row >= 0);
    QCOMPARE(valueAt(activities, row, "Activity Type").toString(), type);
    QCOMPARE(valueAt(activities, row, "Start Date").toDateTime(), start);
    QCOMPARE(valueAt(activities, row, "Finish Date").toDateTime(), finish);
    QCOMPARE(valueAt(activities, row, "Predecessors").toString(), predecessors);
    QCOMPARE(valueAt(activities, row, "Predecessors Details").toString(), details);
    const QStringList extraHeaders = {"WBS Name", "Phase", "Area", "Comments", "Due", "Weight"};
    for (int i = 0; i < extraHeaders.size(); ++i)
        QCOMPARE(valueAt(activities, row, extraHeaders.at(i)), extra.at(i));
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

    QHash<int, qlonglong> columnTypes; // code column -> its code type
    for (int r = 0; r < activities->rowCount(); ++r) {
        const QString predecessors = valueAt(activities, r, "Predecessors").toString();
        for (const QString &predecessor : predecessors.isEmpty() ? QStringList() : predecessors.split(", "))
            QVERIFY2(activityIds.contains(predecessor), qPrintable(predecessors));

        const QString status = valueAt(activities, r, "Activity status").toString();
        const QString constraint = valueAt(activities, r, "Activity constraint type").toString();
        const QVariant constraintDate = valueAt(activities, r, "Activity Constraint Date");
        const bool finishConstraint = QStringList{"CS_MANDFIN", "CS_MEO", "CS_MEOB"}.contains(constraint);
        const bool startConstraint = QStringList{"CS_MANDSTART", "CS_MSO", "CS_MSOB"}.contains(constraint);
        QVariant start = valueAt(activities, r, status == "TK_NotStart" ? "Planned start date" : "Actual Start");
        QVariant finish = valueAt(activities, r, status == "TK_Complete" ? "Actual Finish" : "Planned finish date");
        if (status == "TK_NotStart" && startConstraint)
            start = constraintDate;
        if (status != "TK_Complete" && finishConstraint)
            finish = constraintDate;
        QCOMPARE(valueAt(activities, r, "Start Date"), start);
        QCOMPARE(valueAt(activities, r, "Finish Date"), finish);

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
