#include "pdpageselectorbutton.h"
#include "pdprintdialog.h"
#include "pdprintpreviewscene.h"
#include "solidsheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

// Given the print dialog on a sheet of 400 solid rows.
class TestPdPrintDialog : public QObject
{
    Q_OBJECT
private slots:
    void scaleShownIsScalePrinted();
    void orientationAndOptionsRelayOutThePages();
    void pdfHoldsTheChosenPageRange();

private:
    SolidSheet m_sheet = [] {
        SolidSheet sheet;
        sheet.rows = 400;
        return sheet;
    }();
};

void TestPdPrintDialog::scaleShownIsScalePrinted()
{
    PdPrintDialog dialog(m_sheet);
    auto *slider = dialog.findChild<QSlider *>(QStringLiteral("sliderScale"));
    auto *spin = dialog.findChild<QSpinBox *>(QStringLiteral("sbScale"));
    QCOMPARE(dialog.scene()->pageSetup().scalePercent, 100);

    // A drag shows its value but lays out once, on release.
    slider->setSliderDown(true);
    slider->setValue(50);
    QCOMPARE(spin->value(), 50);
    QCOMPARE(dialog.scene()->pageSetup().scalePercent, 100);
    slider->setSliderDown(false);
    emit slider->sliderReleased();
    QCOMPARE(dialog.scene()->pageSetup().scalePercent, 50);

    // Keys move the slider without pressing it: laid out at once.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_PageUp);
    QCOMPARE(dialog.scene()->pageSetup().scalePercent, spin->value());
    QVERIFY(spin->value() > 50);

    spin->setValue(1);
    QCOMPARE(dialog.scene()->pageSetup().scalePercent, PdPageSetup::minimumScale);
    dialog.findChild<QPushButton *>(QStringLiteral("btnReset"))->click();
    QCOMPARE(dialog.scene()->pageSetup().scalePercent, 100);

    // A table too wide to share the page with a chart opens, and resets, at
    // the scale that makes room.
    SolidSheet wide = m_sheet;
    wide.table = 1000;
    PdPrintDialog wideDialog(wide);
    auto *wideSpin = wideDialog.findChild<QSpinBox *>(QStringLiteral("sbScale"));
    const int fitted = PdPageSetup().defaultScale(wide.table);
    QVERIFY(fitted < 100);
    QCOMPARE(wideDialog.scene()->pageSetup().scalePercent, fitted);
    QCOMPARE(wideSpin->value(), fitted);
    wideSpin->setValue(100);
    wideDialog.findChild<QPushButton *>(QStringLiteral("btnReset"))->click();
    QCOMPARE(wideDialog.scene()->pageSetup().scalePercent, fitted);
}

void TestPdPrintDialog::orientationAndOptionsRelayOutThePages()
{
    PdPrintDialog dialog(m_sheet);
    PdPrintPreviewScene *scene = dialog.scene();
    const int landscapePages = scene->pageCount();
    QCOMPARE(scene->paperSize(), QSizeF(1287, 910));

    auto *portrait = dialog.findChild<PdPageSelectorButton *>(QStringLiteral("verticalPage"));
    auto *landscape = dialog.findChild<PdPageSelectorButton *>(QStringLiteral("horizontalPage"));
    auto *timeScale = dialog.findChild<QComboBox *>(QStringLiteral("cmbTimeScale"));
    QCOMPARE(scene->pageSetup().chartScale, PdChartScale::FitToPageWidth);
    timeScale->setCurrentIndex(timeScale->findData(int(PdChartScale::Month)));
    portrait->setChecked(true);
    QCOMPARE(scene->pageSetup().chartScale, PdChartScale::Month);
    QVERIFY(!landscape->isChecked());
    QCOMPARE(scene->paperSize(), QSizeF(910, 1287));
    QVERIFY(scene->pageCount() < landscapePages);

    const int repeated = scene->pageCount();
    dialog.findChild<QCheckBox *>(QStringLiteral("chkRepeatTableHeaders"))->click();
    QVERIFY(!scene->pageSetup().repeatHeaders);
    QVERIFY(scene->pageCount() <= repeated);
}

void TestPdPrintDialog::pdfHoldsTheChosenPageRange()
{
    QTemporaryDir dir;
    PdPrintDialog dialog(m_sheet);
    const QString path = dir.filePath(QStringLiteral("range"));
    dialog.setFileChooser([&](QWidget *) { return path; });
    QVERIFY(dialog.scene()->pageCount() >= 3);
    dialog.findChild<QSpinBox *>(QStringLiteral("sbFromPage"))->setValue(2);
    dialog.findChild<QSpinBox *>(QStringLiteral("sbToPage"))->setValue(3);
    dialog.findChild<QPushButton *>(QStringLiteral("btnSavePdf"))->click();
    QFile file(path + QStringLiteral(".pdf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("/Type /Page\n"), 2);
}

QTEST_MAIN(TestPdPrintDialog)
#include "tst_pdprintdialog.moc"
