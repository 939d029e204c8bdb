#pragma once

#include "projectloader.h"

#include <QStringList>
#include <QVariantList>

#include <atomic>

class XerTableStream;

namespace xer {
class XERFile;
class XERTable;
}

// Loads an XER file: runs the reader on the calling (worker) thread, fills
// one container per catalogued table, collects the stored views and builds
// the derived models. Ends with finished(), or with failed() when the file
// cannot be read at all.
class XERLoader : public ProjectLoader
{
    Q_OBJECT
public:
    XERLoader(const QString &fileName, const QJsonDocument &catalogue, QObject *parent = nullptr);
    ~XERLoader() override;

    QString loaderName() const override;
    QString fileName() const { return m_fileName; }

    // Each entry is a QVariantMap with "VIEW_ID", "VIEW_NAME" and "VIEW_DATA".
    QVariantList views() const { return m_views; }

    // What the user should know of a file that loaded but is not what it
    // seems (cut short, no activities, a table twice, records that do not
    // fit their field names), one sentence each; set before finished().
    QStringList warnings() const { return m_warnings; }

    // Stops a running or pending read(), which then ends with
    // failed(xer::Cancelled) at its next step. Safe from any thread.
    void cancel() { m_cancelled = true; }
    void closeConnection() override { cancel(); }

    // The sentence that tells the user why `path` did not load.
    static QString failureText(int errorCode, const QString &path);

    // The reader's line-end convention for the file, from how its header
    // line ends: LF alone, CR alone, or CR LF (also when the file has none).
    static int detectLineEndConvention(const QString &fileName);

public slots:
    void read();

private:
    QStringList wantedTables() const;
    void collectViews(const xer::XERTable &table);
    void collectWarnings(const xer::XERFile &reader, const XerTableStream *stream);
    bool stopIfCancelled();

    QString m_fileName;
    QVariantList m_views;
    QStringList m_warnings;
    std::atomic<bool> m_cancelled{false};
};
