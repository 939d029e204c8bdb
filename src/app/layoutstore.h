#pragma once

#include <QJsonObject>
#include <QString>
#include <QVector>

// The layouts the user saved by name, kept in one JSON document in the user's configuration
// folder so they survive restarts and apply to any project. A store that exists but cannot be
// read is never overwritten: it may hold layouts a newer version wrote or the user is mending.
class LayoutStore
{
public:
    struct Entry
    {
        QString name;
        QJsonObject layout;
    };

    enum Status { Missing, Loaded, Unreadable };

    static constexpr int FormatVersion = 1;

    // The default file unless a test names another.
    explicit LayoutStore(const QString &path = QString());

    static QString defaultPath();
    QString path() const { return m_path; }

    Status read();
    Status status() const { return m_status; }
    QString errorText() const { return m_error; }

    const QVector<Entry> &entries() const { return m_entries; }
    int indexOf(const QString &name) const;
    // Replaces a layout of that name in place, or appends it.
    void put(const QString &name, const QJsonObject &layout);
    // False, with errorText() set, when the store was unreadable or the file cannot be written.
    bool write();

private:
    QString m_path;
    Status m_status = Missing;
    QString m_error;
    QVector<Entry> m_entries;
};
