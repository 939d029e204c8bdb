#include "pdprintdialog.h"

#include "pdpageselectorbutton.h"
#include "pdprintpreviewscene.h"
#include "printsheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QLabel *sectionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

PdPrintDialog::PdPrintDialog(PrintSheet &sheet, QWidget *parent)
    : QDialog(parent)
    , m_sheet(sheet)
{
    setWindowTitle(QStringLiteral("Print settings"));
    m_scene = new PdPrintPreviewScene(sheet, this);

    m_view = new QGraphicsView(m_scene, this);
    m_view->setObjectName(QStringLiteral("gvPreview"));
    m_view->setDragMode(QGraphicsView::ScrollHandDrag);

    auto *side = new QVBoxLayout;
    side->addWidget(sectionLabel(QStringLiteral("Printer & Page Size"), this));
    m_printers = new QComboBox(this);
    m_printers->setObjectName(QStringLiteral("cmbPrinters"));
    m_printers->addItems(QPrinterInfo::availablePrinterNames());
    const int defaultPrinter = m_printers->findText(QPrinterInfo::defaultPrinterName());
    if (defaultPrinter >= 0)
        m_printers->setCurrentIndex(defaultPrinter);
    side->addWidget(m_printers);
    m_pageSizes = new QComboBox(this);
    m_pageSizes->setObjectName(QStringLiteral("cmbPageSizes"));
    m_pageSizes->addItem(QStringLiteral("A3"), int(QPageSize::A3));
    m_pageSizes->addItem(QStringLiteral("A4"), int(QPageSize::A4));
    m_pageSizes->addItem(QStringLiteral("A5"), int(QPageSize::A5));
    m_pageSizes->addItem(QStringLiteral("A6"), int(QPageSize::A6));
    m_pageSizes->setCurrentIndex(1);
    side->addWidget(m_pageSizes);

    side->addWidget(sectionLabel(QStringLiteral("Page Orientation"), this));
    auto *orientations = new QHBoxLayout;
    m_vertical = new PdPageSelectorButton(this);
    m_vertical->setObjectName(QStringLiteral("verticalPage"));
    m_vertical->setOrientation(PdPageSelectorButton::Portrait);
    m_horizontal = new PdPageSelectorButton(this);
    m_horizontal->setObjectName(QStringLiteral("horizontalPage"));
    m_horizontal->setOrientation(PdPageSelectorButton::Landscape);
    orientations->addWidget(m_vertical);
    orientations->addWidget(m_horizontal);
    side->addLayout(orientations);

    side->addWidget(sectionLabel(QStringLiteral("Content Scale"), this));
    auto *scaleRow = new QHBoxLayout;
    auto *reset = new QPushButton(QStringLiteral("Reset"), this);
    reset->setObjectName(QStringLiteral("btnReset"));
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("sliderScale"));
    m_slider->setRange(PdPageSetup::minimumScale, PdPageSetup::maximumScale);
    m_slider->setValue(100);
    m_spin = new QSpinBox(this);
    m_spin->setObjectName(QStringLiteral("sbScale"));
    m_spin->setRange(PdPageSetup::minimumScale, PdPageSetup::maximumScale);
    m_spin->setValue(100);
    m_spin->setSuffix(QStringLiteral("%"));
    scaleRow->addWidget(reset);
    scaleRow->addWidget(m_slider, 1);
    scaleRow->addWidget(m_spin);
    side->addLayout(scaleRow);

    side->addWidget(sectionLabel(QStringLiteral("Chart Time Scale"), this));
    m_timeScale = new QComboBox(this);
    m_timeScale->setObjectName(QStringLiteral("cmbTimeScale"));
    m_timeScale->addItem(QStringLiteral("Fit to page width"), int(PdChartScale::FitToPageWidth));
    m_timeScale->addItem(QStringLiteral("As on screen"), int(PdChartScale::Screen));
    m_timeScale->addItem(QStringLiteral("Week"), int(PdChartScale::Week));
    m_timeScale->addItem(QStringLiteral("Month"), int(PdChartScale::Month));
    m_timeScale->addItem(QStringLiteral("Quarter"), int(PdChartScale::Quarter));
    side->addWidget(m_timeScale);

    m_repeat = new QCheckBox(QStringLiteral("Repeat table headers"), this);
    m_repeat->setObjectName(QStringLiteral("chkRepeatTableHeaders"));
    m_repeat->setChecked(true);
    m_numbers = new QCheckBox(QStringLiteral("Print page numbers"), this);
    m_numbers->setObjectName(QStringLiteral("chkPrintPageNumbers"));
    m_numbers->setChecked(true);
    side->addWidget(m_repeat);
    side->addWidget(m_numbers);

    side->addWidget(sectionLabel(QStringLiteral("Pages"), this));
    auto *range = new QHBoxLayout;
    m_fromPage = new QSpinBox(this);
    m_fromPage->setObjectName(QStringLiteral("sbFromPage"));
    m_toPage = new QSpinBox(this);
    m_toPage->setObjectName(QStringLiteral("sbToPage"));
    m_pageCount = new QLabel(this);
    m_pageCount->setObjectName(QStringLiteral("lblPageCount"));
    range->addWidget(m_fromPage);
    range->addWidget(new QLabel(QStringLiteral("to"), this));
    range->addWidget(m_toPage);
    range->addWidget(m_pageCount, 1);
    side->addLayout(range);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    side->addWidget(m_status);
    side->addStretch(1);

    auto *buttons = new QHBoxLayout;
    auto *done = new QPushButton(QStringLiteral("Done"), this);
    done->setObjectName(QStringLiteral("btnDone"));
    auto *pdf = new QPushButton(QStringLiteral("Save as PDF..."), this);
    pdf->setObjectName(QStringLiteral("btnSavePdf"));
    m_printButton = new QPushButton(QStringLiteral("Print..."), this);
    m_printButton->setObjectName(QStringLiteral("btnPrint"));
    buttons->addWidget(done);
    buttons->addWidget(pdf);
    buttons->addWidget(m_printButton);
    side->addLayout(buttons);

    // Without a printer the dialog still makes pages: a PDF file.
    if (m_printers->count() == 0) {
        m_printers->setEnabled(false);
        m_printButton->setEnabled(false);
        m_status->setText(QStringLiteral("No printer is available; save the pages as a PDF file instead."));
    }

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(side);

    connect(m_slider, &QSlider::sliderReleased, this, qOverload<>(&PdPrintDialog::setScale));
    connect(m_slider, &QSlider::valueChanged, this, &PdPrintDialog::setSpinboxScale);
    connect(m_spin, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        m_slider->blockSignals(true);
        m_slider->setValue(value);
        m_slider->blockSignals(false);
        setScale(value);
    });
    connect(m_vertical, &PdPageSelectorButton::pageOrientChecked, m_horizontal, &PdPageSelectorButton::setUnchecked);
    connect(m_horizontal, &PdPageSelectorButton::pageOrientChecked, m_vertical, &PdPageSelectorButton::setUnchecked);
    connect(m_vertical, &PdPageSelectorButton::pageOrientChecked, this, &PdPrintDialog::updatePage);
    connect(m_horizontal, &PdPageSelectorButton::pageOrientChecked, this, &PdPrintDialog::updatePage);
    connect(m_pageSizes, &QComboBox::currentTextChanged, this, &PdPrintDialog::updatePage);
    connect(reset, &QPushButton::clicked, this, &PdPrintDialog::resetScale);
    connect(m_timeScale, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        m_scene->setChartScale(PdChartScale(m_timeScale->currentData().toInt()));
    });
    connect(m_repeat, &QCheckBox::clicked, m_scene, &PdPrintPreviewScene::setRepeatTableHeaders);
    connect(m_numbers, &QCheckBox::clicked, m_scene, &PdPrintPreviewScene::setPrintPageNumbers);
    connect(done, &QPushButton::clicked, this, &QDialog::close);
    connect(m_printButton, &QPushButton::clicked, this, &PdPrintDialog::print);
    connect(pdf, &QPushButton::clicked, this, &PdPrintDialog::savePdf);
    connect(m_scene, &PdPrintPreviewScene::pagesChanged, this, &PdPrintDialog::updatePageRange);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setFixedSize(screen->availableGeometry().size() * 0.7);
    // Landscape suits a table beside a chart: the first layout.
    m_horizontal->setChecked(true);
}

