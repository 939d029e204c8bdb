#include "steptimer.h"

#include <QDebug>

StepTimer::StepTimer(const char *signature)
    : m_signature(QString::fromLatin1(signature))
{
    qInfo().noquote() << m_signature + QStringLiteral(" start");
    m_timer.start();
}

StepTimer::~StepTimer()
{
    qInfo().noquote() << m_signature + QStringLiteral(" stop: ") + QString::number(m_timer.elapsed());
}
