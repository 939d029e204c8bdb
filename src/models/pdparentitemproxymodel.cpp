#include "pdparentitemproxymodel.h"

#include "pdvariantorder.h"

#include <QtDebug>

#include <algorithm>
#include <climits>

namespace {

constexpr int kNotHeld = INT_MIN;

int sourceRowOf(const QModelIndex& index)
{
    return int(qintptr(index.internalId()));
}

quintptr idFor(int sourceRow)
{
    return quintptr(qintptr(sourceRow));
}

} // namespace

PdParentItemProxyModel::PdParentItemProxyModel(QObject* parent)
    : QAbstractProxyModel(parent)
{
}

void PdParentItemProxyModel::setSourceModel(QAbstractItemModel* model)
{
    if (!model)
        return;
    beginResetModel();
    for (const QMetaObject::Connection& c : qAsConst(connections))
        disconnect(c);
    connections.clear();
    source = model;
    QAbstractProxyModel::setSourceModel(model);
    using M = QAbstractItemModel;
    using P = PdParentItemProxyModel;
    connections << connect(model, &M::dataChanged, this, &P::_q_sourceDataChanged)
                << connect(model, &M::headerDataChanged, this, &P::_q_sourceHeaderDataChanged)
                << connect(model, &M::layoutChanged, this, &P::_q_sourceLayoutChanged)
                << connect(model, &M::layoutAboutToBeChanged, this, &P::_q_sourceLayoutAboutToBeChanged)
                << connect(model, &M::rowsAboutToBeInserted, this, &P::_q_sourceRowsAboutToBeInserted)
                << connect(model, &M::rowsInserted, this, &P::_q_sourceRowsInserted)
                << connect(model, &M::rowsAboutToBeRemoved, this, &P::_q_sourceRowsAboutToBeRemoved)
                << connect(model, &M::rowsRemoved, this, &P::_q_sourceRowsRemoved)
                << connect(model, &M::columnsAboutToBeInserted, this, &P::_q_sourceColumnsAboutToBeInserted)
                << connect(model, &M::columnsInserted, this, &P::_q_sourceColumnsInserted)
                << connect(model, &M::columnsAboutToBeRemoved, this, &P::_q_sourceColumnsAboutToBeRemoved)
                << connect(model, &M::columnsRemoved, this, &P::_q_sourceColumnsRemoved)
                << connect(model, &M::modelAboutToBeReset, this, &P::_q_sourceAboutToBeReset)
                << connect(model, &M::modelReset, this, &P::_q_sourceReset)
                << connect(model, &M::rowsAboutToBeMoved, this, &P::_q_sourceRowsAboutToBeMoved)
                << connect(model, &M::rowsMoved, this, &P::_q_sourceRowsMoved)
                << connect(model, &M::columnsAboutToBeMoved, this, &P::_q_sourceColumnsAboutToBeMoved)
                << connect(model, &M::columnsMoved, this, &P::_q_sourceColumnsMoved)
                // The source usually belongs to a loader that is deleted before this proxy.
                << connect(model, &QObject::destroyed, this, &P::onSourceDestroyed);
    rebuild();
    endResetModel();
}

void PdParentItemProxyModel::onSourceDestroyed()
{
    beginResetModel();
    connections.clear();
    source = nullptr;
    parentMap.clear();
    rebuildLocations();
    endResetModel();
}

void PdParentItemProxyModel::setParentMap(const ParentMap& map)
{
    beginResetModel();
    parentMap = map;
    rebuildLocations();
    endResetModel();
}

void PdParentItemProxyModel::beginSourceChange()
{
    if (resetting)
        return;
    beginResetModel();
    resetting = true;
    changingSource = true;
}

void PdParentItemProxyModel::endSourceChange()
{
    if (!changingSource)
        return;
    changingSource = false;
    resetting = false;
    rebuild();
    endResetModel();
}

void PdParentItemProxyModel::endSourceChange(const ParentMap& map)
{
    if (!changingSource) {
        setParentMap(map);
        return;
    }
    changingSource = false;
    resetting = false;
    parentMap = map;
    rebuildLocations();
    endResetModel();
}

void PdParentItemProxyModel::setKeyColumns(int id, int parentId)
{
    idColumn = id;
    parentIdColumn = parentId;
    beginResetModel();
    rebuild();
    endResetModel();
}

