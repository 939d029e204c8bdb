#pragma once

#include "projectloader.h"

#include <QVariantList>

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

    // The reader's line-end convention for the file, from how its header
    // line ends: LF alone, CR alone, or CR LF (also when the file has none).
    static int detectLineEndConvention(const QString &fileName);

public slots:
    void read();

private:
    QStringList wantedTables() const;
    void collectViews(const xer::XERTable &table);

    QString m_fileName;
    QVariantList m_views;
};
