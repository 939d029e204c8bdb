#pragma once

#include <QSizeF>
#include <QVector>

// Where a sheet's rows and column strips fall on pages, worked out from the
// sizes alone: nothing is rendered to find the pages. Pages run along each
// page row, left to right, then down.
class PdPagePlan
{
public:
    // The sheet's horizontal stretch [left, right) that one page column shows.
    struct Band
    {
        int left = 0;
        int right = 0;
    };
    struct Page
    {
        int pageRow = 0;
        int pageColumn = 0;
        int firstRow = 0;
        int rowCount = 0;
        bool header = false;
        Band band;
    };
    struct Sheet
    {
        QVector<int> columnWidths;
        int headerHeight = 0;
        int rowHeight = 0;
        int rowCount = 0;
    };

    PdPagePlan() = default;
    // `content` is a page's printable size in sheet pixels.
    PdPagePlan(const Sheet &sheet, const QSizeF &content, bool repeatHeaders);

    int pageRows() const { return m_pageRows; }
    int pageColumns() const { return m_bands.size(); }
    int pageCount() const { return m_pageRows * m_bands.size(); }
    // Rows on the first page row and on each later one.
    int firstRows() const { return m_firstRows; }
    int laterRows() const { return m_laterRows; }
    const QVector<Band> &bands() const { return m_bands; }
    // Page by its number from 0; out of range gives an empty page.
    Page page(int number) const;

private:
    QVector<Band> m_bands;
    int m_rowCount = 0;
    int m_firstRows = 0;
    int m_laterRows = 0;
    int m_pageRows = 0;
    bool m_repeatHeaders = true;
};
