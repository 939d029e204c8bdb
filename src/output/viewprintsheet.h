#pragma once

#include "printsheet.h"

#include <QPointer>

class PdGroupedTreeView;
namespace mygc {
class GanttChart;
}

// The activity tree's shown columns followed by the chart's date-axis
// columns, row for row; either side may be missing (the snip prints the chart
// alone). The chart may be cut to a stretch of its scale.
class ViewPrintSheet : public PrintSheet
{
public:
    ViewPrintSheet(PdGroupedTreeView *tree, mygc::GanttChart *chart);

    // Keeps only the chart between x = from and x = to on its scale; the
    // columns the ends cut are trimmed to the part inside.
    void setChartRange(int from, int to);
    int chartFrom() const { return m_chartFrom; }
    int chartTo() const { return m_chartTo; }
    int treeWidth() const { return m_treeWidth; }

    QVector<int> columnWidths() const override { return m_widths; }
    int headerHeight() const override { return m_headerHeight; }
    int rowHeight() const override { return m_rowHeight; }
    int rowCount() const override { return m_rowCount; }
    int dotsPerInch() const override;
    void paintHeader(QPainter &painter, int left, int right) const override;
    void paintRows(QPainter &painter, int firstRow, int count, int left, int right) const override;

private:
    void updateWidths();

    QPointer<PdGroupedTreeView> m_tree;
    QPointer<mygc::GanttChart> m_chart;
    QVector<int> m_treeWidths;
    QVector<int> m_widths;
    int m_treeWidth = 0;
    int m_chartFrom = 0;
    int m_chartTo = 0;
    int m_headerHeight = 0;
    int m_rowHeight = 0;
    int m_rowCount = 0;
};
