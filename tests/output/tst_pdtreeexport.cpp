#include "pdcsvwriter.h"
#include "pdtreeexport.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

namespace {

enum Column { Id, Group, ActivityId, Name, Start, Cost, Notes, ColumnCount };

QList<QStandardItem *> groupRow(const QString &title)
{
    QList<QStandardItem *> items;
    for (int c = 0; c < ColumnCount; ++c)
        items.append(new QStandardItem);
    items[Group]->setData(title, Qt::DisplayRole);
    return items;
}

QList<QStandardItem *> activityRow(const QString &id, const QString &name, const QVariant &start,
                                   const QVariant &cost)
{
    QList<QStandardItem *> items;
    for (int c = 0; c < ColumnCount; ++c)
        items.append(new QStandardItem);
    items[ActivityId]->setData(id, Qt::DisplayRole);
    items[Name]->setData(name, Qt::DisplayRole);
    items[Start]->setData(start, Qt::DisplayRole);
    items[Cost]->setData(cost, Qt::DisplayRole);
    items[Notes]->setData(QStringLiteral("never; exported"), Qt::DisplayRole);
    return items;
}

QDateTime day(int year, int month, int dayOfMonth)
{
    return QDateTime(QDate(year, month, dayOfMonth), QTime(8, 0));
}

} // namespace

// A grouped schedule as the activities tree holds it: group rows carry their
// title in the "Group" column, activity rows their own cells.
class TestPdTreeExport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void writesTheTreeAsShown();
    void copiesSelectedRowsInTreeOrder();
    void fieldText_data();
    void fieldText();
    void failedWriteIsReported();

private:
    QStandardItemModel *m_model = nullptr;
    QAbstractItemModelTester *m_tester = nullptr;
    QTreeView *m_view = nullptr;
};

void TestPdTreeExport::init()
{
    m_model = new QStandardItemModel(0, ColumnCount);
    m_model->setHorizontalHeaderLabels({"ID", "Group", "Activity ID", "Activity Name", "Start Date", "Cost", "Notes"});
    m_tester = new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    const QList<QStandardItem *> civil = groupRow(QStringLiteral("Civil; works"));
    const QList<QStandardItem *> north = groupRow(QStringLiteral("Area \"North\""));
    north.first()->appendRow(activityRow("A100", "Pour \"slab\"", day(2017, 3, 5), 1000000.0));
    north.first()->appendRow(activityRow("A110", "=HYPERLINK(\"x\")", QVariant(), 1234567.5));
    civil.first()->appendRow(north);
    civil.first()->appendRow(activityRow("A120", "Line one\nline two", day(2017, 3, 6), -5));
    const QList<QStandardItem *> electrical = groupRow(QStringLiteral("Électricité"));
    electrical.first()->appendRow(activityRow("A130", "Câblage", day(2017, 12, 31), QVariant()));
    m_model->appendRow(civil);
    m_model->appendRow(electrical);
    m_model->appendRow(activityRow("+A140", "@risk", QVariant(), 0.1));

    m_view = new QTreeView;
    m_view->setModel(m_model);
    QHeaderView *header = m_view->header();
    for (const int hidden : {Id, Group, Notes})
        header->hideSection(hidden);
    header->moveSection(header->visualIndex(Start), header->visualIndex(Cost));
    m_view->setTreePosition(ActivityId);
}

void TestPdTreeExport::cleanup()
{
    delete m_view;
    delete m_tester;
    delete m_model;
}

void TestPdTreeExport::writesTheTreeAsShown()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("export.csv");
    const PdExportResult result = exportActivitiesCsv(m_view, path);
    QVERIFY2(result.ok, qPrintable(result.errorString));

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QFile golden(QStringLiteral(PLANDECK_SOURCE_DIR "/tests/output/data/grouped-export.csv"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()), QString::fromUtf8(golden.readAll()));
}

void TestPdTreeExport::copiesSelectedRowsInTreeOrder()
{
    const QModelIndex electrical = m_model->index(1, 0);
    const QModelIndex civil = m_model->index(0, 0);
    QItemSelectionModel *selection = m_view->selectionModel();
    selection->select(m_model->index(0, 0, electrical), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(m_model->index(0, 0, m_model->index(0, 0, civil)),
                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(selectedRowsText(m_view),
             QStringLiteral("Activity ID\tActivity Name\tCost\tStart Date\n"
                            "  A100\t\"Pour \"\"slab\"\"\"\t1000000\t05-03-2017\n"
                            " A130\tCâblage\t\t31-12-2017\n"));

    selection->clear();
    QVERIFY(selectedRowsText(m_view).isEmpty());
}

void TestPdTreeExport::fieldText_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("tab separator quotes a tab") << QChar('\t') << QVariant("a\tb") << "\"a\tb\"";
    QTest::newRow("tab separator leaves a semicolon") << QChar('\t') << QVariant("a;b") << "a;b";
    QTest::newRow("carriage return alone") << QChar(';') << QVariant("a\rb") << "\"a\rb\"";
    QTest::newRow("negative number as it is") << QChar(';') << QVariant(-5.25) << "-5.25";
    QTest::newRow("number held as text is text") << QChar(';') << QVariant("-5") << "'-5";
    QTest::newRow("tiny number in plain notation") << QChar(';') << QVariant(1e-7) << "0.0000001";
    QTest::newRow("huge whole number in plain notation") << QChar(';') << QVariant(1e15) << "1000000000000000";
    QTest::newRow("large integer") << QChar(';') << QVariant(qlonglong(9007199254740993)) << "9007199254740993";
    QTest::newRow("date before year 1000") << QChar(';') << QVariant(QDate(812, 1, 2)) << "02-01-0812";
    QTest::newRow("null date-time") << QChar(';') << QVariant(QDateTime()) << "";
}

void TestPdTreeExport::fieldText()
{
    QFETCH(QChar, separator);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PdCsvWriter writer(&buffer, separator);
    writer.addValue(value);
    writer.addText("end");
    writer.endRow();
    QVERIFY(writer.flush());
    QCOMPARE(QString::fromUtf8(bytes), expected + separator + "end\n");
}

void TestPdTreeExport::failedWriteIsReported()
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    PdCsvWriter writer(&readOnly, ';');
    QVERIFY(!PdTreeExport(m_view).writeAllRows(writer));
    QVERIFY(writer.hasError());
}

QTEST_MAIN(TestPdTreeExport)
#include "tst_pdtreeexport.moc"
