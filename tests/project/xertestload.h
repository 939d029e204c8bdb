#pragma once

#include "xerloader.h"
#include "xertestfile.h"

#include <QDir>
#include <QJsonDocument>
#include <QAbstractItemModel>
#include <memory>

inline QJsonDocument catalogue()
{
    QFile file(QStringLiteral(":/files/schema.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

// A finished load and every signal it emitted, in order.
struct LoadRecord
{
    std::unique_ptr<XERLoader> loader;
    QStringList events;
};

inline LoadRecord load(const QString &path)
{
    LoadRecord record{std::make_unique<XERLoader>(path, catalogue()), {}};
    XERLoader *loader = record.loader.get();
    QStringList *events = &record.events;
    const auto direct = Qt::DirectConnection;
    QObject::connect(loader, &ProjectLoader::started, loader, [events] { events->append("started"); }, direct);
    const auto progress = [events](int percent, const QString &text) {
        events->append(QString("%1 %2").arg(percent).arg(text));
    };
    QObject::connect(loader, &ProjectLoader::progress, loader, progress, direct);
    QObject::connect(loader, &ProjectLoader::finished, loader, [events] { events->append("finished"); }, direct);
    QObject::connect(loader, &ProjectLoader::failed, loader,
                     [events](int code) { events->append(QString("failed %1").arg(code)); }, direct);
    loader->read();
    return record;
}

inline QStringList headerTexts(const QAbstractItemModel *model)
{
    QStringList texts;
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->headerData(c, Qt::Horizontal).toString();
    return texts;
}

// The sample files by their path without the ".crlf.xer" ending; empty where the samples are absent.
inline QStringList sampleBases()
{
    const QDir samples(QStringLiteral(PLANDECK_SAMPLES_DIR));
    QStringList bases;
    for (const QString &file : samples.entryList({"*.crlf.xer"}, QDir::Files, QDir::Name))
        bases << samples.filePath(file.chopped(int(strlen(".crlf.xer"))));
    return bases;
}
