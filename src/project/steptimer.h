#pragma once

#include <QElapsedTimer>
#include <QString>

// Logs "<signature> start" when made and "<signature> stop: <ms>" when
// destroyed, at info level; pass Q_FUNC_INFO as the signature.
class StepTimer
{
public:
    explicit StepTimer(const char *signature);
    ~StepTimer();

    qint64 elapsed() const { return m_timer.elapsed(); }

private:
    Q_DISABLE_COPY(StepTimer)

    QString m_signature;
    QElapsedTimer m_timer;
};
