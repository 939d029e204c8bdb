#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "pdmodelutils.h"
#include "plandeckresources.h"
#include "taskitem.h"
#include "taskrelationship.h"
#include "xerloader.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QJsonDocument>
#include <QSet>
#include <QtTest>

using namespace mygc;

// Every sample schedule drawn as the activities view draws it, flat: each
// activity is a chart row, each link joins two rows the predecessor table
// names, and every bar lies on the scale.
class TestGanttSamples : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sampleChart_data();
    void sampleChart();
};

void TestGanttSamples::initTestCase()
{
    plandeck::initResources();
}

void TestGanttSamples::sampleChart_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(PLANDECK_SAMPLES_DIR));
    const QStringList files = dir.entryList({QStringLiteral("*.lf.xer")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("no sample schedules here");
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << dir.filePath(file);
}

void TestGanttSamples::sampleChart()
{
    QFETCH(QString, path);
    QFile schema(QStringLiteral(":/files/schema.json"));
    QVERIFY(schema.open(QIODevice::ReadOnly));
    XERLoader loader(path, QJsonDocument::fromJson(schema.readAll()));
    loader.read();
    QAbstractItemModel *activities = loader.model(QStringLiteral("ActivityModel"));
    QAbstractItemModel *links = loader.model(QStringLiteral("PredecessorModel"));
    QVERIFY(activities && links);
    QAbstractItemModelTester tester(activities, QAbstractItemModelTester::FailureReportingMode::QtTest);

    GanttChart chart;
    chart.setModels(activities, columnByName(activities, "Start Date"), columnByName(activities, "Finish Date"),
                    columnByName(activities, "Activity Type"), 0, links, 0, 1, 3, 4);
    QCOMPARE(chart.itemCount(), activities->rowCount());

    QSet<int> ids;
    for (int r = 0; r < chart.itemCount(); ++r)
        ids << chart.item(r)->id();
    int expectedLinks = 0;
    for (int r = 0; r < links->rowCount(); ++r) {
        if (ids.contains(links->index(r, 0).data().toInt()) && ids.contains(links->index(r, 1).data().toInt()))
            ++expectedLinks;
    }
    QCOMPARE(chart.relationships().size(), expectedLinks);
    QVERIFY(expectedLinks > 0);

    const DateAxis *axis = chart.dateAxis();
    int withBars = 0;
    for (int r = 0; r < chart.itemCount(); ++r) {
        if (!chart.chartArea()->chartRow(r).hasDates)
            continue;
        ++withBars;
        const TaskItem &item = *chart.item(r);
        QVERIFY(axis->xForDate(item.start()) >= 0);
        QVERIFY(axis->xForDate(item.finish()) <= axis->axisWidth());
    }
    QVERIFY(withBars > 0);

    chart.resize(1000, 600);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    QVERIFY(!chart.grab().isNull());
}

QTEST_MAIN(TestGanttSamples)
#include "tst_ganttsamples.moc"
