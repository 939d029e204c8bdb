#include "pdjoinproxymodel.h"

#include "pdvariantorder.h"

#include <QMap>
#include <QtDebug>

#include <vector>

namespace {

// Integer key -> row, open addressing in one block: a node-based hash spent
// as long allocating and freeing its nodes as looking keys up.
class IntegerRows
{
public:
    void reserve(int count)
    {
        std::size_t size = 16;
        while (size < std::size_t(count) * 2)
            size *= 2;
        table.assign(size, Slot());
    }

    void insert(qlonglong key, int row)
    {
        if ((used + 1) * 2 > table.size())
            grow();
        Slot& slot = table[probe(key)];
        if (slot.row < 0)
            ++used;
        slot.key = key;
        slot.row = row;
    }

    int value(qlonglong key) const { return table.empty() ? -1 : table[probe(key)].row; }

    void clear()
    {
        std::vector<Slot>().swap(table);
        used = 0;
    }

private:
    struct Slot
    {
        qlonglong key = 0;
        int row = -1;
    };

    // The slot holding the key, or the empty slot where it belongs.
    std::size_t probe(qlonglong key) const
    {
        const std::size_t mask = table.size() - 1;
        std::size_t i = std::size_t(qHash(key)) & mask;
        while (table[i].row >= 0 && table[i].key != key)
            i = (i + 1) & mask;
        return i;
    }

    void grow()
    {
        std::vector<Slot> old;
        old.swap(table);
        table.assign(qMax<std::size_t>(16, old.size() * 2), Slot());
        used = 0;
        for (const Slot& slot : old) {
            if (slot.row >= 0)
                insert(slot.key, slot.row);
        }
    }

    std::vector<Slot> table;
    std::size_t used = 0;
};

// Joined key -> the last joined row holding it, matched as the key ordering matches. Integer and
// text keys, the keys of every table, go to hashes; a balanced-tree search per row made the joins
// the slowest step of loading a large schedule. Keys that only the ordering can match (fractional
// numbers, dates) send the lookup to an ordered map of all joined keys, built on first need.
class KeyLookup
{
public:
    KeyLookup(const QAbstractItemModel* model, int keyColumn)
        : model(model)
        , keyColumn(keyColumn)
    {
        const int rows = model->rowCount();
        integers.reserve(rows);
        qlonglong integer = 0;
        QString text;
        for (int r = 0; r < rows; ++r) {
            switch (pdVariantHashForm(keyAt(r), &integer, &text)) {
            case PdHashForm::Invalid:
                invalidRow = r;
                break;
            case PdHashForm::Integer:
                integers.insert(integer, r);
                break;
            case PdHashForm::Text:
                texts.insert(text, r);
                break;
            case PdHashForm::OrderedOnly:
                buildOrdered();
                return;
            }
        }
    }

    int find(const QVariant& key)
    {
        if (!orderedOnly) {
            qlonglong integer = 0;
            QString text;
            switch (pdVariantHashForm(key, &integer, &text)) {
            case PdHashForm::Invalid:
                return invalidRow;
            case PdHashForm::Integer:
                return integers.value(integer);
            case PdHashForm::Text:
                return texts.value(text, -1);
            case PdHashForm::OrderedOnly:
                buildOrdered();
                break;
            }
        }
        return ordered.value(key, -1);
    }

private:
    QVariant keyAt(int row) const { return model->index(row, keyColumn).data(); }

    void buildOrdered()
    {
        orderedOnly = true;
        integers.clear();
        texts.clear();
        const int rows = model->rowCount();
        for (int r = 0; r < rows; ++r)
            ordered.insert(keyAt(r), r);
    }

    const QAbstractItemModel* model;
    int keyColumn;
    bool orderedOnly = false;
    int invalidRow = -1;
    IntegerRows integers;
    QHash<QString, int> texts;
    QMap<QVariant, int> ordered;
};

} // namespace

PdJoinProxyModel::PdJoinProxyModel(QObject* parent)
    : QAbstractProxyModel(parent)
{
    qRegisterMetaType<PdJoinMapping>("PdJoinMapping");
}

