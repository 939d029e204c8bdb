#pragma once

#include <QJsonDocument>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class QAbstractItemModel;

// Turns one schedule source into the item models the views show. The loader
// owns every model it registers and deletes them with itself; it also holds
// the table catalogue (table name -> column descriptors) that the containers
// take their columns from.
class ProjectLoader : public QObject
{
    Q_OBJECT
public:
    explicit ProjectLoader(QObject *parent = nullptr);
    ~ProjectLoader() override;

    virtual bool setSchema(const QJsonDocument &catalogue);
    // Releases whatever connection a loader keeps to its source; a file
    // loader keeps none.
    virtual void closeConnection();
    virtual bool createModels();
    virtual void createPredecessorModel();
    virtual void createResourceModel();
    virtual void createCodesModel();
    virtual void createTaskCodesAssignmentModel();
    virtual void createUDFAssignmentModel();
    virtual void createActivityModel();
    virtual QString loaderName() const = 0;
    virtual QString hostName() const;
    virtual QString databaseName() const;
    virtual QString userName() const;
    virtual QString connectionDescription() const;
    virtual bool hasModel(const QString &name) const;
    virtual QAbstractItemModel *model(const QString &name) const;
    virtual QList<QAbstractItemModel *> models() const;

    QStringList modelNames() const;
    QStringList tableNames() const;
    QVariantList tableColumns(const QString &table) const;

    // Milliseconds spent per step of the last load, by step name ("read",
    // "tables", one entry per derived model, "total").
    QVariantMap timings() const;

signals:
    void started();
    void progress(int percent, const QString &text);
    void finished();
    // The load stopped before any model was made; `errorCode` is the
    // reader's xer::ErrorCode.
    void failed(int errorCode);

protected:
    // Takes ownership; a model already registered under the name is deleted.
    void registerModel(const QString &name, QAbstractItemModel *model);
    // Deletes every registered model, the derived ones first.
    void clearModels();
    void setTiming(const QString &step, qint64 milliseconds);
    void clearTimings();

private:
    QMap<QString, QAbstractItemModel *> m_models;
    // Registration order: derived models refer to the table models, so they
    // are deleted before them.
    QStringList m_registrationOrder;
    QMap<QString, QVariantList> m_catalogue;
    QVariantMap m_timings;
};
