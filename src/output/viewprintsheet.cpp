#include "viewprintsheet.h"

#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "pdgroupedtreeview.h"
#include "pdpagesetup.h"
#include "qgcvaxis.h"
#include "timeunit.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace {

// Days in the shortest and in the average period of a unit: a column holds
// the average, the narrowest cell of its band the shortest.
qreal shortestDays(int unit)
{
    switch (unit) {
    case mygc::Day: return 1;
    case mygc::Week: return 7;
    case mygc::Month: return 28;
    case mygc::Quarter: return 90;
    default: return 365;
    }
}

qreal averageDays(int unit)
{
    switch (unit) {
    case mygc::Day: return 1;
    case mygc::Week: return 7;
    case mygc::Month: return 30.44;
    case mygc::Quarter: return 91.31;
    default: return 365.25;
    }
}

// The lowest band names its periods briefly; the band above gives the month
// or the year they lie in.
QVector<int> printBands(int unit)
{
    switch (unit) {
    case mygc::Day:
    case mygc::Week: return {unit, mygc::Month};
    case mygc::Month:
    case mygc::Quarter: return {unit, mygc::Year};
    default: return {mygc::Year};
    }
}

// Narrowest cell in which every period of `unit` keeps a readable name:
// a day's number, "W52", a month's short name, "Q4", a year.
int legibleCell(int unit, const QFontMetrics &metrics)
{
    int text = 0;
    switch (unit) {
    case mygc::Day: text = metrics.horizontalAdvance(QStringLiteral("28")); break;
    case mygc::Week: text = metrics.horizontalAdvance(QStringLiteral("W52")); break;
    case mygc::Month:
        for (int month = 1; month <= 12; ++month)
            text = std::max(text, metrics.horizontalAdvance(QLocale::c().monthName(month, QLocale::ShortFormat)));
        break;
    case mygc::Quarter: text = metrics.horizontalAdvance(QStringLiteral("Q4")); break;
    default: text = metrics.horizontalAdvance(QStringLiteral("2026")); break;
    }
    // The scale keeps two pixels clear either side of a label.
    return text + 4;
}

} // namespace

ViewPrintSheet::ViewPrintSheet(PdGroupedTreeView *tree, mygc::GanttChart *chart)
    : m_tree(tree)
    , m_chart(chart)
{
    if (m_tree && m_tree->model()) {
        const QHeaderView *h = m_tree->header();
        for (int visual = 0; visual < h->count(); ++visual) {
            const int logical = h->logicalIndex(visual);
            if (!h->isSectionHidden(logical) && h->sectionSize(logical) > 0)
                m_treeWidths << h->sectionSize(logical);
        }
        for (int w : m_treeWidths)
            m_treeWidth += w;
        m_treeHeaderHeight = h->height();
        m_rowHeight = m_tree->printRowHeight();
        m_rowCount = m_tree->shownRowCount();
    } else {
        m_tree = nullptr;
    }
    if (m_chart) {
        m_chart->flushPendingRebuild();
        const mygc::DateAxis *axis = m_chart->dateAxis();
        m_chartTo = axis->columnWidth() * axis->columnCount();
        if (!m_tree) {
            m_rowCount = m_chart->itemCount();
            m_rowHeight = m_rowCount > 0 ? m_chart->verticalAxis()->rowHeight(0) : 0;
        }
    }
    updateHeaderHeight();
    updateWidths();
}

ViewPrintSheet::~ViewPrintSheet() = default;

const mygc::DateAxis *ViewPrintSheet::chartAxis() const
{
    if (m_printAxis)
        return m_printAxis.get();
    return m_chart ? m_chart->dateAxis() : nullptr;
}