void PdJoinProxyModel::setSourceModel(QAbstractItemModel* master)
{
    if (!master)
        return;
    beginResetModel();
    for (const QMetaObject::Connection& c : qAsConst(connections))
        disconnect(c);
    connections.clear();
    QAbstractProxyModel::setSourceModel(master);
    masterModel = master;
    connections << connect(master, &QAbstractItemModel::dataChanged, this, &PdJoinProxyModel::_q_sourceDataChanged)
                << connect(master, &QAbstractItemModel::headerDataChanged, this,
                           &PdJoinProxyModel::_q_sourceHeaderDataChanged)
                << connect(master, &QAbstractItemModel::layoutAboutToBeChanged, this,
                           &PdJoinProxyModel::_q_sourceLayoutAboutToBeChanged)
                << connect(master, &QAbstractItemModel::layoutChanged, this,
                           &PdJoinProxyModel::_q_sourceLayoutChanged)
                << connect(master, &QAbstractItemModel::modelAboutToBeReset, this,
                           &PdJoinProxyModel::_q_sourceAboutToBeReset)
                << connect(master, &QAbstractItemModel::modelReset, this, &PdJoinProxyModel::_q_sourceReset)
                << connect(master, &QAbstractItemModel::rowsAboutToBeInserted, this,
                           &PdJoinProxyModel::_q_sourceRowsAboutToBeInserted)
                << connect(master, &QAbstractItemModel::rowsInserted, this,
                           &PdJoinProxyModel::_q_sourceRowsInserted)
                << connect(master, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                           &PdJoinProxyModel::_q_sourceRowsAboutToBeRemoved)
                << connect(master, &QAbstractItemModel::rowsRemoved, this, &PdJoinProxyModel::_q_sourceRowsRemoved)
                << connect(master, &QObject::destroyed, this, &PdJoinProxyModel::onMasterDestroyed);
    mappings.clear();
    mappedColumns = 0;
    mappedColumnTable.clear();
    guards.clear();
    rowMaps.clear();
    reverseRowMaps.clear();
    endResetModel();
}

int PdJoinProxyModel::masterRowCount() const
{
    return masterModel.data() ? masterModel.data()->rowCount() : 0;
}

int PdJoinProxyModel::mappingOffset(int mapping) const
{
    int offset = masterModel.data() ? masterModel.data()->columnCount() : 0;
    for (int m = 0; m < mapping; ++m)
        offset += mappings.at(m).columns.size();
    return offset;
}

PdJoinProxyModel::Resolved PdJoinProxyModel::resolve(int column) const
{
    Resolved r;
    if (column < 0 || !masterModel.data())
        return r;
    const int masterColumns = masterModel.data()->columnCount();
    if (column < masterColumns) {
        r.model = masterModel.data();
        r.column = column;
        return r;
    }
    // Every cell read resolves its column; a table instead of a walk over the mappings.
    if (mappedColumnTable.size() != mappedColumns) {
        mappedColumnTable.clear();
        mappedColumnTable.reserve(mappedColumns);
        for (int m = 0; m < mappings.size(); ++m) {
            for (int c : mappings.at(m).columns)
                mappedColumnTable.append(qMakePair(m, c));
        }
    }
    const int offset = column - masterColumns;
    if (offset >= mappedColumnTable.size())
        return r;
    const QPair<int, int>& entry = mappedColumnTable.at(offset);
    r.model = guards.at(entry.first).data();
    r.column = entry.second;
    r.mapping = entry.first;
    return r;
}

QAbstractItemModel* PdJoinProxyModel::modelForColumn(int column) const
{
    return resolve(column).model;
}

int PdJoinProxyModel::rowCount(const QModelIndex& parent) const
{
    if (!masterModel.data() || parent.isValid())
        return 0;
    const int rows = masterModel.data()->rowCount();
    if (rows == 0)
        qWarning() << "PdJoinProxyModel::rowCount returning zero row count";
    return rows;
}

