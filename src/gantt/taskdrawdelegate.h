#pragma once

#include <QDateTime>
#include <QRect>

class QPainter;

namespace mygc {

class DateAxis;
class GanttChart;
class TaskItem;

// Draws one row's bars and end shapes with the chart's bar styles.
class TaskDrawDelegate
{
public:
    explicit TaskDrawDelegate(GanttChart *chart = nullptr);
    TaskDrawDelegate(const TaskDrawDelegate &) = delete;
    TaskDrawDelegate &operator=(const TaskDrawDelegate &) = delete;

    virtual void drawBar(const TaskItem &item, QPainter *painter, const DateAxis *axis,
                         const QRect &rowRect, int styleIndex, const QDateTime &from,
                         const QDateTime &to) const;
    virtual void drawMilestone(const TaskItem &item, QPainter *painter, const DateAxis *axis,
                               const QRect &rowRect) const;
    virtual ~TaskDrawDelegate();
    virtual int leftExtent() const;
    virtual int rightExtent() const;
    virtual void drawTask(const TaskItem &item, QPainter *painter, const DateAxis *axis,
                          const QRect &rowRect) const;

    static void drawShape(QPainter *painter, const QRect &rect, const QString &name, int size);

    // The size every end shape is drawn at.
    static constexpr int ShapeSize = 11;

private:
    GanttChart *m_chart;
};

} // namespace mygc
