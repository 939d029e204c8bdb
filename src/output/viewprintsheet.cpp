#include "viewprintsheet.h"

#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "pdgroupedtreeview.h"
#include "qgcvaxis.h"

#include <QHeaderView>
#include <QPainter>

#include <algorithm>

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
        m_headerHeight = h->height();
        m_rowHeight = m_tree->printRowHeight();
        m_rowCount = m_tree->shownRowCount();
    } else {
        m_tree = nullptr;
    }
    if (m_chart) {
        m_chart->flushPendingRebuild();
        const mygc::DateAxis *axis = m_chart->dateAxis();
        m_chartTo = axis->columnWidth() * axis->columnCount();
        m_headerHeight = std::max(m_headerHeight, axis->height());
        if (!m_tree) {
            m_rowCount = m_chart->items().size();
            m_rowHeight = m_rowCount > 0 ? m_chart->verticalAxis()->rowHeight(0) : 0;
        }
    }
    updateWidths();
}

void ViewPrintSheet::setChartRange(int from, int to)
{
    if (!m_chart)
        return;
    const mygc::DateAxis *axis = m_chart->dateAxis();
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
    const int cw = m_chart->dateAxis()->columnWidth();
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
        const mygc::DateAxis *axis = m_chart->dateAxis();
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
            m_chart->chartArea()->paintRows(painter, QRect(chartX, chartTop, right - a, chartHeight), false);
        }
        painter.restore();
    }
}
