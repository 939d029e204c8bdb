#pragma once

#include <QVector>

class QPainter;
struct PdPageSetup;

// One printable sheet: a header band above rows of equal height, cut into
// column strips. It paints straight onto a painter in sheet coordinates
// (x from the sheet's left edge; the header from y 0; body row r from
// r × rowHeight()), and only the stretch it is asked for, so the cost of a
// page follows what the page shows, not the size of the schedule.
class PrintSheet
{
public:
    virtual ~PrintSheet();

    // Widths of the column strips, left to right; pages are cut only
    // between strips.
    virtual QVector<int> columnWidths() const = 0;
    virtual int headerHeight() const = 0;
    virtual int rowHeight() const = 0;
    virtual int rowCount() const = 0;
    // Logical resolution the sheet's fonts are meant for; devices painted on
    // are set to it so text keeps its size against the rows.
    virtual int dotsPerInch() const;
    // Called before pages are planned: a sheet whose widths depend on the
    // paper (a chart scaled to fill the page) takes them from `setup` here.
    virtual void fitToPage(const PdPageSetup &setup);
    // Width of the table printed left of a chart that fits itself to the
    // page (0 for none): the default scale leaves the chart room beside it.
    virtual int tableWidth() const;

    // The header between x = left and x = right.
    virtual void paintHeader(QPainter &painter, int left, int right) const = 0;
    // Rows firstRow .. firstRow + count - 1 between x = left and x = right.
    virtual void paintRows(QPainter &painter, int firstRow, int count, int left, int right) const = 0;

    int width() const;
};