PdPrintDialog::~PdPrintDialog() = default;

void PdPrintDialog::updatePage()
{
    PdPageSetup setup = m_scene->pageSetup();
    setup.paper = QPageSize::PageSizeId(m_pageSizes->currentData().toInt());
    setup.orientation = m_vertical->isChecked() ? QPageLayout::Portrait : QPageLayout::Landscape;
    setup.repeatHeaders = m_repeat->isChecked();
    setup.pageNumbers = m_numbers->isChecked();
    setup.chartScale = PdChartScale(m_timeScale->currentData().toInt());
    setup.scalePercent = setup.defaultScale(m_sheet.tableWidth());
    showScale(setup.scalePercent);
    m_scene->setPageSetup(setup);
    m_fitted = false;
    if (isVisible())
        showEvent(nullptr);
}

void PdPrintDialog::setScale()
{
    setScale(m_spin->value());
}

void PdPrintDialog::setScale(int percent)
{
    if (PdPageSetup::clampScale(percent) != m_scene->pageSetup().scalePercent)
        m_scene->setScale(percent);
}

void PdPrintDialog::setSpinboxScale(int percent)
{
    {
        const QSignalBlocker blocker(m_spin);
        m_spin->setValue(percent);
    }
    // Dragging lays out once, on release; keys and the wheel move the slider
    // without pressing it and lay out at once, so what shows is what prints.
    if (!m_slider->isSliderDown())
        setScale(percent);
}

