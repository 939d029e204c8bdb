#pragma once

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcProjectTiming)

// Logs "<signature> start" when made and "<signature> stop: <ms>" when
// destroyed, at info level in the given category; pass Q_FUNC_INFO as the
// signature.
class StepTimer
{
public:
    using Category = const QLoggingCategory &(*)();

    explicit StepTimer(const char *signature, Category category = lcProjectTiming);
    ~StepTimer();

    qint64 elapsed() const { return m_timer.elapsed(); }

private:
    Q_DISABLE_COPY(StepTimer)

    QString m_signature;
    Category m_category;
    QElapsedTimer m_timer;
};
