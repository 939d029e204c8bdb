#pragma once

#include <QDateTime>
#include <QSharedPointer>
#include <QVector>
#include <QWidget>

namespace mygc {

class DateAxis;
class GanttChart;
class TaskItem;

// One painted row of the chart area.
struct ChartRow
{
    QSharedPointer<TaskItem> item;
    int x = 0;
    int width = 0;
    int row = 0;
    bool hasDates = false;
    // Wall-clock readings of the item's start and finish (see DateAxis).
    qint64 startMSecs = 0;
    qint64 finishMSecs = 0;
};

// The widget inside the chart's scroll area: paints links, bars and the
// selected row, and turns clicks and Up/Down keys into a current row.
class ChartArea : public QWidget
{
    Q_OBJECT
public:
    explicit ChartArea(GanttChart *chart, QWidget *parent = nullptr);

    virtual void setCurrentRow(int row);
    int currentRow() const { return m_currentRow; }

    void addTask(const QSharedPointer<TaskItem> &item);
    void clear();
    int rowCount() const { return m_rows.size(); }
    // A row is read from the chart's model the first time it is asked for.
    const ChartRow &chartRow(int row) const;
    // Rows not read yet, as many as the chart shows.
    void resetRows(int count);
    // Fits the scale to every row's dates, reading every row.
    void fitAxisToRows();
    // Fits the scale to dates found elsewhere: the plausible first and last
    // and the median start. A first row without dates keeps the scale's
    // span, as it does when rows are added one by one.
    void fitAxisToSpan(qint64 reference, qint64 first, qint64 last);
    // Dates this far from the reference (the median of the starts) are taken
    // for placeholders ("no date" written as 9999-12-31 or 0001-01-01): they
    // do not stretch the axis, and bars reaching them are cut at its edge.
    static bool isPlausible(qint64 wallMSecs, qint64 reference);

    // While a batch is open, addTask() leaves the widget's size and the scale
    // alone; the size is fixed once when the batch ends, instead of once per
    // row, and the scale is fitted by whoever opened the batch.
    void beginBatch(int expectedRows);
    void endBatch();

    // Blank space below the last row. A tree that scrolls by whole rows puts
    // its last row's top lower than a scroll area can reach when the area
    // ends at its last row; one row of slack lets the chart follow it there.
    void setBottomSpace(int space);

    // Paints the rows under `exposed` (area coordinates) onto any painter, so
    // print and snip draw only what their page or slice shows. Bars and links
    // are placed through `axis` when given, so print can lay the rows out on a
    // scale of its own and leave the chart's alone. The ground is the
    // caller's to paint: print lays a date grid under the bars.
    void paintRows(QPainter &painter, const QRect &exposed, bool withCurrentRow, const DateAxis *axis = nullptr);
    int bottomSpace() const { return m_bottomSpace; }

signals:
    void selectionChanged(int current);

public slots:
    void dateAxisWidthChanged(int oldWidth, int newWidth);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applySize();
    bool isPlausible(qint64 wallMSecs) const { return isPlausible(wallMSecs, m_reference); }
    // Grows the axis to take [s, f] in, as rows have always grown it.
    void widenAxis(qint64 s, const QDateTime &from, qint64 f, const QDateTime &to);
    static ChartRow recordFor(const QSharedPointer<TaskItem> &item);
    void placeRow(ChartRow &record) const;
    void paintRows(QPainter &painter, const QRect &exposed, bool withCurrentRow, const DateAxis *axis,
                   bool withLinks);
    void paintLinks(QPainter &painter, const QRect &exposed, int first, int last, const DateAxis *axis);

    GanttChart *m_chart;
    // Held by value: one allocation per row fewer on every rebuild. Rows
    // without an item are read on first use.
    mutable QVector<ChartRow> m_rows;
    int m_currentRow = -1;
    int m_bottomSpace = 0;
    bool m_batch = false;
    // False until a row has set the axis range; a first row without dates
    // sets it true, leaving the axis its span.
    bool m_rangeSet = false;
    bool m_hasReference = false;
    qint64 m_reference = 0;
};

} // namespace mygc