void ViewPrintSheet::fitToPage(const PdPageSetup &setup)
{
    if (!m_chart)
        return;
    const mygc::DateAxis *screen = m_chart->dateAxis();
    m_chartOneStrip = false;
    if (setup.chartScale == PdChartScale::Screen) {
        m_printAxis.reset();
    } else {
        if (!m_printAxis)
            m_printAxis = std::make_unique<mygc::DateAxis>();
        m_printAxis->setFont(screen->font());
        const QFontMetrics metrics(screen->font());
        const auto useUnit = [this, screen](int unit) {
            m_printAxis->setLevels(printBands(unit));
            m_printAxis->setRange(screen->startDate(), screen->endDate().addMSecs(-1));
        };
        if (setup.chartScale == PdChartScale::FitToPageWidth) {
            // The room beside the tree; a tree that leaves the chart too
            // little gives it pages of its own.
            const int page = std::max(1, int(setup.contentSize().width()));
            int room = page - (m_tree ? m_treeWidth : 0);
            if (room < page * (1 - PdPageSetup::tableShare))
                room = page;
            // The finest band whose every period can still be named.
            int columnWidth = 1;
            for (int unit : {mygc::Day, mygc::Week, mygc::Month, mygc::Quarter, mygc::Year}) {
                useUnit(unit);
                columnWidth = std::max(1, room / std::max(1, m_printAxis->columnCount()));
                if (columnWidth * shortestDays(unit) / averageDays(unit) >= legibleCell(unit, metrics))
                    break;
            }
            m_printAxis->setColumnWidth(columnWidth);
            m_chartOneStrip = true;
        } else {
            int unit = mygc::Week;
            int comfortable = 30;
            if (setup.chartScale == PdChartScale::Month) {
                unit = mygc::Month;
                comfortable = 60;
            } else if (setup.chartScale == PdChartScale::Quarter) {
                unit = mygc::Quarter;
                comfortable = 80;
            }
            useUnit(unit);
            m_printAxis->setColumnWidth(std::max(comfortable, legibleCell(unit, metrics)));
        }
    }
    m_chartFrom = 0;
    m_chartTo = chartAxis()->axisWidth();
    updateHeaderHeight();
    updateWidths();
}

int ViewPrintSheet::tableWidth() const
{
    return m_chart ? m_treeWidth : 0;
}

void ViewPrintSheet::updateHeaderHeight()
{
    m_headerHeight = m_treeHeaderHeight;
    if (const mygc::DateAxis *axis = chartAxis())
        m_headerHeight = std::max(m_headerHeight, axis->height());
}

void ViewPrintSheet::setChartRange(int from, int to)
{
    if (!m_chart)
        return;
    const mygc::DateAxis *axis = chartAxis();
    const int full = axis->columnWidth() * axis->columnCount();
    m_chartFrom = std::clamp(from, 0, full);
    m_chartTo = std::clamp(to, m_chartFrom, full);
    updateWidths();
}

void ViewPrintSheet::updateWidths()
{
    m_widths = m_treeWidths;
    if (!m_chart)
        return;
    if (m_chartOneStrip) {
        if (m_chartTo > m_chartFrom)
            m_widths << m_chartTo - m_chartFrom;
        return;
    }
    const int cw = chartAxis()->columnWidth();
    if (cw <= 0)
        return;
    for (int x = m_chartFrom; x < m_chartTo;) {
        const int next = std::min(m_chartTo, (x / cw + 1) * cw);
        m_widths << next - x;
        x = next;
    }
}

int ViewPrintSheet::dotsPerInch() const
{
    const QWidget *widget = m_tree ? static_cast<QWidget *>(m_tree) : m_chart;
    const int dpi = widget ? widget->logicalDpiY() : 0;
    return dpi >= 48 && dpi <= 600 ? dpi : PrintSheet::dotsPerInch();
}

void ViewPrintSheet::paintHeader(QPainter &painter, int left, int right) const
{
    if (m_tree && left < m_treeWidth) {
        painter.save();
        painter.setFont(m_tree->header()->font());
        painter.setClipRect(QRect(left, 0, std::min(right, m_treeWidth) - left, m_headerHeight), Qt::IntersectClip);
        painter.fillRect(QRect(left, 0, std::min(right, m_treeWidth) - left, m_headerHeight),
                         m_tree->header()->palette().window());
        m_tree->paintHeaderForPrint(&painter, left, std::min(right, m_treeWidth), m_headerHeight);
        painter.restore();
    }
    if (m_chart && right > m_treeWidth) {
        const int a = std::max(left, m_treeWidth);
        const int width = right - a;
        const mygc::DateAxis *axis = chartAxis();
        painter.save();
        painter.translate(a, 0);
        painter.setFont(axis->font());
        painter.setClipRect(QRect(0, 0, width, m_headerHeight), Qt::IntersectClip);
        painter.fillRect(QRect(0, 0, width, m_headerHeight), axis->palette().window());
        // The scale hangs from the bottom of a taller tree header.
        painter.translate(0, m_headerHeight - axis->height());
        axis->paintScale(painter, QRect(0, 0, width, axis->height()), m_chartFrom + a - m_treeWidth, width);
        painter.restore();
    }
}

