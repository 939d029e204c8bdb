#include "taskrelationship.h"

namespace mygc {

TaskRelationship::TaskRelationship(int from, int to, int type, qint64 lag)
    : m_from(from)
    , m_to(to)
    , m_type(type)
    , m_lag(lag)
{
}

TaskRelationship::~TaskRelationship() = default;

int TaskRelationship::typeFromText(const QString &text)
{
    if (text == QLatin1String("PR_FS"))
        return FinishToStart;
    if (text == QLatin1String("PR_SF"))
        return StartToFinish;
    if (text == QLatin1String("PR_FF"))
        return FinishToFinish;
    return StartToStart;
}

} // namespace mygc