// The join is flat. The base class would ask the master about the mapped
// index, which for a joined column belongs to another model.
bool PdJoinProxyModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid() && masterModel.data() && masterModel.data()->rowCount() > 0;
}

int PdJoinProxyModel::columnCount(const QModelIndex& parent) const
{
    if (!masterModel.data() || parent.isValid())
        return 0;
    return masterModel.data()->columnCount() + mappedColumns;
}

QModelIndex PdJoinProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    // The join is flat: nothing lives below a valid parent, and the bounds keep views from reading
    // cells that do not exist.
    if (row < 0 || column < 0 || parent.isValid() || row >= masterRowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column, quintptr(row) + 1);
}

QModelIndex PdJoinProxyModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

QModelIndex PdJoinProxyModel::sibling(int row, int column, const QModelIndex& idx) const
{
    return index(row, column, idx.parent());
}

QModelIndex PdJoinProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!masterModel.data() || !proxyIndex.isValid())
        return QModelIndex();
    const Resolved r = resolve(proxyIndex.column());
    if (!r.model)
        return QModelIndex();
    if (r.mapping < 0)
        return masterModel.data()->index(proxyIndex.row(), r.column);
    const QVector<int>& rowMap = rowMaps.at(r.mapping);
    const int joinedRow = proxyIndex.row() < rowMap.size() ? rowMap.at(proxyIndex.row()) : -1;
    if (joinedRow < 0)
        return QModelIndex();
    return r.model->index(joinedRow, r.column);
}

QModelIndex PdJoinProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!masterModel.data() || !sourceIndex.isValid())
        return QModelIndex();
    if (sourceIndex.model() == masterModel.data())
        return index(sourceIndex.row(), sourceIndex.column());
    // A joined row may serve many proxy rows; the first of them stands for it. A mapping of the same
    // model that does not show the column is passed over, so a later one that does can answer.
    for (int m = 0; m < mappings.size(); ++m) {
        const PdJoinMapping& mapping = mappings.at(m);
        if (mapping.model != sourceIndex.model())
            continue;
        const int position = mapping.columns.indexOf(sourceIndex.column());
        if (position < 0)
            continue;
        const QVector<int>& reverse = reverseRowMaps.at(m);
        const int proxyRow = sourceIndex.row() < reverse.size() ? reverse.at(sourceIndex.row()) : -1;
        if (proxyRow >= 0)
            return index(proxyRow, mappingOffset(m) + position);
    }
    return QModelIndex();
}

// data() of a valid display cell with its column resolved once, for passes over every row.
QVariant PdJoinProxyModel::cellData(int row, int column, const Resolved& resolved) const
{
    QModelIndex source;
    if (resolved.model && resolved.mapping < 0) {
        source = resolved.model->index(row, resolved.column);
    } else if (resolved.model) {
        const QVector<int>& rowMap = rowMaps.at(resolved.mapping);
        const int joinedRow = row < rowMap.size() ? rowMap.at(row) : -1;
        if (joinedRow >= 0)
            source = resolved.model->index(joinedRow, resolved.column);
    }
    if (source.isValid())
        return source.data();
    // No joined row, or its model was deleted: only written values remain.
    return cellValues.value(qMakePair(row, column));
}

void PdJoinProxyModel::setColumnProvider(int column, QObject* owner, const ColumnProvider& provider)
{
    for (int i = 0; i < providers.size(); ++i) {
        if (providers.at(i).column == column) {
            providers.remove(i);
            break;
        }
    }
    if (provider && owner)
        providers.append({column, owner, provider});
}

void PdJoinProxyModel::removeColumnProviders(const QObject* owner)
{
    for (int i = providers.size() - 1; i >= 0; --i) {
        if (providers.at(i).owner == owner || !providers.at(i).owner)
            providers.remove(i);
    }
}

const PdJoinProxyModel::Provided* PdJoinProxyModel::providerFor(const QModelIndex& index) const
{
    // A handful of columns at most: a walk is cheaper than a hash per cell read.
    for (const Provided& provided : providers) {
        if (provided.column == index.column())
            return provided.owner && index.row() < masterRowCount() ? &provided : nullptr;
    }
    return nullptr;
}

