#include "projectmodels.h"

#include "basecontainermodel.h"
#include "icontainer.h"
#include "pdvariantorder.h"
#include "pdjoinproxymodel.h"
#include "pdmodelutils.h"
#include "valuetablemodel.h"

#include <QHash>
#include <QMap>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Catalogue positions the joins rely on.
namespace Task {
const int taskId = 0;
const int wbsId = 2;
const int activityId = 5;
const int activityName = 6;
}
namespace Wbs {
const int wbsId = 0;
const int code = 2;
const int name = 3;
}
namespace TaskPred {
const int taskId = 0;
const int predTaskId = 1;
}
namespace Rsrc {
const int rsrcId = 0;
const int type = 2;
const int code = 3;
const int name = 4;
}
namespace ActvCode {
const int codeId = 0;
const int shortName = 3;
const int codeName = 5;
}
namespace ActvType {
const int typeId = 0;
const int name = 3;
const int scope = 4;
}
namespace TaskActv {
const int taskId = 0;
const int typeId = 1;
const int codeId = 2;
}
namespace UdfType {
const int typeId = 0;
const int tableName = 1;
const int label = 3;
}
namespace UdfValue {
const int typeId = 0;
const int fkId = 1;
const int date = 3;
const int text = 4;
const int number = 5;
}

// The loader's table models are read straight from their container: a model
// index and four more virtual calls a cell add up over the millions of cells
// the derived models read. Out of range gives no value either way.
QVariant cell(const QAbstractItemModel *model, int row, int column)
{
    if (model->metaObject() == &BaseContainerModel::staticMetaObject) {
        const IContainer *table = static_cast<const BaseContainerModel *>(model)->containerData();
        return table ? table->data(row, column) : QVariant();
    }
    return model->data(model->index(row, column));
}

// The hash key of an id, or noId for an id that is not a whole number (the
// loader keeps malformed ids as their text). toLongLong() would read every
// such id as 0, so that all of them, and a real 0, named one record.
const qlonglong noId = std::numeric_limits<qlonglong>::min();

qlonglong idKey(const QVariant &id)
{
    switch (id.userType()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return id.toLongLong();
    case QMetaType::Double: {
        const double value = id.toDouble();
        return std::isfinite(value) && std::trunc(value) == value && std::fabs(value) < 9e15 ? qlonglong(value) : noId;
    }
    default:
        return noId;
    }
}

// Ids are integers in every table; a hash on them replaces the per-row
// searches a lookup by value would need.
template<typename Value>
QHash<qlonglong, Value> hashByKey(const QAbstractItemModel *model, int keyColumn, int valueColumn, bool firstWins)
{
    QHash<qlonglong, Value> hash;
    const int rows = model->rowCount();
    hash.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        const qlonglong key = idKey(cell(model, r, keyColumn));
        if (key == noId || (firstWins && hash.contains(key)))
            continue;
        if constexpr (std::is_same_v<Value, int>)
            hash.insert(key, r);
        else
            hash.insert(key, cell(model, r, valueColumn));
    }
    return hash;
}

// The row of each id of one column. Ids are usually numbered densely, and
// then a plain array indexed by id answers without the cache misses of a
// node hash, which the pivots and predecessor lists pay a million times;
// scattered ids fall back to the hash.
class RowsById
{
public:
    RowsById(const QAbstractItemModel *model, int keyColumn, bool firstWins)
    {
        const int rows = model->rowCount();
        std::vector<qlonglong> keys(std::size_t(rows), noId);
        qlonglong low = std::numeric_limits<qlonglong>::max();
        qlonglong high = std::numeric_limits<qlonglong>::min();
        int count = 0;
        for (int r = 0; r < rows; ++r) {
            const qlonglong key = idKey(cell(model, r, keyColumn));
            keys[std::size_t(r)] = key;
            if (key == noId)
                continue;
            low = std::min(low, key);
            high = std::max(high, key);
            ++count;
        }
        // Bounded, so that a few huge ids cannot ask for a huge array.
        m_dense = count > 0 && quint64(high) - quint64(low) < quint64(4) * quint64(count) + 1024;
        if (m_dense) {
            m_low = low;
            m_rows.assign(std::size_t(high - low + 1), -1);
        } else {
            m_hash.reserve(count);
        }
        for (int r = 0; r < rows; ++r) {
            const qlonglong key = keys[std::size_t(r)];
            if (key == noId)
                continue;
            if (m_dense) {
                int &row = m_rows[std::size_t(key - low)];
                if (!firstWins || row < 0)
                    row = r;
            } else if (!firstWins || !m_hash.contains(key)) {
                m_hash.insert(key, r);
            }
        }
    }

