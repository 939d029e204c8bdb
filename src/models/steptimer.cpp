#include "steptimer.h"

#include <QDebug>

// QT_LOGGING_RULES="plandeck.timing.*=false" silences these lines.
Q_LOGGING_CATEGORY(lcProjectTiming, "plandeck.timing.project", QtInfoMsg)

StepTimer::StepTimer(const char *signature, Category category)
    : m_signature(QString::fromLatin1(signature))
    , m_category(category)
{
    qCInfo(m_category).noquote() << m_signature + QStringLiteral(" start");
    m_timer.start();
}

StepTimer::~StepTimer()
{
    qCInfo(m_category).noquote() << m_signature + QStringLiteral(" stop: ") + QString::number(m_timer.elapsed());
}
