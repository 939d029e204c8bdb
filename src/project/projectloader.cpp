#include "projectloader.h"

#include "projectmodels.h"
#include "steptimer.h"

#include <QAbstractItemModel>
#include <QDebug>
#include <QJsonArray>
#include <QJsonObject>

ProjectLoader::ProjectLoader(QObject *parent)
    : QObject(parent)
{
}

ProjectLoader::~ProjectLoader()
{
    clearModels();
}

bool ProjectLoader::setSchema(const QJsonDocument &catalogue)
{
    const QJsonArray tables = catalogue.object().value(QStringLiteral("tables")).toArray();
    for (const QJsonValue &table : tables) {
        const QJsonObject object = table.toObject();
        m_catalogue.insert(object.value(QStringLiteral("name")).toString(),
                           object.value(QStringLiteral("columns")).toArray().toVariantList());
    }
    return true;
}

void ProjectLoader::closeConnection()
{
}

bool ProjectLoader::createModels()
{
    createPredecessorModel();
    createResourceModel();
    createCodesModel();
    createTaskCodesAssignmentModel();
    createUDFAssignmentModel();
    createActivityModel();
    return true;
}

void ProjectLoader::createPredecessorModel()
{
    StepTimer timer(Q_FUNC_INFO);
    if (QAbstractItemModel *built = ProjectModels::makePredecessorModel(model(QStringLiteral("TASKPRED")),
                                                                        model(QStringLiteral("TASK"))))
        registerModel(QStringLiteral("PredecessorModel"), built);
    setTiming(QStringLiteral("PredecessorModel"), timer.elapsed());
}

void ProjectLoader::createResourceModel()
{
    StepTimer timer(Q_FUNC_INFO);
    if (QAbstractItemModel *built = ProjectModels::makeResourceModel(model(QStringLiteral("TASKRSRC")),
                                                                     model(QStringLiteral("RSRC")))) {
        registerModel(QStringLiteral("ResourceModel"), built);
        qDebug().noquote() << "ProjectLoader::createResourceModel ResModel row:" << built->rowCount()
                           << " col:" << built->columnCount();
    }
    setTiming(QStringLiteral("ResourceModel"), timer.elapsed());
}

void ProjectLoader::createCodesModel()
{
    StepTimer timer(Q_FUNC_INFO);
    QAbstractItemModel *assignments = model(QStringLiteral("TASKACTV"));
    if (!assignments) {
        qDebug() << "ProjectLoader::createCodesModel codesrcmodel is null";
    } else if (QAbstractItemModel *built = ProjectModels::makeCodeModel(assignments, model(QStringLiteral("ACTVCODE")),
                                                                        model(QStringLiteral("ACTVTYPE")))) {
        registerModel(QStringLiteral("CodeModel"), built);
    }
    setTiming(QStringLiteral("CodeModel"), timer.elapsed());
}

void ProjectLoader::createTaskCodesAssignmentModel()
{
    StepTimer timer(Q_FUNC_INFO);
    if (QAbstractItemModel *built = ProjectModels::makeTaskCodesAssignmentModel(
            model(QStringLiteral("TASK")), model(QStringLiteral("ACTVCODE")), model(QStringLiteral("TASKACTV")),
            model(QStringLiteral("ACTVTYPE"))))
        registerModel(QStringLiteral("taskCodesAssignmentModel"), built);
    setTiming(QStringLiteral("taskCodesAssignmentModel"), timer.elapsed());
}

void ProjectLoader::createUDFAssignmentModel()
{
    StepTimer timer(Q_FUNC_INFO);
    if (QAbstractItemModel *built = ProjectModels::makeUdfAssignmentModel(
            model(QStringLiteral("TASK")), model(QStringLiteral("UDFTYPE")), model(QStringLiteral("UDFVALUE"))))
        registerModel(QStringLiteral("userDefinedAssignmentModel"), built);
    setTiming(QStringLiteral("userDefinedAssignmentModel"), timer.elapsed());
}

void ProjectLoader::createActivityModel()
{
    StepTimer timer(Q_FUNC_INFO);
    ProjectModels::ActivityInputs inputs;
    inputs.task = model(QStringLiteral("TASK"));
    inputs.wbs = model(QStringLiteral("PROJWBS"));
    inputs.taskRsrc = model(QStringLiteral("TASKRSRC"));
    inputs.predecessors = model(QStringLiteral("PredecessorModel"));
    inputs.taskPred = model(QStringLiteral("TASKPRED"));
    inputs.taskCodes = model(QStringLiteral("taskCodesAssignmentModel"));
    inputs.userFields = model(QStringLiteral("userDefinedAssignmentModel"));
    if (QAbstractItemModel *built = ProjectModels::makeActivityModel(inputs))
        registerModel(QStringLiteral("ActivityModel"), built);
    setTiming(QStringLiteral("ActivityModel"), timer.elapsed());
}

QString ProjectLoader::hostName() const
{
    return QString();
}

QString ProjectLoader::databaseName() const
{
    return QString();
}

QString ProjectLoader::userName() const
{
    return QString();
}

QString ProjectLoader::connectionDescription() const
{
    return QString();
}

bool ProjectLoader::hasModel(const QString &name) const
{
    return m_models.contains(name);
}

QAbstractItemModel *ProjectLoader::model(const QString &name) const
{
    return m_models.value(name, nullptr);
}

QList<QAbstractItemModel *> ProjectLoader::models() const
{
    return m_models.values();
}

QStringList ProjectLoader::modelNames() const
{
    return m_models.keys();
}

QStringList ProjectLoader::tableNames() const
{
    return m_catalogue.keys();
}

QVariantList ProjectLoader::tableColumns(const QString &table) const
{
    return m_catalogue.value(table);
}

QVariantMap ProjectLoader::timings() const
{
    return m_timings;
}

void ProjectLoader::registerModel(const QString &name, QAbstractItemModel *model)
{
    if (QAbstractItemModel *previous = m_models.value(name, nullptr)) {
        m_registrationOrder.removeAll(name);
        if (previous != model)
            delete previous;
    }
    m_models.insert(name, model);
    m_registrationOrder.append(name);
}

void ProjectLoader::clearModels()
{
    for (auto it = m_registrationOrder.crbegin(); it != m_registrationOrder.crend(); ++it)
        delete m_models.value(*it, nullptr);
    m_models.clear();
    m_registrationOrder.clear();
}

void ProjectLoader::setTiming(const QString &step, qint64 milliseconds)
{
    m_timings.insert(step, milliseconds);
}

void ProjectLoader::clearTimings()
{
    m_timings.clear();
}