    // The row of `key`, or -1.
    int row(qlonglong key) const
    {
        if (key == noId)
            return -1;
        if (m_dense) {
            const quint64 at = quint64(key) - quint64(m_low);
            return at < m_rows.size() ? m_rows[std::size_t(at)] : -1;
        }
        return m_hash.value(key, -1);
    }

private:
    bool m_dense = false;
    qlonglong m_low = 0;
    std::vector<int> m_rows;
    QHash<qlonglong, int> m_hash;
};

// The rows of each key of one column, keys in the grouping order and rows
// ascending. A grouping index would do the same, but it keeps each key's rows
// in a hash set, and half a million assignments made the pivots spend most
// of their time inserting, walking and freeing set nodes.
QMap<QVariant, std::vector<int>> rowsByKey(const QAbstractItemModel *model, int column)
{
    using Map = QMap<QVariant, std::vector<int>>;
    Map map;
    // Whole-number keys find their entry by value; every other key, and the
    // first sight of a number, goes through the map's own ordering, so keys
    // it holds equal still share one entry.
    QHash<qlonglong, Map::iterator> byInteger;
    const int rows = model->rowCount();
    for (int r = 0; r < rows; ++r) {
        const QVariant key = cell(model, r, column);
        if (!key.isValid())
            continue;
        const bool integral = key.userType() == QMetaType::Int || key.userType() == QMetaType::LongLong;
        Map::iterator entry;
        const auto known = integral ? byInteger.constFind(key.toLongLong()) : byInteger.constEnd();
        if (known != byInteger.constEnd()) {
            entry = *known;
        } else {
            entry = map.find(key);
            if (entry == map.end())
                entry = map.insert(key, {});
            if (integral)
                byInteger.insert(key.toLongLong(), entry);
        }
        entry->push_back(r);
    }
    return map;
}

ValueTableModel *makePivot(const QAbstractItemModel *task, int columns)
{
    auto *pivot = new ValueTableModel(task->rowCount(), columns + 1);
    pivot->setHeaderData(0, Qt::Horizontal, QStringLiteral("task_id"));
    for (int r = 0; r < task->rowCount(); ++r)
        pivot->setCell(r, 0, cell(task, r, Task::taskId));
    return pivot;
}

QList<int> columnRange(int first, int last)
{
    QList<int> columns;
    for (int c = first; c <= last; ++c)
        columns.append(c);
    return columns;
}

void writeActivityTypes(QAbstractItemModel *task)
{
    const int column = columnByName(task, QStringLiteral("Activity Type"));
    if (column < 0)
        return;
    for (int r = 0; r < task->rowCount(); ++r) {
        const QModelIndex index = task->index(r, column);
        task->setData(index, ProjectModels::activityTypeName(index.data().toString()), Qt::DisplayRole);
    }
}

void writeDatesAndIds(QAbstractItemModel *task, ValueTableModel *rowKeys)
{
    const auto column = [task](const char *header) { return columnByName(task, QLatin1String(header)); };
    const int status = column("Activity status");
    const int actualStart = column("Actual Start");
    const int actualFinish = column("Actual Finish");
    const int remainingStart = column("Remaining start");
    const int remainingFinish = column("Remaining finish");
    const int earlyStart = column("Early start date");
    const int earlyFinish = column("Early finish date");
    const int plannedStart = column("Planned start date");
    const int plannedFinish = column("Planned finish date");
    const int start = column("Start Date");
    const int finish = column("Finish Date");
    const bool haveDates = start >= 0 && finish >= 0;

    auto date = [task](int row, int column) { return cell(task, row, column).toDateTime(); };
    auto orNull = [](const QDateTime &value) { return value.isValid() ? QVariant(value) : QVariant(); };

    for (int r = 0; r < task->rowCount(); ++r) {
        rowKeys->setCell(r, 0, cell(task, r, Task::taskId));
        if (!haveDates)
            continue;
        const ProjectModels::ActivityDates dates = ProjectModels::activityDates(
            {cell(task, r, status).toString(), date(r, actualStart), date(r, actualFinish), date(r, remainingStart),
             date(r, remainingFinish), date(r, earlyStart), date(r, earlyFinish), date(r, plannedStart),
             date(r, plannedFinish)});
        task->setData(task->index(r, start), orNull(dates.start), Qt::DisplayRole);
        task->setData(task->index(r, finish), orNull(dates.finish), Qt::DisplayRole);
    }
}