void PdParentItemProxyModel::resetParentStructure()
{
    if (!source)
        return;
    // Called from outside a reset the whole tree may change shape, which only a reset can announce.
    if (resetting || pending != Pending::None) {
        rebuild();
        return;
    }
    beginResetModel();
    rebuild();
    endResetModel();
}

PdParentItemProxyModel::ParentMap PdParentItemProxyModel::mapFromKeyColumns() const
{
    ParentMap map;
    if (!source)
        return map;
    const int rows = source->rowCount();
    QMap<QVariant, int> rowById;
    QVector<bool> hasId(rows, false);
    int recorded = 0;
    for (int r = 0; r < rows; ++r) {
        const QModelIndex cell = source->index(r, idColumn);
        if (!cell.isValid())
            continue;
        QVariant id = cell.data();
        if (id.isNull())
            id = -(recorded + 1);
        rowById.insert(id, r);
        hasId[r] = true;
        ++recorded;
    }
    for (int r = 0; r < rows; ++r) {
        int parentRow = -1;
        const QModelIndex cell = source->index(r, parentIdColumn);
        if (cell.isValid() && !rowById.isEmpty()) {
            const auto hit = rowById.constFind(cell.data());
            if (hit != rowById.constEnd())
                parentRow = hit.value();
        }
        map[parentRow].append(r);
    }
    return map;
}

void PdParentItemProxyModel::rebuild()
{
    if (!source)
        return;
    parentMap = mapFromKeyColumns();
    rebuildLocations();
}

void PdParentItemProxyModel::rebuildLocations()
{
    const int rows = source ? source->rowCount() : 0;
    holders.fill(kNotHeld, rows);
    positions.fill(-1, rows);

    // Rows the source does not have are never shown: they have no data to map to.
    auto place = [this](int row, int holder, int position) {
        if (row < 0 || row >= holders.size() || holders.at(row) != kNotHeld)
            return;
        holders[row] = holder;
        positions[row] = position;
    };
    // The first list in key order decides a row's parent.
    for (auto it = parentMap.cbegin(); it != parentMap.cend(); ++it) {
        const QList<int>& list = it.value();
        for (int i = 0; i < list.size(); ++i)
            place(list.at(i), it.key(), i);
    }

    // A row whose chain of parents never reaches the root (a cycle, or a parent that no list holds)
    // cannot be shown; dropping it keeps every parent chain finite.
    enum : char { Unknown, Visiting, Reachable, Unreachable };
    QVector<char> state(rows, Unknown);
    auto stateOf = [&](int row) -> char { return row >= 0 && row < rows ? state.at(row) : char(Unknown); };
    auto setState = [&](int row, char s) { state[row] = s; };
    QVector<int> path;
    auto resolve = [&](int row) {
        path.clear();
        int current = row;
        char result = Unreachable;
        for (;;) {
            const char s = stateOf(current);
            if (s == Reachable || s == Unreachable) {
                result = s;
                break;
            }
            if (s == Visiting)
                break;
            const int holder = holderOf(current);
            if (holder == kNotHeld)
                break;
            setState(current, Visiting);
            path.append(current);
            if (holder == -1) {
                result = Reachable;
                break;
            }
            current = holder;
        }
        for (int r : qAsConst(path))
            setState(r, result);
    };
    for (int r = 0; r < rows; ++r) {
        if (holders.at(r) != kNotHeld)
            resolve(r);
    }
    bool clean = true;
    for (int r = 0; r < rows; ++r) {
        if (holders.at(r) != kNotHeld && state.at(r) != Reachable) {
            holders[r] = kNotHeld;
            positions[r] = -1;
            clean = false;
        }
    }

    // Keep in each list only the rows it decides and renumber their positions.
    visibleMap = parentMap;
    for (auto it = parentMap.cbegin(); clean && it != parentMap.cend(); ++it) {
        const QList<int>& list = it.value();
        for (int i = 0; clean && i < list.size(); ++i)
            clean = holderOf(list.at(i)) == it.key() && positionOf(list.at(i)) == i;
    }
    if (!clean) {
        visibleMap.clear();
        for (auto it = parentMap.cbegin(); it != parentMap.cend(); ++it) {
            QList<int> shown;
            const QList<int>& list = it.value();
            for (int i = 0; i < list.size(); ++i) {
                const int row = list.at(i);
                if (holderOf(row) != it.key() || positionOf(row) != i)
                    continue;
                positions[row] = shown.size();
                shown.append(row);
            }
            if (!shown.isEmpty() || it.key() == -1)
                visibleMap.insert(it.key(), shown);
        }
    }

    flat = parentMap.isEmpty() && rows == 0;
    if (parentMap.size() == 1 && parentMap.firstKey() == -1) {
        const QList<int>& top = parentMap.first();
        flat = top.size() == rows;
        for (int i = 0; flat && i < rows; ++i)
            flat = top.at(i) == i;
    }
}