QVariant PdJoinProxyModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole && !providers.isEmpty()) {
        if (const Provided* provided = providerFor(index))
            return provided->value(index.row());
    }
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return source.data(role);
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= masterRowCount())
        return QVariant();
    return cellValues.value(qMakePair(index.row(), index.column()));
}

bool PdJoinProxyModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return const_cast<QAbstractItemModel*>(source.model())->setData(source, value, role);
    if (!index.isValid() || role != Qt::DisplayRole || index.row() < 0 || index.row() >= masterRowCount())
        return false;
    cellValues.insert(qMakePair(index.row(), index.column()), value);
    // Batches write with signals blocked; the roles list alone would cost an
    // allocation per cell.
    if (!signalsBlocked())
        emit dataChanged(index, index, {role});
    return true;
}

// QAbstractProxyModel hands every mapped index to the master, which for a joined column would
// read or write the master's cell at another model's row and column.
QMap<int, QVariant> PdJoinProxyModel::itemData(const QModelIndex& index) const
{
    if (!providers.isEmpty() && providerFor(index))
        return QAbstractItemModel::itemData(index);
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return source.model()->itemData(source);
    return QAbstractItemModel::itemData(index);
}

bool PdJoinProxyModel::setItemData(const QModelIndex& index, const QMap<int, QVariant>& roles)
{
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return const_cast<QAbstractItemModel*>(source.model())->setItemData(source, roles);
    return QAbstractItemModel::setItemData(index, roles);
}

// Encoded from the join's own cells, for the same reason.
QMimeData* PdJoinProxyModel::mimeData(const QModelIndexList& indexes) const
{
    return QAbstractItemModel::mimeData(indexes);
}

Qt::ItemFlags PdJoinProxyModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const QModelIndex source = mapToSource(index);
    if (source.isValid())
        return source.model()->flags(source);
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QVariant PdJoinProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (!masterModel.data())
        return QVariant();
    if (orientation == Qt::Vertical)
        return masterModel.data()->headerData(section, orientation, role);
    const Resolved r = resolve(section);
    return r.model ? r.model->headerData(r.column, orientation, role) : QVariant();
}

bool PdJoinProxyModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (!masterModel.data())
        return false;
    if (orientation == Qt::Vertical)
        return masterModel.data()->setHeaderData(section, orientation, value, role);
    const Resolved r = resolve(section);
    return r.model ? r.model->setHeaderData(r.column, orientation, value, role) : false;
}

bool PdJoinProxyModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (row < 0 || count < 1 || parent.isValid() || !masterModel.data())
        return false;
    if (!masterModel.data()->insertRows(row, count))
        return false;
    bool joinedRowsMoved = false;
    for (const QPointer<QAbstractItemModel>& model : qAsConst(guards)) {
        if (model && model->insertRows(row, count))
            joinedRowsMoved = true;
    }
    // Rows inserted into a joined model push its later rows down; the maps must follow them or every
    // proxy row below would show another row's joined cells.
    if (joinedRowsMoved) {
        for (int m = 0; m < mappings.size(); ++m)
            buildRowMap(m, false);
    }
    return true;
}

bool PdJoinProxyModel::addMapping(QAbstractItemModel* model, int joinedKeyColumn, const QList<int>& columns,
                                  int masterKeyColumn)
{
    if (!model)
        return false;
    PdJoinMapping mapping;
    mapping.model = model;
    mapping.joinedKeyColumn = joinedKeyColumn;
    mapping.columns = columns;
    mapping.masterKeyColumn = masterKeyColumn;
    const int first = columnCount();
    if (masterModel.data() && !columns.isEmpty())
        beginInsertColumns(QModelIndex(), first, first + columns.size() - 1);
    mappings.append(mapping);
    mappedColumns += mapping.columns.size();
    mappedColumnTable.clear();
    guards.append(model);
    rowMaps.append(QVector<int>());
    reverseRowMaps.append(QVector<int>());
    if (masterModel.data() && !columns.isEmpty())
        endInsertColumns();
    buildRowMap(mappings.size() - 1, true);
    return true;
}

