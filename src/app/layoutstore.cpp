#include "layoutstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Far beyond any real set of layouts; a bigger file is not one of ours.
constexpr qint64 MaxStoreSize = 16 * 1024 * 1024;

} // namespace

LayoutStore::LayoutStore(const QString &path)
    : m_path(path.isEmpty() ? defaultPath() : path)
{
}

QString LayoutStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/layouts.json");
}

LayoutStore::Status LayoutStore::read()
{
    m_entries.clear();
    m_error.clear();
    QFile file(m_path);
    if (!file.exists())
        return m_status = Missing;
    const auto unreadable = [this](const QString &why) {
        m_error = QStringLiteral("The saved layouts in \"%1\" cannot be read: %2.")
                      .arg(QDir::toNativeSeparators(m_path), why);
        m_entries.clear();
        return m_status = Unreadable;
    };
    if (file.size() > MaxStoreSize)
        return unreadable(QStringLiteral("the file is too large"));
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject())
        return unreadable(parseError.error != QJsonParseError::NoError ? parseError.errorString()
                                                                      : QStringLiteral("it holds no layouts"));
    const QJsonObject root = document.object();
    const QJsonValue version = root.value(QStringLiteral("version"));
    if (!version.isDouble() || version.toInt() < 1 || version.toInt() > FormatVersion)
        return unreadable(QStringLiteral("it is of an unknown format version"));
    for (const QJsonValue &value : root.value(QStringLiteral("layouts")).toArray()) {
        const QJsonObject entry = value.toObject();
        const QString name = entry.value(QStringLiteral("name")).toString();
        if (!name.isEmpty() && entry.value(QStringLiteral("layout")).isObject())
            put(name, entry.value(QStringLiteral("layout")).toObject());
    }
    return m_status = Loaded;
}

int LayoutStore::indexOf(const QString &name) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).name == name)
            return i;
    }
    return -1;
}

void LayoutStore::put(const QString &name, const QJsonObject &layout)
{
    const int i = indexOf(name);
    if (i >= 0)
        m_entries[i].layout = layout;
    else
        m_entries.append(Entry{name, layout});
}

bool LayoutStore::write()
{
    if (m_status == Unreadable)
        return false;
    QJsonArray layouts;
    for (const Entry &entry : qAsConst(m_entries))
        layouts.append(QJsonObject{{QStringLiteral("name"), entry.name}, {QStringLiteral("layout"), entry.layout}});
    const QJsonObject root{{QStringLiteral("version"), FormatVersion}, {QStringLiteral("layouts"), layouts}};

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        m_error = QStringLiteral("The layouts cannot be saved in \"%1\": %2.")
                      .arg(QDir::toNativeSeparators(m_path), file.errorString());
        return false;
    }
    m_status = Loaded;
    return true;
}
