#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One project the user opened lately: a file, or a project read from a
// database connection. Only file entries are added by this program; database
// entries found in the stored list are kept and written back untouched.
struct RecentEntry
{
    enum Type { File = 0, Database = 1 };

    QString file;
    QString conn;
    QString projid;
    QString user;
    QString password; // never stored
    QString name;
    int type = File;

    bool isSameEntry(const RecentEntry &other) const;
};

// The most recently opened projects, most recent first, persisted as
// "mru.config" in the user's configuration folder.
class RecentFiles
{
public:
    static constexpr int Limit = 7;

    const QList<RecentEntry> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }

    void addFile(const QString &file, const QString &connection);
    void add(const RecentEntry &entry);
    // Drops every file entry for the path; returns whether one was there.
    bool removeFile(const QString &file);

    void fromJson(const QByteArray &json);
    QByteArray toJson() const;

    static QString configFilePath();
    void read();
    // The list is a convenience: failing to store it must never bother the user.
    bool write() const;

private:
    QList<RecentEntry> m_entries;
};