int PdParentItemProxyModel::holderOf(int sourceRow) const
{
    return sourceRow >= 0 && sourceRow < holders.size() ? holders.at(sourceRow) : kNotHeld;
}

int PdParentItemProxyModel::positionOf(int sourceRow) const
{
    return sourceRow >= 0 && sourceRow < positions.size() ? positions.at(sourceRow) : -1;
}

int PdParentItemProxyModel::rowCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    // Only the first column carries children; other columns answering too would make views and
    // model checkers see every subtree once per column.
    if (!source || parent.column() > 0)
        return 0;
    const auto it = visibleMap.constFind(parent.isValid() ? sourceRowOf(parent) : -1);
    return it == visibleMap.constEnd() ? 0 : it->size();
}

int PdParentItemProxyModel::columnCount(const QModelIndex&) const
{
    return source ? source->columnCount() : 0;
}

bool PdParentItemProxyModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QModelIndex PdParentItemProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (row < 0 || column < 0 || !source || column >= source->columnCount() || parent.column() > 0)
        return QModelIndex();
    const auto it = visibleMap.constFind(parent.isValid() ? sourceRowOf(parent) : -1);
    if (it == visibleMap.constEnd() || row >= it->size())
        return QModelIndex();
    return createIndex(row, column, idFor(it->at(row)));
}

QModelIndex PdParentItemProxyModel::parent(const QModelIndex& child) const
{
    if (!child.isValid())
        return QModelIndex();
    const int holder = holderOf(sourceRowOf(child));
    if (holder == kNotHeld || holder == -1)
        return QModelIndex();
    const int position = positionOf(holder);
    if (position < 0)
        return QModelIndex();
    return createIndex(position, 0, idFor(holder));
}

QModelIndex PdParentItemProxyModel::sibling(int row, int column, const QModelIndex& idx) const
{
    // Another column of the same row keeps the row's internal id, so no parent or map lookup is
    // needed; sorting and filtering read one column of every row this way.
    if (idx.isValid() && idx.model() == this && row == idx.row() && source && column >= 0
        && column < source->columnCount())
        return column == idx.column() ? idx : createIndex(row, column, idx.internalId());
    return index(row, column, parent(idx));
}

QModelIndex PdParentItemProxyModel::buddy(const QModelIndex& index) const
{
    return index;
}

QModelIndex PdParentItemProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || !source)
        return QModelIndex();
    if (proxyIndex.model() != this) {
        qWarning() << "PdParentItemProxyModel: index from wrong model passed to mapToSource";
        return QModelIndex();
    }
    const int row = sourceRowOf(proxyIndex);
    if (row == -1) {
        qWarning() << "PdParentItemProxyModel::mapToSource invalid source row";
        return QModelIndex();
    }
    return source->index(row, proxyIndex.column());
}

QModelIndex PdParentItemProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || !source || sourceIndex.model() != source)
        return QModelIndex();
    const int row = sourceIndex.row();
    return createIndex(positionOf(row), sourceIndex.column(), idFor(row));
}

QVariant PdParentItemProxyModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    return mapToSource(index).data(role);
}

bool PdParentItemProxyModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!source)
        return false;
    settingData = true;
    const bool result = source->setData(mapToSource(index), value, role);
    settingData = false;
    return result;
}

Qt::ItemFlags PdParentItemProxyModel::flags(const QModelIndex& index) const
{
    if (!source || !index.isValid())
        return Qt::NoItemFlags;
    return source->flags(mapToSource(index));
}

QVariant PdParentItemProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return source ? source->headerData(section, orientation, role) : QVariant();
}

