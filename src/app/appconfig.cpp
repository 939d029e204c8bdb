#include "appconfig.h"

#include <QCoreApplication>
#include <QDir>

#ifndef PLANDECK_UPDATE_URL
#define PLANDECK_UPDATE_URL ""
#endif

const AppConfig &AppConfig::instance()
{
    // A function-local static is initialised once even when threads race to it.
    static const AppConfig config = [] {
        AppConfig made = forApplicationDirectory(QCoreApplication::applicationDirPath());
        const char *const name = "PLANDECK_UPDATE_URL";
        const QByteArray value = qgetenv(name);
        made.updateUrl = updateUrlFrom(qEnvironmentVariableIsSet(name) ? &value : nullptr,
                                       QStringLiteral(PLANDECK_UPDATE_URL));
        return made;
    }();
    return config;
}

QUrl AppConfig::updateUrlFrom(const QByteArray *environmentValue, const QString &buildDefault)
{
    const QString text = environmentValue ? QString::fromLocal8Bit(*environmentValue).trimmed() : buildDefault;
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (text.isEmpty() || !url.isValid() || url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    return url;
}

AppConfig AppConfig::forApplicationDirectory(const QString &directory)
{
    AppConfig config;
    config.applicationDirectory = directory + QDir::separator();
    config.maintenanceTool = config.applicationDirectory + QStringLiteral("maintenancetool");
    return config;
}
