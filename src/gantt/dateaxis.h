#pragma once

#include <QDateTime>
#include <QSharedPointer>
#include <QVector>
#include <QWidget>

namespace mygc {

class DateAxisLevel;

// The time-scale header of the chart. It owns the mapping between instants and
// x positions: the chart places every bar through xForDate().
class DateAxis : public QWidget
{
    Q_OBJECT
public:
    explicit DateAxis(QWidget *parent = nullptr);
    ~DateAxis() override;

    virtual QDateTime dateAt(int x) const;
    virtual int xForDate(const QDateTime &t) const;
    virtual QDateTime startDate() const;
    virtual QDateTime endDate() const;
    virtual int columnWidth() const;
    virtual int columnCount() const;
    virtual int axisWidth() const;
    // Width of one period of the lowest band, as a drag on the scale sets
    // it; print sets it to fit a chart to its pages.
    void setColumnWidth(int width);

    // The scale runs on wall-clock readings (date and time of day, as
    // milliseconds from Julian day 0): every calendar day is equally wide, and
    // mapping a date needs no time-zone lookup, which costs a system call per
    // date here and would dominate painting and rebuilding.
    static qint64 wallMSecs(const QDateTime &t);
    static QDateTime fromWallMSecs(qint64 msecs);
    int xForWallMSecs(qint64 msecs) const;
    qint64 startWallMSecs() const { return m_startMSecs; }
    qint64 endWallMSecs() const { return m_endMSecs; }

    void addLevel(int unit);
    void setLevels(const QVector<int> &units);
    QVector<int> levelUnits() const;
    int levelCount() const { return m_levels.size(); }

    void setRange(const QDateTime &from, const QDateTime &to);
    void setStart(const QDateTime &from);
    void setEnd(const QDateTime &to);

    void setScaleHidden(bool hidden);
    bool isScaleHidden() const { return m_scaleHidden; }

    // Paints the bands as a view `shownWidth` wide scrolled to `offset`
    // would show them, onto any painter; print and snip place the scale's
    // stretch they need this way without resizing the widget.
    void paintScale(QPainter &painter, const QRect &exposed, int offset, int shownWidth) const;

    // True when (x, y) lies on a column boundary of the lowest band.
    bool isColumnBoundary(int x, int y) const;

signals:
    void columnsChanged(int oldColumns, int newColumns);
    void axisWidthChanged(int oldWidth, int newWidth);
    void heightChanged(int height);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int bottomUnit() const;
    int totalHeight() const;
    int scrollOffset() const;
    void setStartEnd(const QDateTime &start, const QDateTime &end);
    void correctEmptySpan();
    void updateColumns();

    QVector<QSharedPointer<DateAxisLevel>> m_levels;
    int m_columnWidth = 25;
    int m_columnCount = 0;
    int m_axisWidth = 0;
    QDateTime m_requestedStart;
    QDateTime m_requestedEnd;
    QDateTime m_start;
    QDateTime m_end;
    qint64 m_startMSecs = 0;
    qint64 m_endMSecs = 0;
    bool m_scaleHidden = false;
    bool m_dragging = false;
    int m_dragOriginX = 0;
    int m_dragCurrentX = 0;
};

} // namespace mygc
