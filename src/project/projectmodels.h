#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

class QAbstractItemModel;
class ValueTableModel;

// The builders of the derived project models. Each takes the models it
// reads and returns a new model that the caller owns, or null when a
// required input is missing. Table models are addressed by catalogue column
// positions; computed values are written into the "TASK" model.
namespace ProjectModels {

QAbstractItemModel *makePredecessorModel(QAbstractItemModel *taskPred, QAbstractItemModel *task);
QAbstractItemModel *makeResourceModel(QAbstractItemModel *taskRsrc, QAbstractItemModel *rsrc);
QAbstractItemModel *makeCodeModel(QAbstractItemModel *taskActv, QAbstractItemModel *actvCode,
                                  QAbstractItemModel *actvType);
QAbstractItemModel *makeTaskCodesAssignmentModel(QAbstractItemModel *task, QAbstractItemModel *actvCode,
                                                 QAbstractItemModel *taskActv, QAbstractItemModel *actvType);
QAbstractItemModel *makeUdfAssignmentModel(QAbstractItemModel *task, QAbstractItemModel *udfType,
                                           QAbstractItemModel *udfValue);

struct ActivityInputs
{
    QAbstractItemModel *task = nullptr;
    QAbstractItemModel *wbs = nullptr;
    QAbstractItemModel *taskRsrc = nullptr;
    QAbstractItemModel *predecessors = nullptr;
    QAbstractItemModel *taskPred = nullptr;
    QAbstractItemModel *taskCodes = nullptr;
    QAbstractItemModel *userFields = nullptr;
};
QAbstractItemModel *makeActivityModel(const ActivityInputs &inputs);

// makeActivityModel() in two halves, so that a caller can build the pivots
// meanwhile. The first writes the computed columns into the "TASK" model,
// reading only it and the relationship inputs, and returns the row keys
// (owned by the caller until joined); the second joins every input onto them.
ValueTableModel *writeActivityColumns(const ActivityInputs &inputs);
QAbstractItemModel *joinActivityModel(const ActivityInputs &inputs, ValueTableModel *rowKeys);

// "Milestone", "Task", "Level of Effort" or empty, from a P6 type code.
QString activityTypeName(const QString &typeCode);

// "FS", "SS-4h", "FF+8h" from a relationship type ("PR_FS") and a lag in
// hours; the lag is rounded to the nearest whole hour, halves away from zero.
QString relationshipText(const QVariant &type, const QVariant &lagHours);

// The dates of one activity that its shown start and finish come from.
struct ActivityDateFields
{
    QString status;
    QDateTime actualStart;
    QDateTime actualFinish;
    QDateTime remainingStart;
    QDateTime remainingFinish;
    QDateTime earlyStart;
    QDateTime earlyFinish;
    QDateTime plannedStart;
    QDateTime plannedFinish;
};

struct ActivityDates
{
    QDateTime start;
    QDateTime finish;
};

// Start and finish as the schedule states them: actual dates where the
// activity has them, otherwise the dates of the last scheduling run
// (remaining early, then early), and the planned dates only where the file
// carries nothing newer. Constraint dates never enter: the scheduler has
// already applied them, and a constraint the schedule could not meet would
// otherwise show a finish before the start.
ActivityDates activityDates(const ActivityDateFields &fields);

} // namespace ProjectModels
