#pragma once

#include <QDateTime>
#include <QModelIndex>

namespace mygc {

// The chart's copy of one row: its kind, dates and the model index it came from.
class TaskItem
{
public:
    enum Kind { Task = 0, Milestone = 1, Summary = 2 };

    TaskItem() = default;
    TaskItem(const TaskItem &) = default;
    TaskItem &operator=(const TaskItem &) = default;
    virtual ~TaskItem();

    virtual int kind() const { return m_kind; }
    virtual void setKind(int kind) { m_kind = kind; }
    virtual QDateTime start() const { return m_start; }
    virtual void setStart(const QDateTime &start) { m_start = start; }
    virtual QDateTime finish() const { return m_finish; }
    virtual void setFinish(const QDateTime &finish) { m_finish = finish; }
    virtual float progress() const { return m_progress; }
    virtual void setProgress(float progress);
    virtual int id() const { return m_id; }
    virtual void setId(int id) { m_id = id; }
    virtual QModelIndex index() const { return m_index; }
    virtual void setIndex(const QModelIndex &index) { m_index = index; }
    virtual void setActualStart(const QDateTime &t) { m_actualStart = t; }
    virtual QDateTime actualStart() const { return m_actualStart; }
    virtual void setActualFinish(const QDateTime &t) { m_actualFinish = t; }
    virtual QDateTime actualFinish() const { return m_actualFinish; }
    virtual void setBaselineStart(const QDateTime &t) { m_baselineStart = t; }
    virtual QDateTime baselineStart() const { return m_baselineStart; }
    virtual void setBaselineFinish(const QDateTime &t) { m_baselineFinish = t; }
    virtual QDateTime baselineFinish() const { return m_baselineFinish; }

private:
    int m_kind = Task;
    QDateTime m_start;
    QDateTime m_finish;
    QDateTime m_actualStart;
    QDateTime m_actualFinish;
    QDateTime m_baselineStart;
    QDateTime m_baselineFinish;
    float m_progress = 0.0f;
    int m_id = 0;
    QModelIndex m_index;
};

} // namespace mygc
