#pragma once

#include "printsheet.h"

#include <QColor>
#include <QPainter>

// Solid cells: the header green, rows red and blue in turn, so a page's
// pixels tell where each row landed.
inline const QColor headerColour(0, 160, 0);
inline const QColor rowColours[2] = {QColor(220, 0, 0), QColor(0, 0, 220)};

class SolidSheet : public PrintSheet
{
public:
    QVector<int> widths{200, 200, 200};
    int rows = 100;
    int table = 0;
    mutable int paintedRows = 0;

    QVector<int> columnWidths() const override { return widths; }
    int headerHeight() const override { return 30; }
    int rowHeight() const override { return 22; }
    int rowCount() const override { return rows; }
    int tableWidth() const override { return table; }
    void paintHeader(QPainter &painter, int left, int right) const override
    {
        painter.fillRect(QRect(left, 0, right - left, headerHeight()), headerColour);
    }
    void paintRows(QPainter &painter, int firstRow, int count, int left, int right) const override
    {
        paintedRows += count;
        for (int r = firstRow; r < firstRow + count; ++r)
            painter.fillRect(QRect(left, r * rowHeight(), right - left, rowHeight()), rowColours[r % 2]);
    }
};

