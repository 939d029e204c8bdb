#pragma once

#include "printsheet.h"

#include <QPointer>

#include <memory>

class PdGroupedTreeView;
namespace mygc {
class DateAxis;
class GanttChart;
}

// The activity tree's shown columns followed by the chart's date-axis
// columns, row for row; either side may be missing (the snip prints the chart
// alone). The chart may be cut to a stretch of its scale.
//
// The chart is drawn on the screen's scale until fitToPage() chooses a print
// scale: a date axis of the sheet's own, with coarser bands where the days
// are too narrow to name, so the screen's chart is never touched.
class ViewPrintSheet : public PrintSheet
{
public:
    ViewPrintSheet(PdGroupedTreeView *tree, mygc::GanttChart *chart);
    ~ViewPrintSheet() override;

    // Keeps only the chart between x = from and x = to on its scale; the
    // columns the ends cut are trimmed to the part inside.
    void setChartRange(int from, int to);
    int chartFrom() const { return m_chartFrom; }
    int chartTo() const { return m_chartTo; }
    int treeWidth() const { return m_treeWidth; }
    // The scale the chart is drawn on: the print scale, else the screen's.
    const mygc::DateAxis *chartAxis() const;

    QVector<int> columnWidths() const override { return m_widths; }
    int headerHeight() const override { return m_headerHeight; }
    int rowHeight() const override { return m_rowHeight; }
    int rowCount() const override { return m_rowCount; }
    int dotsPerInch() const override;
    void fitToPage(const PdPageSetup &setup) override;
    int tableWidth() const override;
    void paintHeader(QPainter &painter, int left, int right) const override;
    void paintRows(QPainter &painter, int firstRow, int count, int left, int right) const override;

private:
    void updateWidths();
    void updateHeaderHeight();
    // `part` is in sheet coordinates, its left edge at x = chartX on the scale.
    void paintDateGrid(QPainter &painter, const QRect &part, int chartX) const;

    QPointer<PdGroupedTreeView> m_tree;
    QPointer<mygc::GanttChart> m_chart;
    std::unique_ptr<mygc::DateAxis> m_printAxis;
    // A chart fitted to the page is one strip, so that pages never cut it
    // and, beside a tree too wide to share a page, it starts a page of its own.
    bool m_chartOneStrip = false;
    int m_treeHeaderHeight = 0;
    QVector<int> m_treeWidths;
    QVector<int> m_widths;
    int m_treeWidth = 0;
    int m_chartFrom = 0;
    int m_chartTo = 0;
    int m_headerHeight = 0;
    int m_rowHeight = 0;
    int m_rowCount = 0;
};