bool PdJoinProxyModel::addModel(QAbstractItemModel* model, int joinedKeyColumn, int masterKeyColumn)
{
    if (!model)
        return false;
    QList<int> columns;
    const int count = model->columnCount();
    columns.reserve(count);
    for (int c = 0; c < count; ++c)
        columns.append(c);
    return addMapping(model, joinedKeyColumn, columns, masterKeyColumn);
}

void PdJoinProxyModel::resetMappings()
{
    for (int m = 0; m < mappings.size(); ++m)
        buildRowMap(m, true);
}

void PdJoinProxyModel::resetMapping(const PdJoinMapping& mapping)
{
    const int position = mappings.indexOf(mapping);
    if (position >= 0)
        buildRowMap(position, true);
    else
        addMapping(mapping.model, mapping.joinedKeyColumn, mapping.columns, mapping.masterKeyColumn);
}

void PdJoinProxyModel::_q_clearMapping()
{
    beginResetModel();
    mappings.clear();
    mappedColumns = 0;
    mappedColumnTable.clear();
    guards.clear();
    rowMaps.clear();
    reverseRowMaps.clear();
    endResetModel();
}

void PdJoinProxyModel::onMasterDestroyed()
{
    masterModel = nullptr;
    connections.clear();
    _q_clearMapping();
}

void PdJoinProxyModel::buildRowMap(int position, bool notify)
{
    const PdJoinMapping& mapping = mappings.at(position);
    if (!masterModel.data() || mapping.joinedKeyColumn < 0 || mapping.masterKeyColumn < 0 || !guards.at(position))
        return;
    if (notify)
        emit layoutAboutToBeChanged();
    const int proxyRows = masterRowCount();
    QVector<int> rowMap(proxyRows, -1);
    KeyLookup lookup(mapping.model, mapping.joinedKeyColumn);
    // The proxy's own data: a key may sit in a column that an earlier mapping contributes.
    const int keyColumn = mapping.masterKeyColumn;
    const Resolved key = resolve(keyColumn);
    const bool inTable = keyColumn < columnCount();
    for (int r = 0; r < proxyRows; ++r)
        rowMap[r] = lookup.find(inTable ? cellData(r, keyColumn, key) : QVariant());
    rowMaps[position] = rowMap;
    rebuildReverseMap(position);
    if (notify)
        emit layoutChanged();
}

void PdJoinProxyModel::rebuildReverseMap(int position)
{
    const QVector<int>& rowMap = rowMaps.at(position);
    const QAbstractItemModel* model = guards.at(position).data();
    QVector<int> reverse(model ? model->rowCount() : 0, -1);
    for (int r = 0; r < rowMap.size(); ++r) {
        const int joined = rowMap.at(r);
        if (joined >= 0 && joined < reverse.size() && reverse.at(joined) < 0)
            reverse[joined] = r;
    }
    reverseRowMaps[position] = reverse;
}

void PdJoinProxyModel::_q_sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                            const QVector<int>& roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    const QModelIndex first = mapFromSource(topLeft);
    const QModelIndex last = mapFromSource(bottomRight);
    if (first.isValid() && last.isValid())
        emit dataChanged(first, last, roles);
}

void PdJoinProxyModel::_q_sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last)
{
    emit headerDataChanged(orientation, first, last);
}

void PdJoinProxyModel::_q_sourceLayoutAboutToBeChanged(const QList<QPersistentModelIndex>& parents,
                                                       QAbstractItemModel::LayoutChangeHint hint)
{
    QList<QPersistentModelIndex> mapped;
    for (const QPersistentModelIndex& p : parents) {
        if (!p.isValid()) {
            mapped << QPersistentModelIndex();
            continue;
        }
        const QModelIndex proxy = mapFromSource(p);
        if (proxy.isValid())
            mapped << proxy;
    }
    // Even when no named parent maps, the change must be announced: layoutChanged follows in any case.
    emit layoutAboutToBeChanged(mapped, hint);
    // Proxy rows are master rows, so each persistent index follows its master row.
    layoutChangeProxies = persistentIndexList();
    layoutChangeSources.clear();
    layoutChangeSources.reserve(layoutChangeProxies.size());
    for (const QModelIndex& proxy : qAsConst(layoutChangeProxies))
        layoutChangeSources << QPersistentModelIndex(masterModel.data()->index(proxy.row(), 0));
}

