#include "ganttchart.h"
#include "modaldriver.h"
#include "pdbarshapecombo.h"
#include "pdcolorcombo.h"
#include "pdcolorwidget.h"
#include "pdendpointcombo.h"
#include "pdendpointwidget.h"
#include "pdganttchartstylesdialog.h"
#include "pdganttchartstylesdialogdelegate.h"
#include "pdganttchartstylesdialogmodel.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <functional>

using Model = PdGanttChartStylesDialogModel;
using Style = PdGanttViewBarStyle;
// What a choice in an editor must do to the style it edits.
using Edit = std::function<void(Style &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

const QStringList dateColumns{"Start Date", "Finish Date", "Actual Start", "Actual Finish"};
// "[Phase]" looks like a placeholder but is a real column.
const QStringList textColumns{"Activity ID", "Activity Name", "[Phase]", "Start Date", "Total float"};

QList<PdGanttViewBarStyle> withTexts()
{
    auto list = PdGanttViewBarStyle::documentDefaults();
    list[0].displayColumns = {{1, "Activity ID"}, {2, "Activity Name"}, {32, "[Phase]"}, {64, "Start Date"},
                              {132, "Total float"}};
    list[2].displayColumns = {{2, "Activity Name"}};
    // A position the editors do not name, and a column that is not offered.
    list[3].displayColumns = {{4, "Activity ID"}};
    list[4].displayColumns = {{64, "Not offered"}};
    return list;
}

int colourIndex(const char *name)
{
    const auto &entries = PdColorWidget::entries();
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).name == QLatin1String(name))
            return i;
    return -1;
}

// Makes `choice` in the editor named `editor` as a user would: a picker is
// opened and its popup clicked, a text combo is set.
void choose(QWidget *dialog, const QString &editor, int choice)
{
    QWidget *widget = dialog->findChild<QWidget *>(editor);
    QVERIFY2(widget, qPrintable(editor));
    if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        combo->setCurrentIndex(choice);
        return;
    }
    auto *picker = qobject_cast<PdPickerCombo *>(widget);
    QVERIFY(picker);
    picker->resize(120, 28);
    QTest::mouseClick(picker, Qt::LeftButton);
    QWidget *popup = picker->popup();
    QPoint at;
    if (qobject_cast<PdColorCombo *>(picker))
        at = PdColorWidget::swatchRect(choice).center();
    else if (auto *ends = qobject_cast<PdEndPointCombo *>(picker))
        at = ends->endPointWidget()->cellRect(choice).center();
    else
        at = QPoint(popup->width() / 2, choice * PdBarShapeWidget::RowHeight + 11);
    QTest::mouseClick(popup, Qt::LeftButton, {}, at);
}

QStandardItemModel *makeActivities()
{
    auto *model = new QStandardItemModel(0, 4);
    model->setHorizontalHeaderLabels({"ID", "Activity Type", "Start Date", "Finish Date"});
    for (int c = 2; c < 4; ++c)
        model->setHeaderData(c, Qt::Horizontal, QVariantMap{{"datatype", "datetime"}, {"group", "Dates"}},
                             Qt::UserRole + 2);
    model->setHeaderData(0, Qt::Horizontal, QVariantMap{{"datatype", "integer"}, {"group", "system"}},
                         Qt::UserRole + 2);
    QList<QStandardItem *> row;
    for (const QVariant &v : QVariantList{1, "Task", QDateTime(QDate(2017, 3, 1), QTime(8, 0)),
                                          QDateTime(QDate(2017, 3, 6), QTime(17, 0))}) {
        row << new QStandardItem;
        row.last()->setData(v, Qt::DisplayRole);
    }
    model->appendRow(row);
    return model;
}

bool imagesHold(const QVector<QImage> &images, const QColor &color)
{
    for (const QImage &image : images)
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == color)
                    return true;
    return false;
}

} // namespace

class TestPdGanttChartStylesDialog : public QObject
{
    Q_OBJECT
private slots:
    void unchangedListsComeBackAfterVisitingEveryRow_data()
    {
        QTest::addColumn<QList<PdGanttViewBarStyle>>("styles");
        QTest::newRow("chart defaults") << PdGanttViewBarStyle::chartDefaults();
        QTest::newRow("layout defaults, milestones with bodies of their own") << PdGanttViewBarStyle::documentDefaults();
        QTest::newRow("texts on every side, one named like a placeholder") << withTexts();
        QTest::newRow("empty list") << QList<PdGanttViewBarStyle>();
    }

