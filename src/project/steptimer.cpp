#include "steptimer.h"

#include <QDebug>
#include <QLoggingCategory>

// QT_LOGGING_RULES="plandeck.timing.*=false" silences these lines.
Q_LOGGING_CATEGORY(lcProjectTiming, "plandeck.timing.project", QtInfoMsg)

StepTimer::StepTimer(const char *signature)
    : m_signature(QString::fromLatin1(signature))
{
    qCInfo(lcProjectTiming).noquote() << m_signature + QStringLiteral(" start");
    m_timer.start();
}

StepTimer::~StepTimer()
{
    qCInfo(lcProjectTiming).noquote() << m_signature + QStringLiteral(" stop: ") + QString::number(m_timer.elapsed());
}