void PdJoinProxyModel::_q_sourceLayoutChanged(const QList<QPersistentModelIndex>&,
                                              QAbstractItemModel::LayoutChangeHint hint)
{
    for (int m = 0; m < mappings.size(); ++m)
        buildRowMap(m, false);
    QModelIndexList to;
    to.reserve(layoutChangeProxies.size());
    for (int i = 0; i < layoutChangeProxies.size(); ++i) {
        const QPersistentModelIndex& source = layoutChangeSources.at(i);
        to << (source.isValid() ? index(source.row(), layoutChangeProxies.at(i).column()) : QModelIndex());
    }
    changePersistentIndexList(layoutChangeProxies, to);
    layoutChangeProxies.clear();
    layoutChangeSources.clear();
    emit layoutChanged(QList<QPersistentModelIndex>(), hint);
}

void PdJoinProxyModel::_q_sourceAboutToBeReset()
{
    beginResetModel();
    resetting = true;
}

void PdJoinProxyModel::_q_sourceReset()
{
    // Qt expects exactly one begin for each end; the about-to signal has usually begun it already.
    if (!resetting)
        beginResetModel();
    for (int m = 0; m < mappings.size(); ++m)
        buildRowMap(m, false);
    resetting = false;
    endResetModel();
}

void PdJoinProxyModel::_q_sourceRowsAboutToBeInserted(const QModelIndex& parent, int first, int last)
{
    if (!parent.isValid())
        beginInsertRows(QModelIndex(), first, last);
}

void PdJoinProxyModel::_q_sourceRowsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    // New master rows have no joined row until the maps are rebuilt; the rows below keep theirs.
    const int count = last - first + 1;
    for (int m = 0; m < rowMaps.size(); ++m) {
        QVector<int>& rowMap = rowMaps[m];
        if (first <= rowMap.size()) {
            rowMap.insert(first, count, -1);
            rebuildReverseMap(m);
        }
    }
    shiftCellValues(first, count, -1);
    endInsertRows();
}

void PdJoinProxyModel::_q_sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (!parent.isValid())
        beginRemoveRows(QModelIndex(), first, last);
}

void PdJoinProxyModel::_q_sourceRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    for (int m = 0; m < rowMaps.size(); ++m) {
        QVector<int>& rowMap = rowMaps[m];
        if (first < rowMap.size()) {
            rowMap.remove(first, qMin(last, rowMap.size() - 1) - first + 1);
            rebuildReverseMap(m);
        }
    }
    shiftCellValues(last + 1, -(last - first + 1), last);
    endRemoveRows();
}

void PdJoinProxyModel::shiftCellValues(int first, int delta, int removedLast)
{
    if (cellValues.isEmpty())
        return;
    // Rows added or cut at the end (the group rows of a grouping) move no other row: the values stay
    // where they are, and a cut drops its own in place instead of copying the whole table.
    const int rows = masterRowCount();
    if (removedLast < 0 && first + delta >= rows)
        return;
    if (removedLast >= 0 && first + delta >= rows) {
        const int cut = first + delta;
        for (auto it = cellValues.begin(); it != cellValues.end();) {
            if (it.key().first >= cut)
                it = cellValues.erase(it);
            else
                ++it;
        }
        return;
    }
    QHash<QPair<int, int>, QVariant> shifted;
    shifted.reserve(cellValues.size());
    for (auto it = cellValues.cbegin(); it != cellValues.cend(); ++it) {
        const int row = it.key().first;
        if (removedLast >= 0 && row >= first + delta && row <= removedLast)
            continue;
        shifted.insert(qMakePair(row >= first ? row + delta : row, it.key().second), it.value());
    }
    cellValues.swap(shifted);
}
