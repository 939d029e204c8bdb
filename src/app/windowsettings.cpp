#include "windowsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QWidget>

namespace {

const QString GeometryKey = QStringLiteral("window/geometry");
const QString SplittersGroup = QStringLiteral("splitters");
const QString TimeBandsKey = QStringLiteral("window/timeBands");
const QString LastFolderKey = QStringLiteral("files/lastFolder");

} // namespace

QString WindowSettings::filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + QStringLiteral("/plandeck.conf");
}

WindowSettings WindowSettings::read()
{
    WindowSettings stored;
    const QSettings settings(filePath(), QSettings::IniFormat);
    stored.geometry = settings.value(GeometryKey).toByteArray();
    for (const QString &key : settings.allKeys()) {
        if (key.startsWith(SplittersGroup + QLatin1Char('/')))
            stored.splitters.insert(key.mid(SplittersGroup.size() + 1), settings.value(key).toByteArray());
    }
    for (const QVariant &band : settings.value(TimeBandsKey).toList()) {
        bool ok = false;
        const int unit = band.toInt(&ok);
        if (ok)
            stored.timeBands.append(unit);
    }
    stored.lastFolder = settings.value(LastFolderKey).toString();
    return stored;
}

bool WindowSettings::write() const
{
    QDir().mkpath(QFileInfo(filePath()).absolutePath());
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue(GeometryKey, geometry);
    settings.remove(SplittersGroup);
    for (auto it = splitters.cbegin(); it != splitters.cend(); ++it)
        settings.setValue(SplittersGroup + QLatin1Char('/') + it.key(), it.value());
    QVariantList bands;
    for (int unit : timeBands)
        bands.append(unit);
    settings.setValue(TimeBandsKey, bands);
    settings.setValue(LastFolderKey, lastFolder);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

void WindowSettings::takeLayoutFrom(const QWidget &window)
{
    geometry = window.saveGeometry();
    splitters.clear();
    for (const QSplitter *splitter : window.findChildren<QSplitter *>()) {
        if (!splitter->objectName().isEmpty())
            splitters.insert(splitter->objectName(), splitter->saveState());
    }
}

void WindowSettings::applyLayoutTo(QWidget &window) const
{
    // Both restore calls refuse data they cannot read, which leaves the defaults.
    if (!geometry.isEmpty())
        window.restoreGeometry(geometry);
    for (QSplitter *splitter : window.findChildren<QSplitter *>()) {
        const auto stored = splitters.constFind(splitter->objectName());
        if (!splitter->objectName().isEmpty() && stored != splitters.cend())
            splitter->restoreState(stored.value());
    }
}