    void unchangedListsComeBackAfterVisitingEveryRow()
    {
        QFETCH(QList<PdGanttViewBarStyle>, styles);
        PdGanttChartStylesDialog dialog(dateColumns);
        QAbstractItemModelTester tester(dialog.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        dialog.setTextColumns(textColumns);
        dialog.setStyles(styles);
        QCOMPARE(dialog.styles(), styles);
        // A, B, ..., then A again: loading rows into the editors writes nothing back.
        for (int step = 0; step < 2 * styles.size(); ++step) {
            const int row = step < styles.size() ? step : 2 * styles.size() - 1 - step;
            dialog.table()->setCurrentIndex(dialog.model()->index(row, Model::NameColumn));
        }
        QCOMPARE(dialog.styles(), styles);
    }

    void editorsWriteIntoTheCurrentStyle_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<int>("choice");
        QTest::addColumn<Edit>("edit");
        QTest::newRow("start shape") << 0 << "cmbStartShape" << 6 << Edit([](Style &s) { s.startPointShape = "EastPenta"; });
        QTest::newRow("end shape") << 2 << "cmbEndShape" << 9 << Edit([](Style &s) { s.endPointShape = "NorthCone"; });
        QTest::newRow("no start colour") << 1 << "cmbStartColor" << 0 << Edit([](Style &s) { s.startPointColor = QColor(); });
        QTest::newRow("body colour keeps a milestone's own body")
            << 1 << "cmbBodyColor" << colourIndex("Red") << Edit([](Style &s) { s.bodyColor = Qt::red; });
        QTest::newRow("body preset") << 1 << "cmbBodyShape" << 3 << Edit([](Style &s) {
            s.bodyShapeHeight = 5;
            s.bodyShapeOffset = 9;
        });
        QTest::newRow("first offered column")
            << 1 << "cmbLeft" << 1 << Edit([](Style &s) { s.displayColumns = {{1, "Activity ID"}}; });
        QTest::newRow("column named like a placeholder")
            << 1 << "cmbTop" << 3 << Edit([](Style &s) { s.displayColumns = {{32, "[Phase]"}}; });
        QTest::newRow("placeholder removes the text above")
            << 0 << "cmbTop" << 0 << Edit([](Style &s) { s.displayColumns.remove(32); });
    }

    void editorsWriteIntoTheCurrentStyle()
    {
        QFETCH(int, row);
        QFETCH(QString, editor);
        QFETCH(int, choice);
        QFETCH(Edit, edit);
        PdGanttChartStylesDialog dialog(dateColumns);
        dialog.setTextColumns(textColumns);
        dialog.setStyles(withTexts());
        dialog.table()->setCurrentIndex(dialog.model()->index(row, Model::NameColumn));
        choose(&dialog, editor, choice);

        QList<Style> expected = withTexts();
        edit(expected[row]);
        QCOMPARE(dialog.styles(), expected);
    }

    void showFlagLocksTheDates()
    {
        PdGanttChartStylesDialog dialog(dateColumns);
        QAbstractItemModelTester tester(dialog.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        dialog.setStyles(PdGanttViewBarStyle::chartDefaults());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableView *table = dialog.table();
        const QModelIndex show = dialog.model()->index(1, Model::ShowColumn);
        const QModelIndex start = dialog.model()->index(1, Model::StartColumn);
        for (bool shown : {false, true}) {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(show).center());
            QCOMPARE(dialog.model()->isShown(1), shown);
            QCOMPARE(bool(dialog.model()->flags(start) & Qt::ItemIsEditable), shown);
            QCOMPARE(dialog.styles().at(1).visible, shown);
        }
    }

    void chosenStylesReachTheChart_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << true;
        QTest::newRow("cancelled") << false;
    }

    void chosenStylesReachTheChart()
    {
        QFETCH(bool, accept);
        std::unique_ptr<QStandardItemModel> activities(makeActivities());
        QStandardItemModel links(0, 5);
        mygc::GanttChart chart;
        chart.setModels(activities.get(), 2, 3, 1, 0, &links, 0, 1, 3, 4);
        chart.resize(600, 200);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        const auto before = chart.barStyles();

        QStringList offered;
        whenModal<PdGanttChartStylesDialog>([&](PdGanttChartStylesDialog *dialog) {
            const auto *left = dialog->findChild<QComboBox *>("cmbLeft");
            for (int i = 1; i < left->count(); ++i)
                offered << left->itemText(i);
            dialog->table()->setCurrentIndex(dialog->model()->index(0, Model::NameColumn));
            choose(dialog, "cmbBodyColor", colourIndex("Blue+"));
            accept ? dialog->accept() : dialog->reject();
        });
        QCOMPARE(PdGanttChartStylesDialog::editChartStyles(&chart, activities.get(), nullptr), accept);
        QCOMPARE(offered, QStringList({"Activity Type", "Start Date", "Finish Date"}));

        auto expected = before;
        if (accept)
            expected[0].bodyColor = Qt::blue;
        QCOMPARE(chart.barStyles(), expected);
        QTRY_VERIFY(!chart.isRebuildPending());
        const auto images = chart.renderToImages();
        QCOMPARE(images.second.size(), 1);
        QCOMPARE(imagesHold(images.second.at(0), Qt::blue), accept);
        QCOMPARE(imagesHold(images.second.at(0), before.at(0).bodyColor), !accept);
    }
};

QTEST_MAIN(TestPdGanttChartStylesDialog)
#include "tst_pdganttchartstylesdialog.moc"
