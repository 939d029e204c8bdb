#pragma once

#include <QString>
#include <QUrl>

// Addresses and paths the program takes from its build and its environment.
// The instance is made once, on first use, and never changes afterwards;
// other values exist only where a caller builds one on purpose (tests).
struct AppConfig
{
    // Where the update document lives; empty turns the update check off.
    QUrl updateUrl;
    // A server that accepts the connection and then says nothing must not
    // keep the check alive for the rest of the session.
    int updateTimeoutMs = 30000;
    // Ends with a separator, so file names can be appended directly.
    QString applicationDirectory;
    QString maintenanceTool;

    static const AppConfig &instance();

    // PLANDECK_UPDATE_URL, when set, replaces the build's update address;
    // set but empty, it turns the check off. Only http and https addresses
    // are taken: anything else would make the check read local files.
    static QUrl updateUrlFrom(const QByteArray *environmentValue, const QString &buildDefault);

    static AppConfig forApplicationDirectory(const QString &directory);
};
