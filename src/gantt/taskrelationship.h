#pragma once

#include <QString>
#include <QtGlobal>

namespace mygc {

// One link between two chart rows (row numbers, not task ids).
class TaskRelationship
{
public:
    enum Type { StartToStart = 0, FinishToStart = 1, StartToFinish = 2, FinishToFinish = 3 };

    TaskRelationship(int from = 0, int to = 0, int type = StartToStart, qint64 lag = 0);
    TaskRelationship(const TaskRelationship &) = default;
    TaskRelationship &operator=(const TaskRelationship &) = default;
    virtual ~TaskRelationship();

    virtual void setType(int type) { m_type = type; }

    int from() const { return m_from; }
    int to() const { return m_to; }
    int type() const { return m_type; }
    qint64 lag() const { return m_lag; }

    // "PR_FS" 1, "PR_SF" 2, "PR_FF" 3, anything else start-to-start.
    static int typeFromText(const QString &text);

private:
    int m_from;
    int m_to;
    int m_type;
    qint64 m_lag;
};

} // namespace mygc