void ViewPrintSheet::paintRows(QPainter &painter, int firstRow, int count, int left, int right) const
{
    count = std::min(count, m_rowCount - firstRow);
    if (count <= 0 || m_rowHeight <= 0)
        return;
    const QRect band(left, firstRow * m_rowHeight, right - left, count * m_rowHeight);
    if (m_tree && left < m_treeWidth) {
        const QRect part = band.intersected(QRect(0, band.top(), m_treeWidth, band.height()));
        painter.save();
        painter.setFont(m_tree->font());
        painter.setClipRect(part, Qt::IntersectClip);
        painter.fillRect(part, m_tree->palette().base());
        m_tree->paintRowsForPrint(&painter, firstRow, count, left, std::min(right, m_treeWidth));
        painter.restore();
    }
    if (m_chart && right > m_treeWidth) {
        const mygc::QGCVAxis *vaxis = m_chart->verticalAxis();
        const int chartRows = std::min(count, vaxis->rowCount() - firstRow);
        const int a = std::max(left, m_treeWidth);
        const QRect part(a, band.top(), right - a, band.height());
        painter.save();
        painter.setClipRect(part, Qt::IntersectClip);
        painter.fillRect(part, Qt::white);
        if (m_printAxis)
            paintDateGrid(painter, part, m_chartFrom + a - m_treeWidth);
        if (chartRows > 0) {
            const int chartX = m_chartFrom + a - m_treeWidth;
            const int chartTop = vaxis->rowTop(firstRow);
            const int chartBottom = vaxis->rowTop(firstRow + chartRows - 1) + vaxis->rowHeight(firstRow + chartRows - 1);
            painter.translate(a - chartX, band.top() - chartTop);
            // A chart whose rows are not as high as the tree's still keeps
            // them level with the tree's rows on paper.
            const int chartHeight = chartBottom - chartTop;
            if (chartHeight > 0 && chartHeight != chartRows * m_rowHeight) {
                painter.translate(0, chartTop);
                painter.scale(1.0, qreal(chartRows * m_rowHeight) / chartHeight);
                painter.translate(0, -chartTop);
            }
            m_chart->chartArea()->paintRows(painter, QRect(chartX, chartTop, right - a, chartHeight), false,
                                            chartAxis());
        }
        painter.restore();
    }
}

void ViewPrintSheet::paintDateGrid(QPainter &painter, const QRect &part, int chartX) const
{
    // A line at every period of each band, the upper band's darker: on paper
    // a bar far down a page is read against the scale at its top.
    const mygc::DateAxis *axis = m_printAxis.get();
    const QVector<int> units = axis->levelUnits();
    const QColor colours[2] = {QColor(228, 228, 228), QColor(190, 190, 190)};
    const QDateTime from = axis->dateAt(std::max(0, chartX));
    const QDateTime to = axis->dateAt(std::min(axis->axisWidth(), chartX + part.width()));
    if (!from.isValid() || !to.isValid())
        return;
    painter.save();
    for (int band = 0; band < std::min(2, int(units.size())); ++band) {
        QVector<QLine> lines;
        for (QDateTime p = mygc::periodStart(units.at(band), from); p.isValid() && p <= to;
             p = mygc::nextPeriod(units.at(band), p)) {
            const int x = axis->xForDate(p);
            if (x > 0)
                lines << QLine(part.left() + x - chartX, part.top(), part.left() + x - chartX, part.bottom());
        }
        painter.setPen(colours[band]);
        painter.drawLines(lines);
    }
    painter.restore();
}
