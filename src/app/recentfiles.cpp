#include "recentfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

bool RecentEntry::isSameEntry(const RecentEntry &other) const
{
    if (type != other.type)
        return false;
    if (type == Database)
        return conn == other.conn && projid == other.projid;
    return type == File && file == other.file;
}

void RecentFiles::addFile(const QString &file, const QString &connection)
{
    RecentEntry entry;
    entry.type = RecentEntry::File;
    entry.file = file;
    entry.name = connection;
    add(entry);
}

void RecentFiles::add(const RecentEntry &entry)
{
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&entry](const RecentEntry &e) { return e.isSameEntry(entry); }),
                    m_entries.end());
    m_entries.prepend(entry);
    while (m_entries.size() > Limit)
        m_entries.removeLast();
}

bool RecentFiles::removeFile(const QString &file)
{
    RecentEntry probe;
    probe.file = file;
    const auto oldSize = m_entries.size();
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&probe](const RecentEntry &e) { return e.isSameEntry(probe); }),
                    m_entries.end());
    return m_entries.size() != oldSize;
}

void RecentFiles::fromJson(const QByteArray &json)
{
    m_entries.clear();
    const QJsonArray array = QJsonDocument::fromJson(json).array();
    for (const QJsonValue &value : array) {
        const QJsonObject object = value.toObject();
        RecentEntry entry;
        entry.type = object.value(QStringLiteral("type")).toInt(-1);
        entry.name = object.value(QStringLiteral("name")).toString();
        if (entry.type == RecentEntry::File) {
            entry.file = object.value(QStringLiteral("file")).toString();
        } else if (entry.type == RecentEntry::Database) {
            entry.conn = object.value(QStringLiteral("conn")).toString();
            entry.user = object.value(QStringLiteral("user")).toString();
            entry.projid = object.value(QStringLiteral("projid")).toString();
        } else {
            continue;
        }
        // A repeated entry keeps the place of its first occurrence, so the
        // file's order (most recent first) survives.
        auto same = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&entry](const RecentEntry &e) { return e.isSameEntry(entry); });
        if (same != m_entries.end())
            *same = entry;
        else
            m_entries.append(entry);
    }
    while (m_entries.size() > Limit)
        m_entries.removeLast();
}

QByteArray RecentFiles::toJson() const
{
    QJsonArray array;
    for (const RecentEntry &entry : m_entries) {
        QJsonObject object;
        object.insert(QStringLiteral("type"), entry.type);
        object.insert(QStringLiteral("conn"), entry.conn);
        object.insert(QStringLiteral("file"), entry.file);
        object.insert(QStringLiteral("user"), entry.user);
        object.insert(QStringLiteral("projid"), entry.projid);
        object.insert(QStringLiteral("name"), entry.name);
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QString RecentFiles::configFilePath()
{
    return QStringLiteral("%1/mru.config")
        .arg(QStandardPaths::writableLocation(QStandardPaths::ConfigLocation));
}

void RecentFiles::read()
{
    m_entries.clear();
    QFile file(configFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return;
    fromJson(file.readAll());
}

bool RecentFiles::write() const
{
    const QString path = configFilePath();
    // On a fresh account the configuration folder may not exist yet; without
    // it the list would silently never be kept.
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Written through a temporary file so a crash mid-write cannot leave a
    // truncated list behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toJson());
    return file.commit();
}
