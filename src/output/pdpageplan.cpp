#include "pdpageplan.h"

#include <algorithm>
#include <cmath>

PdPagePlan::PdPagePlan(const Sheet &sheet, const QSizeF &content, bool repeatHeaders)
    : m_rowCount(std::max(0, sheet.rowCount))
    , m_repeatHeaders(repeatHeaders)
{
    const int pageWidth = std::max(1, int(std::floor(content.width())));
    const int pageHeight = std::max(1, int(std::floor(content.height())));

    // Strips fill a page column while they fit; one wider than a page gets a
    // page column of its own and is cut at the page's edge.
    int left = 0;
    int right = 0;
    for (int w : sheet.columnWidths) {
        w = std::max(0, w);
        if (right > left && right - left + w > pageWidth) {
            m_bands.append(Band{left, right});
            left = right;
        }
        right += w;
    }
    if (right > left)
        m_bands.append(Band{left, right});

    // Every page carries at least one row, however tall the row or the header.
    const int rh = std::max(1, sheet.rowHeight);
    m_firstRows = std::max(1, (pageHeight - sheet.headerHeight) / rh);
    m_laterRows = repeatHeaders ? m_firstRows : std::max(1, pageHeight / rh);
    if (m_bands.isEmpty())
        m_pageRows = 0;
    else if (m_rowCount <= m_firstRows)
        m_pageRows = 1;
    else
        m_pageRows = 1 + int((qint64(m_rowCount) - m_firstRows + m_laterRows - 1) / m_laterRows);
}

PdPagePlan::Page PdPagePlan::page(int number) const
{
    Page p;
    if (number < 0 || number >= pageCount())
        return p;
    p.pageRow = number / m_bands.size();
    p.pageColumn = number % m_bands.size();
    p.band = m_bands.at(p.pageColumn);
    p.header = p.pageRow == 0 || m_repeatHeaders;
    p.firstRow = p.pageRow == 0 ? 0 : m_firstRows + (p.pageRow - 1) * m_laterRows;
    const int rows = p.pageRow == 0 ? m_firstRows : m_laterRows;
    p.rowCount = std::max(0, std::min(rows, m_rowCount - p.firstRow));
    return p;
}