// Reads the relationships straight from their table and names each
// predecessor by its row in the activities, which gives the ids the
// predecessor model joins in without a join lookup per relationship. One
// flat list sorted once, instead of a list per successor, spares a few
// hundred thousand allocations on a large schedule.
void writePredecessorLists(QAbstractItemModel *task, const QAbstractItemModel *taskPred)
{
    const int listColumn = columnByName(task, QStringLiteral("Predecessors"));
    const int detailsColumn = columnByName(task, QStringLiteral("Predecessors Details"));
    const int typeColumn = columnByName(taskPred, QStringLiteral("Type"));
    const int lagColumn = columnByName(taskPred, QStringLiteral("Lag"));
    if (listColumn < 0 || detailsColumn < 0)
        return;

    const int taskCount = task->rowCount();
    std::vector<QString> activityIds(static_cast<std::size_t>(taskCount));
    std::vector<bool> hasActivityId(static_cast<std::size_t>(taskCount));
    for (int r = 0; r < taskCount; ++r) {
        const QVariant id = cell(task, r, Task::activityId);
        hasActivityId[std::size_t(r)] = id.isValid();
        activityIds[std::size_t(r)] = id.toString();
    }
    const RowsById taskRows(task, Task::taskId, false);

    struct Link
    {
        qlonglong successor;
        int predecessorRow; // in the activities
        int row;            // in the relationships
    };
    std::vector<Link> links;
    links.reserve(std::size_t(taskPred->rowCount()));
    for (int r = 0; r < taskPred->rowCount(); ++r) {
        const qlonglong successor = idKey(cell(taskPred, r, TaskPred::taskId));
        const int predecessor = taskRows.row(idKey(cell(taskPred, r, TaskPred::predTaskId)));
        // A predecessor in another project is not in the file; naming it by
        // an empty id would leave a hole in the list.
        if (successor == noId || predecessor < 0 || !hasActivityId[std::size_t(predecessor)])
            continue;
        links.push_back({successor, predecessor, r});
    }
    // Stable, so that several links to one predecessor keep file order.
    // By successor first, then each successor's few links by predecessor id:
    // the same order as one sort by both, without comparing ids across the
    // whole list.
    std::stable_sort(links.begin(), links.end(),
                     [](const Link &a, const Link &b) { return a.successor < b.successor; });
    const auto byActivityId = [&activityIds](const Link &a, const Link &b) {
        return activityIds[std::size_t(a.predecessorRow)] < activityIds[std::size_t(b.predecessorRow)];
    };
    for (auto first = links.begin(); first != links.end();) {
        auto last = first + 1;
        while (last != links.end() && last->successor == first->successor)
            ++last;
        if (last - first > 1)
            std::stable_sort(first, last, byActivityId);
        first = last;
    }

    // A schedule has a handful of relationship types and lags; each text is
    // made once.
    QHash<QPair<QString, quint64>, QString> relationshipTexts;
    const auto relationship = [&](int row) -> const QString & {
        const QVariant type = cell(taskPred, row, typeColumn);
        const QVariant lag = cell(taskPred, row, lagColumn);
        const double hours = lag.toDouble();
        quint64 bits = 0;
        std::memcpy(&bits, &hours, sizeof bits);
        const QPair<QString, quint64> key(type.toString(), bits);
        auto found = relationshipTexts.find(key);
        if (found == relationshipTexts.end())
            found = relationshipTexts.insert(key, ProjectModels::relationshipText(type, lag));
        return *found;
    };

    // The texts are put together in two buffers that keep their room, and
    // each is kept as an exact copy: grown piece by piece, 400,000 kept
    // strings would hold tens of megabytes of spare room and freed pieces.
    QString list;
    QString details;
    const auto exactCopy = [](const QString &text) {
        return text.isEmpty() ? QString() : QString(text.constData(), text.size());
    };
    for (int r = 0; r < taskCount; ++r) {
        list.truncate(0);
        details.truncate(0);
        const qlonglong taskId = idKey(cell(task, r, Task::taskId));
        const auto bySuccessor = [](const Link &link, qlonglong key) { return link.successor < key; };
        auto it = taskId != noId ? std::lower_bound(links.cbegin(), links.cend(), taskId, bySuccessor) : links.cend();
        // An SS and an FF link to one activity are two relationships but one
        // predecessor: the list names it once, the details keep both.
        const QString *previous = nullptr;
        for (; it != links.cend() && it->successor == taskId; ++it) {
            const QString &id = activityIds[std::size_t(it->predecessorRow)];
            if (!details.isEmpty())
                details += QLatin1String(", ");
            if (!previous || *previous != id) {
                if (!list.isEmpty())
                    list += QLatin1String(", ");
                list += id;
            }
            previous = &id;
            details += id;
            details += QLatin1Char(':');
            details += relationship(it->row);
        }
        task->setData(task->index(r, listColumn), exactCopy(list), Qt::DisplayRole);
        task->setData(task->index(r, detailsColumn), exactCopy(details), Qt::DisplayRole);
    }
}

