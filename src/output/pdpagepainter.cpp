#include "pdpagepainter.h"

#include "printsheet.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>

PdPagePainter::PdPagePainter(PrintSheet &sheet, const PdPageSetup &setup)
    : m_sheet(sheet)
    , m_setup(setup)
{
    m_setup.scalePercent = PdPageSetup::clampScale(m_setup.scalePercent);
    sheet.fitToPage(m_setup);
    PdPagePlan::Sheet metrics;
    metrics.columnWidths = sheet.columnWidths();
    metrics.headerHeight = sheet.headerHeight();
    metrics.rowHeight = sheet.rowHeight();
    metrics.rowCount = sheet.rowCount();
    m_plan = PdPagePlan(metrics, m_setup.contentSize(), m_setup.repeatHeaders);
}

void PdPagePainter::paintPage(QPainter &painter, int number, const QRectF &paper) const
{
    const PdPagePlan::Page page = m_plan.page(number);
    if (number < 0 || number >= m_plan.pageCount())
        return;
    const QSizeF paperMm = m_setup.paperMillimetres();
    const qreal perMm = paper.width() / paperMm.width();
    const qreal margin = PdPageSetup::marginMillimetres * perMm;
    // Device units per sheet pixel. Rows are placed through this transform at
    // their exact scaled place, so no scale stacks them onto one another.
    const qreal factor = perMm * m_setup.scalePercent / 100.0 / PdPageSetup::unitsPerMillimetre;
    const QSizeF content = m_setup.contentSize();
    const int headerHeight = page.header ? m_sheet.headerHeight() : 0;
    const int rh = m_sheet.rowHeight();
    const int width = page.band.right - page.band.left;

    painter.save();
    painter.translate(paper.left() + margin, paper.top() + margin);
    painter.scale(factor, factor);
    painter.setClipRect(QRectF(QPointF(0, 0), content), Qt::IntersectClip);
    if (page.header) {
        painter.save();
        painter.setClipRect(QRect(0, 0, width, headerHeight), Qt::IntersectClip);
        painter.translate(-page.band.left, 0);
        m_sheet.paintHeader(painter, page.band.left, page.band.right);
        painter.restore();
    }
    if (page.rowCount > 0) {
        painter.save();
        painter.setClipRect(QRect(0, headerHeight, width, page.rowCount * rh), Qt::IntersectClip);
        painter.translate(-page.band.left, headerHeight - qreal(page.firstRow) * rh);
        m_sheet.paintRows(painter, page.firstRow, page.rowCount, page.band.left, page.band.right);
        painter.restore();
    }
    painter.restore();

    if (m_setup.pageNumbers) {
        painter.save();
        QFont font = painter.font();
        font.setPixelSize(std::max(1, int(margin * 0.6)));
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRectF bottom(paper.left(), paper.bottom() - margin, paper.width(), margin);
        painter.drawText(bottom, Qt::AlignCenter, QString::number(number + 1));
        painter.restore();
    }
}

PdPagePainter::Result PdPagePainter::paintPages(QPainter &painter, QPagedPaintDevice &device, int first, int last,
                                                const Progress &progress) const
{
    Result result;
    const QRectF paper(QPointF(0, 0), m_setup.pageLayout().fullRectPixels(painter.device()->logicalDpiX()).size());
    const int total = last - first + 1;
    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage()) {
            result.error = QStringLiteral("A new page could not be started.");
            return result;
        }
        paintPage(painter, number, paper);
        ++result.pages;
        if (progress && !progress(result.pages, total) && number < last) {
            result.cancelled = true;
            return result;
        }
    }
    result.ok = true;
    return result;
}

bool PdPagePainter::clampRange(int *first, int *last, Result *result) const
{
    *first = std::max(0, *first);
    *last = std::min(*last, pageCount() - 1);
    if (*first > *last) {
        result->error = QStringLiteral("There is nothing to print.");
        return false;
    }
    return true;
}

PdPagePainter::Result PdPagePainter::print(QPrinter &printer, int first, int last, const Progress &progress) const
{
    Result result;
    if (!clampRange(&first, &last, &result))
        return result;
    printer.setFullPage(true);
    printer.setResolution(m_sheet.dotsPerInch());
    printer.setPageLayout(m_setup.pageLayout());
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.error = QStringLiteral("The printer could not be started.");
        return result;
    }
    result = paintPages(painter, printer, first, last, progress);
    if (result.cancelled)
        printer.abort();
    painter.end();
    return result;
}

PdPagePainter::Result PdPagePainter::savePdf(const QString &path, int first, int last, const Progress &progress) const
{
    Result result;
    if (!clampRange(&first, &last, &result))
        return result;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("%1 could not be written: %2").arg(path, file.errorString());
        return result;
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Plandeck"));
        writer.setResolution(m_sheet.dotsPerInch());
        writer.setPageLayout(m_setup.pageLayout());
        QPainter painter;
        if (!painter.begin(&writer)) {
            result.error = QStringLiteral("%1 could not be written.").arg(path);
            file.cancelWriting();
            return result;
        }
        result = paintPages(painter, writer, first, last, progress);
        painter.end();
    }
    if (!result.ok) {
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.ok = false;
        result.error = QStringLiteral("%1 could not be written: %2").arg(path, file.errorString());
    }
    return result;
}
