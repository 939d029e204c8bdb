#include "dateaxis.h"
#include "ganttchart.h"
#include "pdsheetrenderer.h"
#include "pdsnipdialog.h"
#include "pdsnipgraphicsscene.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

// Given a chart of 30 three-day tasks, one a day.
class TestPdSnipDialog : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_model = new QStandardItemModel;
        m_model->setHorizontalHeaderLabels({"ID", "Activity Type", "Start", "Finish"});
        for (int i = 0; i < 30; ++i) {
            const QDateTime start(QDate(2024, 3, 1).addDays(i), QTime(8, 0));
            QList<QStandardItem *> cells;
            for (const QVariant &v : QVariantList{i, QStringLiteral("Task"), start, start.addDays(3)}) {
                cells << new QStandardItem;
                cells.last()->setData(v, Qt::DisplayRole);
            }
            m_model->appendRow(cells);
        }
        m_tree = new QTreeView;
        m_tree->setModel(m_model);
        m_chart = new mygc::GanttChart;
        m_chart->setModels(m_model, 2, 3, 1, 0, nullptr, 0, 1, 2, 3, -1, -1, -1, -1, m_tree);
        m_chart->rebuild();
    }
    void cleanup()
    {
        delete m_chart;
        delete m_tree;
        delete m_model;
    }

    void wholeChartAtOnceAndSlices_data();
    void wholeChartAtOnceAndSlices();
    void emptySliceIsRefused();
    void savedAsPngOrCopied();
    void bigSlicesAreScaledToTheCaps_data();
    void bigSlicesAreScaledToTheCaps();

private:
    QStandardItemModel *m_model = nullptr;
    QTreeView *m_tree = nullptr;
    mygc::GanttChart *m_chart = nullptr;
};

void TestPdSnipDialog::wholeChartAtOnceAndSlices_data()
{
    QTest::addColumn<qreal>("left");
    QTest::addColumn<qreal>("right");
    QTest::addColumn<int>("expectedLeft");
    QTest::addColumn<int>("expectedRight");
    const int end = 1 << 20;
    QTest::newRow("handles where they start: the whole chart") << -1.0 << -1.0 << 0 << end;
    QTest::newRow("a slice starting inside a column") << 37.0 << 160.0 << 37 << 160;
    QTest::newRow("left handle dragged past the right one stops there") << 200.0 << 150.0 << 150 << 150;
    QTest::newRow("handles dragged past the ends stay on the chart") << -50.0 << 1e7 << 0 << end;
}

void TestPdSnipDialog::wholeChartAtOnceAndSlices()
{
    QFETCH(qreal, left);
    QFETCH(qreal, right);
    QFETCH(int, expectedLeft);
    QFETCH(int, expectedRight);
    PdSnipDialog dialog(m_chart);
    PdSnipGraphicsScene *scene = dialog.scene();
    const mygc::DateAxis *axis = m_chart->dateAxis();
    const int width = axis->columnWidth() * axis->columnCount();
    QCOMPARE(dialog.overviewScale(), 1.0);
    QCOMPARE(scene->sceneWidth(), width);
    if (right >= 0)
        scene->moveHandle(1, right);
    if (left >= 0)
        scene->moveHandle(0, left);
    QCOMPARE(int(scene->leftX()), std::min(expectedLeft, width));
    QCOMPARE(int(scene->rightX()), std::min(expectedRight, width));

    // Zooming the overview changes nothing in the image.
    dialog.zoomInClicked();
    QString error;
    const QImage image = dialog.makeImage(&error);
    const int sliceWidth = int(scene->rightX() - scene->leftX());
    if (sliceWidth == 0) {
        QVERIFY(image.isNull());
        return;
    }
    QCOMPARE(image.size(), QSize(sliceWidth, axis->height() + 30 * m_chart->defaultRowHeight()));
}

void TestPdSnipDialog::emptySliceIsRefused()
{
    PdSnipDialog dialog(m_chart);
    dialog.scene()->moveHandle(1, 100);
    dialog.scene()->moveHandle(0, 100);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QString error;
    QVERIFY(!dialog.copyImage(&error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QTemporaryDir dir;
    QVERIFY(dialog.saveImage(dir.filePath(QStringLiteral("empty.png")), &error).isEmpty());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("empty.png"))));

    // A chart without rows has nothing to snip either.
    m_model->removeRows(0, m_model->rowCount());
    m_chart->rebuild();
    PdSnipDialog emptyDialog(m_chart);
    QVERIFY(emptyDialog.makeImage(&error).isNull());
}

void TestPdSnipDialog::savedAsPngOrCopied()
{
    PdSnipDialog dialog(m_chart);
    dialog.scene()->moveHandle(1, 300);
    QString error;
    const QImage expected = dialog.makeImage(&error);
    QTemporaryDir dir;
    const QString written = dialog.saveImage(dir.filePath(QStringLiteral("slice")), &error);
    QCOMPARE(written, dir.filePath(QStringLiteral("slice.png")));
    const QImage read(written, "png");
    QCOMPARE(read.size(), expected.size());
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));

    QVERIFY(dialog.copyImage(&error));
    QCOMPARE(QGuiApplication::clipboard()->image().size(), expected.size());

    QVERIFY(dialog.saveImage(dir.filePath(QStringLiteral("missing/slice.png")), &error).isEmpty());
    QVERIFY(error.contains(QStringLiteral("missing/slice.png")));

    for (int i = 0; i < 30; ++i)
        dialog.zoomOutClicked();
    QCOMPARE(dialog.zoom(), PdSnipDialog::minimumZoom);
}

void TestPdSnipDialog::bigSlicesAreScaledToTheCaps_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("scale");
    QTest::newRow("within the caps") << QSize(19000, 800) << 1.0;
    QTest::newRow("30000 pixels wide: two thirds") << QSize(30000, 600) << 2.0 / 3.0;
    QTest::newRow("too many pixels: a quarter of the area") << QSize(16384, 16384) << 0.5;
}

void TestPdSnipDialog::bigSlicesAreScaledToTheCaps()
{
    QFETCH(QSize, size);
    QFETCH(qreal, scale);
    QVERIFY(qAbs(PdSheetRenderer::fittingScale(size) - scale) < 1e-9);
}

QTEST_MAIN(TestPdSnipDialog)
#include "tst_pdsnipdialog.moc"