bool PdParentItemProxyModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                           int role)
{
    return source ? source->setHeaderData(section, orientation, value, role) : false;
}

void PdParentItemProxyModel::sort(int column, Qt::SortOrder order)
{
    if (!source || column < 0 || column >= columnCount())
        return;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QVector<QPair<QVariant, int>> values;
    for (auto it = parentMap.begin(); it != parentMap.end(); ++it) {
        QList<int>& list = it.value();
        values.clear();
        values.reserve(list.size());
        for (int row : qAsConst(list))
            values.append(qMakePair(source->index(row, column).data(), row));
        if (order == Qt::AscendingOrder) {
            std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
                return pdVariantLess(a.first, b.first);
            });
        } else {
            std::stable_sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
                return pdVariantLess(b.first, a.first);
            });
        }
        for (int i = 0; i < values.size(); ++i)
            list[i] = values.at(i).second;
    }
    rebuildLocations();
    // Positions are looked up from the new table, so every persistent index moves in one pass.
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& idx : before) {
        const int row = sourceRowOf(idx);
        const int position = positionOf(row);
        after.append(position >= 0 ? createIndex(position, idx.column(), idFor(row)) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

bool PdParentItemProxyModel::rowChangesKeepShape() const
{
    // Only a flat list that stays flat can take row insertions and removals one for one; any other
    // map is recomputed from the key columns and so is announced as a reset.
    return flat && (idColumn < 0 || parentIdColumn < 0) && !resetting;
}

void PdParentItemProxyModel::saveLayout()
{
    layoutProxies = persistentIndexList();
    layoutSources.clear();
    layoutSources.reserve(layoutProxies.size());
    for (const QModelIndex& idx : qAsConst(layoutProxies))
        layoutSources.append(QPersistentModelIndex(mapToSource(idx)));
}

void PdParentItemProxyModel::restoreLayout()
{
    QModelIndexList after;
    after.reserve(layoutProxies.size());
    for (const QPersistentModelIndex& sourceIndex : qAsConst(layoutSources)) {
        const QModelIndex mapped = sourceIndex.isValid() ? mapFromSource(sourceIndex) : QModelIndex();
        after.append(mapped.isValid() ? mapped : QModelIndex());
    }
    changePersistentIndexList(layoutProxies, after);
    layoutProxies.clear();
    layoutSources.clear();
}

void PdParentItemProxyModel::replaceMapAfterChange()
{
    const ParentMap rebuilt = mapFromKeyColumns();
    if (rebuilt == parentMap)
        return;
    beginResetModel();
    parentMap = rebuilt;
    rebuildLocations();
    endResetModel();
}

void PdParentItemProxyModel::_q_sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                                  const QVector<int>& roles)
{
    if (settingData || changingSource || !topLeft.isValid() || !bottomRight.isValid())
        return;
    const int left = topLeft.column();
    const int right = bottomRight.column();
    if ((idColumn >= 0 && left <= idColumn && idColumn <= right)
        || (parentIdColumn >= 0 && left <= parentIdColumn && parentIdColumn <= right)) {
        beginResetModel();
        rebuild();
        endResetModel();
        return;
    }
    // The source range is contiguous, but its rows may sit under different proxy parents; each
    // proxy parent gets its own range.
    QHash<int, QPair<int, int>> spans;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const int holder = holderOf(row);
        const int position = positionOf(row);
        if (holder == kNotHeld || position < 0)
            continue;
        auto it = spans.find(holder);
        if (it == spans.end()) {
            spans.insert(holder, qMakePair(position, position));
        } else {
            it->first = qMin(it->first, position);
            it->second = qMax(it->second, position);
        }
    }
    for (auto it = spans.cbegin(); it != spans.cend(); ++it) {
        const QModelIndex parentIndex =
            it.key() == -1 ? QModelIndex() : createIndex(positionOf(it.key()), 0, idFor(it.key()));
        emit dataChanged(index(it->first, left, parentIndex), index(it->second, right, parentIndex), roles);
    }
}

void PdParentItemProxyModel::_q_sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last)
{
    emit headerDataChanged(orientation, first, last);
}