void PdPrintDialog::resetScale()
{
    const int percent = defaultScale();
    showScale(percent);
    setScale(percent);
}

int PdPrintDialog::defaultScale() const
{
    return m_scene->pageSetup().defaultScale(m_sheet.tableWidth());
}

void PdPrintDialog::showScale(int percent)
{
    const QSignalBlocker spinBlocker(m_spin);
    const QSignalBlocker sliderBlocker(m_slider);
    m_spin->setValue(percent);
    m_slider->setValue(percent);
}

void PdPrintDialog::showEvent(QShowEvent *event)
{
    if (event)
        QDialog::showEvent(event);
    if (m_fitted || m_scene->pageCount() == 0)
        return;
    m_fitted = true;
    // After the layout has given the view its size: the first page whole.
    QTimer::singleShot(0, this, [this] {
        m_view->fitInView(m_scene->pageRect(0).adjusted(-10, -10, 10, 10), Qt::KeepAspectRatio);
    });
}

void PdPrintDialog::updatePageRange(int count)
{
    const int last = std::max(1, count);
    const bool whole = m_toPage->value() == m_toPage->maximum() || m_toPage->value() == 0;
    m_fromPage->setRange(1, last);
    m_toPage->setRange(1, last);
    if (whole)
        m_toPage->setValue(last);
    m_pageCount->setText(QStringLiteral("of %1").arg(count));
}

bool PdPrintDialog::confirmPageCount(int pages)
{
    if (pages <= confirmAbove)
        return true;
    return QMessageBox::question(this, QStringLiteral("Print"),
                                 QStringLiteral("This prints %1 pages. Go on?").arg(pages),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

PdPagePainter::Result PdPrintDialog::runWithProgress(
    const QString &title, const std::function<PdPagePainter::Result(const PdPagePainter::Progress &)> &job, int pages)
{
    QProgressDialog progress(title, QStringLiteral("Cancel"), 0, pages, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const PdPagePainter::Result result = job([&progress](int done, int total) {
        progress.setLabelText(QStringLiteral("Page %1 of %2").arg(done).arg(total));
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    progress.reset();
    return result;
}

QString PdPrintDialog::defaultPdfName() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? QStringLiteral("Plan.pdf") : folder + QStringLiteral("/Plan.pdf");
}

void PdPrintDialog::print()
{
    const int first = m_fromPage->value() - 1;
    const int last = std::max(first, m_toPage->value() - 1);
    if (m_scene->pageCount() == 0 || !confirmPageCount(last - first + 1))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(m_printers->currentText());
    const PdPagePainter &pages = m_scene->pagePainter();
    const PdPagePainter::Result result = runWithProgress(
        QStringLiteral("Printing"),
        [&](const PdPagePainter::Progress &progress) { return pages.print(printer, first, last, progress); },
        last - first + 1);
    if (result.ok || result.cancelled)
        return;
    const auto answer = QMessageBox::warning(
        this, QStringLiteral("Print"),
        result.error + QStringLiteral("\nSave the pages as a PDF file instead?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        savePdf();
}

void PdPrintDialog::savePdf()
{
    const int first = m_fromPage->value() - 1;
    const int last = std::max(first, m_toPage->value() - 1);
    if (m_scene->pageCount() == 0)
        return;
    QString path = m_chooser ? m_chooser(this)
                             : QFileDialog::getSaveFileName(this, QStringLiteral("Save as PDF"), defaultPdfName(),
                                                            QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    const PdPagePainter &pages = m_scene->pagePainter();
    const PdPagePainter::Result result = runWithProgress(
        QStringLiteral("Saving"),
        [&](const PdPagePainter::Progress &progress) { return pages.savePdf(path, first, last, progress); },
        last - first + 1);
    if (result.ok)
        m_status->setText(QStringLiteral("%1 pages saved to %2").arg(result.pages).arg(path));
    else if (!result.cancelled)
        QMessageBox::warning(this, QStringLiteral("Save as PDF"), result.error);
}