QVariantMap descriptor(const QString &id, const QString &display, const QString &datatype, const QString &group)
{
    return {{QStringLiteral("id"), id},
            {QStringLiteral("display"), display},
            {QStringLiteral("datatype"), datatype},
            {QStringLiteral("group"), group}};
}

} // namespace

namespace ProjectModels {

QAbstractItemModel *makePredecessorModel(QAbstractItemModel *taskPred, QAbstractItemModel *task)
{
    if (!taskPred || !task)
        return nullptr;
    auto *join = new PdJoinProxyModel;
    join->setSourceModel(taskPred);
    join->addMapping(task, Task::taskId, {Task::activityId, Task::activityName}, TaskPred::taskId);
    join->addMapping(task, Task::taskId, {Task::activityId, Task::activityName}, TaskPred::predTaskId);
    join->setObjectName(QStringLiteral("predecessorModel"));
    return join;
}

QAbstractItemModel *makeResourceModel(QAbstractItemModel *taskRsrc, QAbstractItemModel *rsrc)
{
    if (!taskRsrc || !rsrc)
        return nullptr;
    auto *join = new PdJoinProxyModel;
    join->setSourceModel(taskRsrc);
    join->addMapping(rsrc, Rsrc::rsrcId, {Rsrc::type, Rsrc::code, Rsrc::name},
                     columnByName(taskRsrc, QStringLiteral("rsrc_id")));
    join->setObjectName(QStringLiteral("ResourceModel"));
    return join;
}

QAbstractItemModel *makeCodeModel(QAbstractItemModel *taskActv, QAbstractItemModel *actvCode,
                                  QAbstractItemModel *actvType)
{
    if (!taskActv || !actvCode || !actvType)
        return nullptr;
    auto *join = new PdJoinProxyModel;
    join->setSourceModel(taskActv);
    join->addMapping(actvCode, ActvCode::codeId, {ActvCode::shortName, ActvCode::codeName}, TaskActv::codeId);
    join->addMapping(actvType, ActvType::typeId, {ActvType::name, ActvType::scope}, TaskActv::typeId);
    join->setObjectName(QStringLiteral("CodeModel"));
    return join;
}

QAbstractItemModel *makeTaskCodesAssignmentModel(QAbstractItemModel *task, QAbstractItemModel *actvCode,
                                                 QAbstractItemModel *taskActv, QAbstractItemModel *actvType)
{
    if (!task || !actvCode || !taskActv || !actvType)
        return nullptr;

    const QMap<QVariant, std::vector<int>> byType =
        rowsByKey(taskActv, columnByName(taskActv, QStringLiteral("actv_code_type_id")));

    const QHash<qlonglong, QVariant> typeNames = hashByKey<QVariant>(actvType, ActvType::typeId, ActvType::name, false);
    const QHash<qlonglong, QVariant> codeNames = hashByKey<QVariant>(actvCode, ActvCode::codeId, ActvCode::codeName, false);
    const RowsById taskRows(task, Task::taskId, true);

    ValueTableModel *pivot = makePivot(task, byType.size());
    int column = 1;
    for (auto it = byType.cbegin(); it != byType.cend(); ++it, ++column) {
        const QString name = typeNames.value(idKey(it.key())).toString();
        pivot->setHeaderData(column, Qt::Horizontal, name, Qt::DisplayRole);
        pivot->setHeaderData(column, Qt::Horizontal, QStringLiteral("Activity Codes"), Qt::UserRole + 1);
        pivot->setHeaderData(column, Qt::Horizontal,
                             QVariantMap{{QStringLiteral("id"), 117},
                                         {QStringLiteral("display"), name},
                                         {QStringLiteral("group"), name},
                                         {QStringLiteral("datatype"), QStringLiteral("string")},
                                         {QStringLiteral("structure"), false}},
                             Qt::UserRole + 2);
        // In file order, so that the cells of one column are filled in a stable order.
        for (int assignment : *it) {
            const int taskRow = taskRows.row(idKey(cell(taskActv, assignment, TaskActv::taskId)));
            if (taskRow < 0)
                continue;
            const QVariant codeId = cell(taskActv, assignment, TaskActv::codeId);
            pivot->setCell(taskRow, column, codeNames.value(idKey(codeId)), codeId);
        }
    }
    pivot->setObjectName(QStringLiteral("taskCodesAssignmentModel"));
    return pivot;
}

QAbstractItemModel *makeUdfAssignmentModel(QAbstractItemModel *task, QAbstractItemModel *udfType,
                                           QAbstractItemModel *udfValue)
{
    if (!task || !udfType || !udfValue)
        return nullptr;

    const QMap<QVariant, std::vector<int>> byType = rowsByKey(udfValue, UdfValue::typeId);

    // Field types of other tables (resources, projects) keep the id of a
    // resource or project in fk_id; read as a task_id it would put their
    // values on unrelated activities.
    const QHash<qlonglong, QVariant> tables = hashByKey<QVariant>(udfType, UdfType::typeId, UdfType::tableName, false);
    auto isActivityField = [&tables](const QVariant &typeId) {
        const QString table = tables.value(idKey(typeId)).toString();
        return table.isEmpty() || table == QLatin1String("TASK");
    };
    int fieldTypes = 0;
    for (auto it = byType.cbegin(); it != byType.cend(); ++it)
        fieldTypes += isActivityField(it.key()) ? 1 : 0;

    const QHash<qlonglong, QVariant> labels = hashByKey<QVariant>(udfType, UdfType::typeId, UdfType::label, false);
    const RowsById taskRows(task, Task::taskId, true);

    ValueTableModel *pivot = makePivot(task, fieldTypes);
    int column = 1;
    for (auto it = byType.cbegin(); it != byType.cend(); ++it) {
        if (!isActivityField(it.key()))
            continue;
        pivot->setHeaderData(column, Qt::Horizontal, labels.value(idKey(it.key())), Qt::DisplayRole);
        pivot->setHeaderData(column, Qt::Horizontal, QStringLiteral("User Defined"), Qt::UserRole + 1);
        for (int valueRow : *it) {
            const int taskRow = taskRows.row(idKey(cell(udfValue, valueRow, UdfValue::fkId)));
            if (taskRow < 0)
                continue;
            QVariant value = cell(udfValue, valueRow, UdfValue::date);
            if (!value.isValid())
                value = cell(udfValue, valueRow, UdfValue::text);
            if (!value.isValid())
                value = cell(udfValue, valueRow, UdfValue::number);
            pivot->setCell(taskRow, column, value, it.key());
        }
        ++column;
    }
    pivot->setObjectName(QStringLiteral("userDefinedAssignmentModel"));
    return pivot;
}

QAbstractItemModel *makeActivityModel(const ActivityInputs &inputs)
{
    return joinActivityModel(inputs, writeActivityColumns(inputs));
}

ValueTableModel *writeActivityColumns(const ActivityInputs &inputs)
{
    QAbstractItemModel *task = inputs.task;
    if (!task)
        return nullptr;

    auto *rowKeys = new ValueTableModel(task->rowCount(), 3);
    const QString system = QStringLiteral("system");
    const QString integer = QStringLiteral("integer");
    const QVariantMap headers[] = {descriptor(QStringLiteral("id"), QStringLiteral("ID"), integer, system),
                                   descriptor(QStringLiteral("parentID"), QStringLiteral("parentID"), integer, system),
                                   descriptor(QStringLiteral("Group"), QStringLiteral("Group"), integer, system)};
    for (int c = 0; c < 3; ++c) {
        rowKeys->setHeaderData(c, Qt::Horizontal, headers[c].value(QStringLiteral("display")), Qt::DisplayRole);
        rowKeys->setHeaderData(c, Qt::Horizontal, system, Qt::UserRole + 1);
        rowKeys->setHeaderData(c, Qt::Horizontal, headers[c], Qt::UserRole + 2);
    }

    // The predecessor lists write other columns than the types and dates,
    // and a container keeps each column apart, so for a container's model
    // both run at once. The lists stay on this thread: their strings, kept
    // for the project's life, then share the heap of the other models
    // rather than leave a second one part-used.
    const bool lists = inputs.predecessors && inputs.taskPred;
    const bool apart = qobject_cast<BaseContainerModel *>(task) && QThread::idealThreadCount() > 1;
    const auto typesAndDates = [task, rowKeys] {
        writeActivityTypes(task);
        writeDatesAndIds(task, rowKeys);
    };
    QThreadPool helper;
    helper.setMaxThreadCount(1);
    QFuture<void> written;
    if (apart)
        written = QtConcurrent::run(&helper, typesAndDates);
    else
        typesAndDates();
    if (lists)
        writePredecessorLists(task, inputs.taskPred);
    written.waitForFinished();
    return rowKeys;
}

QAbstractItemModel *joinActivityModel(const ActivityInputs &inputs, ValueTableModel *rowKeys)
{
    QAbstractItemModel *task = inputs.task;
    if (!task || !rowKeys) {
        delete rowKeys;
        return nullptr;
    }
    auto *join = new PdJoinProxyModel;
    join->setSourceModel(rowKeys);
    rowKeys->setParent(join);
    join->addModel(task, Task::taskId, 0);
    if (inputs.wbs)
        join->addMapping(inputs.wbs, Wbs::wbsId, {Wbs::code, Wbs::name}, 3 + Task::wbsId);
    if (inputs.taskRsrc)
        join->addModel(inputs.taskRsrc, 0, 0);
    // A pivot without code or field types adds no column; joining it would
    // only cost a row map.
    if (inputs.taskCodes && inputs.taskCodes->columnCount() > 1)
        join->addMapping(inputs.taskCodes, 0, columnRange(1, inputs.taskCodes->columnCount() - 1), 0);
    if (inputs.userFields && inputs.userFields->columnCount() > 1)
        join->addMapping(inputs.userFields, 0, columnRange(1, inputs.userFields->columnCount() - 1), 0);
    join->setObjectName(QStringLiteral("ActivityModel"));
    return join;
}

QString activityTypeName(const QString &typeCode)
{
    if (typeCode.contains(QLatin1String("Mile")))
        return QStringLiteral("Milestone");
    if (typeCode.contains(QLatin1String("Task")))
        return QStringLiteral("Task");
    if (typeCode.contains(QLatin1String("LOE")))
        return QStringLiteral("Level of Effort");
    if (typeCode.contains(QLatin1String("Rsrc")))
        return QStringLiteral("Resource Dependent");
    if (typeCode.contains(QLatin1String("WBS")))
        return QStringLiteral("WBS Summary");
    return QString();
}

QString relationshipText(const QVariant &type, const QVariant &lagHours)
{
    QString text = type.toString();
    if (text.startsWith(QLatin1String("PR_")))
        text.remove(0, 3);
    // Bounded first: llround of a lag beyond the integer range is undefined.
    const double lag = lagHours.toDouble();
    const qlonglong hours = std::isfinite(lag) ? qlonglong(std::llround(qBound(-1e15, lag, 1e15))) : 0;
    if (hours != 0)
        text += (hours > 0 ? QStringLiteral("+") : QString()) + QString::number(hours) + QLatin1Char('h');
    return text;
}

ActivityDates activityDates(const ActivityDateFields &fields)
{
    const auto firstValid = [](std::initializer_list<const QDateTime *> dates) {
        for (const QDateTime *date : dates) {
            if (date->isValid())
                return *date;
        }
        return QDateTime();
    };
    const bool complete = fields.status == QLatin1String("TK_Complete");
    const bool started = complete || fields.status == QLatin1String("TK_Active");
    // An actual date the file lacks falls back to the scheduled one rather
    // than leaving the activity without a bar.
    const QDateTime none;
    return {firstValid({started ? &fields.actualStart : &none, &fields.remainingStart, &fields.earlyStart,
                        &fields.plannedStart}),
            firstValid({complete ? &fields.actualFinish : &none, &fields.remainingFinish, &fields.earlyFinish,
                        &fields.plannedFinish})};
}

} // namespace ProjectModels