void PdParentItemProxyModel::_q_sourceLayoutAboutToBeChanged(const QList<QPersistentModelIndex>&,
                                                             QAbstractItemModel::LayoutChangeHint hint)
{
    // The rebuild that follows may move any row under any parent, so no parent list can be promised.
    emit layoutAboutToBeChanged(QList<QPersistentModelIndex>(), hint);
    saveLayout();
}

void PdParentItemProxyModel::_q_sourceLayoutChanged(const QList<QPersistentModelIndex>&,
                                                    QAbstractItemModel::LayoutChangeHint hint)
{
    rebuild();
    restoreLayout();
    emit layoutChanged(QList<QPersistentModelIndex>(), hint);
}

void PdParentItemProxyModel::_q_sourceRowsAboutToBeInserted(const QModelIndex& parent, int start, int end)
{
    if (parent.isValid())
        return;
    if (rowChangesKeepShape()) {
        const int first = qMin(start, rowCount());
        beginInsertRows(QModelIndex(), first, first + (end - start));
        pending = Pending::Rows;
    } else if (!resetting) {
        beginResetModel();
        pending = Pending::Reset;
    }
}

void PdParentItemProxyModel::_q_sourceRowsInserted(const QModelIndex& parent, int, int)
{
    if (parent.isValid() || changingSource)
        return;
    rebuild();
    if (pending == Pending::Rows)
        endInsertRows();
    else if (pending == Pending::Reset)
        endResetModel();
    pending = Pending::None;
}

void PdParentItemProxyModel::_q_sourceRowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    if (parent.isValid())
        return;
    if (rowChangesKeepShape()) {
        beginRemoveRows(QModelIndex(), start, end);
        pending = Pending::Rows;
    } else if (!resetting) {
        beginResetModel();
        pending = Pending::Reset;
    }
}

void PdParentItemProxyModel::_q_sourceRowsRemoved(const QModelIndex& parent, int, int)
{
    if (parent.isValid() || changingSource)
        return;
    rebuild();
    if (pending == Pending::Rows)
        endRemoveRows();
    else if (pending == Pending::Reset)
        endResetModel();
    pending = Pending::None;
}

void PdParentItemProxyModel::_q_sourceColumnsAboutToBeInserted(const QModelIndex& parent, int start, int end)
{
    if (!parent.isValid() && !resetting)
        beginInsertColumns(QModelIndex(), start, end);
}

void PdParentItemProxyModel::_q_sourceColumnsInserted(const QModelIndex& parent, int, int)
{
    if (parent.isValid() || resetting)
        return;
    endInsertColumns();
    replaceMapAfterChange();
}

void PdParentItemProxyModel::_q_sourceColumnsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    if (!parent.isValid() && !resetting)
        beginRemoveColumns(QModelIndex(), start, end);
}

void PdParentItemProxyModel::_q_sourceColumnsRemoved(const QModelIndex& parent, int, int)
{
    if (parent.isValid() || resetting)
        return;
    endRemoveColumns();
    replaceMapAfterChange();
}

void PdParentItemProxyModel::_q_sourceAboutToBeReset()
{
    if (changingSource)
        return;
    beginResetModel();
    resetting = true;
}

void PdParentItemProxyModel::_q_sourceReset()
{
    // A reset of the source inside a bracketed change ends with the change.
    if (changingSource)
        return;
    // Qt expects exactly one begin for each end; the about-to signal has usually begun it already.
    if (!resetting)
        beginResetModel();
    rebuild();
    resetting = false;
    endResetModel();
}

void PdParentItemProxyModel::_q_sourceRowsAboutToBeMoved(const QModelIndex&, int, int, const QModelIndex&, int)
{
    qDebug() << "_q_sourceRowsAboutToBeMoved called";
    emit layoutAboutToBeChanged();
    saveLayout();
}

void PdParentItemProxyModel::_q_sourceRowsMoved(const QModelIndex&, int, int, const QModelIndex&, int)
{
    qDebug() << "_q_sourceRowsMoved called";
    // Moved source rows change the row numbers the map holds; without a rebuild the tree would show
    // other rows in their places.
    rebuild();
    restoreLayout();
    emit layoutChanged();
}

void PdParentItemProxyModel::_q_sourceColumnsAboutToBeMoved(const QModelIndex&, int, int, const QModelIndex&, int)
{
}

void PdParentItemProxyModel::_q_sourceColumnsMoved(const QModelIndex&, int, int, const QModelIndex&, int)
{
}
