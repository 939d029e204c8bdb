#include "pdindex.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QMultiHash>
#include <QStandardItemModel>
#include <QVector>
#include <QtDebug>

namespace {

// Finds entries of an index's map by hash for the integer and text keys that nearly every model
// holds, so building an index makes no variant comparison per tree level for each row. A key the
// hashes miss is looked up in the map itself only when the map holds keys without a hash form
// (fractions, dates), which may equal it; map iterators stay valid as entries are added.
class EntryLookup
{
public:
    using Iterator = QMap<QVariant, PdIndexEntry>::iterator;

    explicit EntryLookup(QMap<QVariant, PdIndexEntry>& map)
        : map(map)
    {
        for (auto it = map.begin(); it != map.end(); ++it)
            remember(it);
    }

    Iterator find(const QVariant& key)
    {
        qlonglong integer = 0;
        switch (pdVariantHashForm(key, &integer, &text)) {
        case PdHashForm::Integer: {
            const auto hit = integers.constFind(integer);
            if (hit != integers.constEnd())
                return hit.value();
            break;
        }
        case PdHashForm::Text: {
            const auto hit = texts.constFind(text);
            if (hit != texts.constEnd())
                return hit.value();
            break;
        }
        default:
            return map.find(key);
        }
        return orderedOnly ? map.find(key) : map.end();
    }

    Iterator findOrInsert(const QVariant& key, bool* inserted)
    {
        Iterator it = find(key);
        *inserted = it == map.end();
        if (*inserted) {
            it = map.insert(key, PdIndexEntry());
            remember(it);
        }
        return it;
    }

private:
    void remember(Iterator it)
    {
        qlonglong integer = 0;
        switch (pdVariantHashForm(it.key(), &integer, &text)) {
        case PdHashForm::Integer:
            integers.insert(integer, it);
            break;
        case PdHashForm::Text:
            texts.insert(text, it);
            break;
        case PdHashForm::OrderedOnly:
            orderedOnly = true;
            break;
        case PdHashForm::Invalid:
            break;
        }
    }

    QMap<QVariant, PdIndexEntry>& map;
    QHash<qlonglong, Iterator> integers;
    QHash<QString, Iterator> texts;
    QString text;
    bool orderedOnly = false;
};

} // namespace

// Timed start/stop lines; QT_LOGGING_RULES="plandeck.timing.*=false" silences them.
Q_LOGGING_CATEGORY(lcIndexTiming, "plandeck.timing.models", QtInfoMsg)

PdIndex::PdIndex(const QAbstractItemModel* model, int column)
    : model(model), column(column)
{
}

void PdIndex::buildStructure(const QAbstractItemModel* structureModel, int keyColumn, int parentColumn,
                             int displayColumn)
{
    buildStructureRows(structureModel, keyColumn, parentColumn, displayColumn, false, -1, QVariant());
}

void PdIndex::buildStructureRows(const QAbstractItemModel* structureModel, int keyColumn, int parentColumn,
                                 int displayColumn, bool filtered, int filterColumn, const QVariant& filterValue)
{
    if (!structureModel)
        return;
    if (displayColumn == -1)
        displayColumn = parentColumn;
    EntryLookup lookup(map);
    const int rows = structureModel->rowCount();
    for (int r = 0; r < rows; ++r) {
        if (filtered && structureModel->index(r, filterColumn).data() != filterValue)
            continue;
        const QVariant key = structureModel->index(r, keyColumn).data();
        const QVariant parentKey = structureModel->index(r, parentColumn).data();
        if (!key.isValid() || key == parentKey)
            continue;
        bool inserted = false;
        const auto entry = lookup.findOrInsert(key, &inserted);
        entry->display = displayFor(structureModel->index(r, displayColumn).data());
        // Only a parent met in an earlier row is linked; a node listed before its parent stays on top.
        if (parentKey.isValid() && lookup.find(parentKey) != map.end())
            setParentOf(*entry, key, parentKey);
    }
}

QVariant PdIndex::keyFor(const QModelIndex& index, int role) const
{
    return index.data(role);
}

QVariant PdIndex::displayFor(const QVariant& value) const
{
    return value;
}

void PdIndex::group(int role)
{
    qCInfo(lcIndexTiming).noquote() << Q_FUNC_INFO << "start";
    QElapsedTimer timer;
    timer.start();
    if (model) {
        EntryLookup lookup(map);
        const int rows = model->rowCount();
        for (int r = 0; r < rows; ++r) {
            const QVariant key = keyFor(model->index(r, column), role);
            if (!key.isValid())
                continue;
            bool inserted = false;
            const auto it = lookup.findOrInsert(key, &inserted);
            if (inserted)
                it->display = displayFor(key);
            it->rows.append(r);
        }
    }
    qCInfo(lcIndexTiming).noquote() << Q_FUNC_INFO << "stop:" << timer.elapsed();
}

void PdIndex::setParent(const QVariant& key, const QVariant& parentKey)
{
    setParentOf(map[key], key, parentKey);
}

void PdIndex::setParentOf(PdIndexEntry& entry, const QVariant& key, const QVariant& parentKey)
{
    // Leaving the old parent's list keeps every key in exactly one list, so a moved key is not folded
    // or crossed twice.
    if (entry.parentKey.isValid()) {
        const QString oldText = entry.parentKey.toString();
        auto old = children.find(oldText);
        if (old != children.end()) {
            old->removeOne(key);
            if (old->isEmpty())
                children.erase(old);
        }
    }
    entry.parentKey = parentKey;
    // Taken out of its old parent's list above, the key stands in no list now: appending keeps it
    // once in its parent's list without a search through a parent's many children.
    if (parentKey.isValid())
        children[parentKey.toString()].append(key);
}

void PdIndex::removeKey(const QVariant& key)
{
    const auto it = map.find(key);
    QVariant parentKey;
    if (it != map.end()) {
        parentKey = it->parentKey;
        map.erase(it);
    }
    children.remove(key.toString());
    // Every key stands only in its parent's list, so that is the one list to prune.
    if (parentKey.isValid()) {
        auto list = children.find(parentKey.toString());
        if (list != children.end()) {
            list->removeAll(key);
            if (list->isEmpty())
                children.erase(list);
        }
    } else {
        for (auto list = children.begin(); list != children.end();) {
            list->removeAll(key);
            if (list->isEmpty())
                list = children.erase(list);
            else
                ++list;
        }
    }
}

void PdIndex::limitLevels(int maxLevel)
{
    const QList<QVariant> keys = map.keys();
    QSet<QString> onPath;
    for (const QVariant& key : keys) {
        const auto it = map.constFind(key);
        if (it != map.constEnd() && it->parentKey.isNull())
            fold(key, 1, maxLevel, onPath);
    }
}

void PdIndex::fold(const QVariant& key, int level, int maxLevel, QSet<QString>& onPath)
{
    const QString text = key.toString();
    // A structure with a cycle (duplicate ids in a damaged file) must not recurse forever.
    if (onPath.contains(text))
        return;
    onPath.insert(text);
    const QList<QVariant> childKeys = children.value(text);
    for (const QVariant& child : childKeys) {
        fold(child, level + 1, maxLevel, onPath);
        if (level >= maxLevel) {
            const auto childIt = map.constFind(child);
            if (childIt != map.constEnd()) {
                // Every row stands under one key, so the child's rows are new to the parent.
                const QVector<int> rows = childIt->rows;
                map[key].rows += rows;
            }
            removeKey(child);
        }
    }
    onPath.remove(text);
}

PdIndex PdIndex::combine(const PdIndex& a, const PdIndex& b)
{
    PdIndex result(a.model, a.column);

    // Row -> positions of b's keys, so each leaf of a meets only the keys its rows fall into instead
    // of intersecting with every key of b.
    QVector<QVariant> bKeys;
    QVector<const PdIndexEntry*> bEntries;
    bKeys.reserve(b.map.size());
    bEntries.reserve(b.map.size());
    QMultiHash<int, int> rowToB;
    for (auto it = b.map.cbegin(); it != b.map.cend(); ++it) {
        const int position = bKeys.size();
        bKeys.append(it.key());
        bEntries.append(&it.value());
        for (int row : it->rows)
            rowToB.insert(row, position);
    }
    const bool bStructured = !b.children.isEmpty();

    for (auto it = a.map.cbegin(); it != a.map.cend(); ++it) {
        const QVariant& k1 = it.key();
        const PdIndexEntry& e1 = it.value();
        result.map.insert(k1, e1);
        const QString k1Text = k1.toString();
        if (!a.children.value(k1Text).isEmpty())
            continue;

        QMap<int, QVector<int>> common;
        for (int row : e1.rows) {
            for (auto hit = rowToB.constFind(row); hit != rowToB.constEnd() && hit.key() == row; ++hit)
                common[hit.value()].append(row);
        }
        auto cross = [&](int position, const QVector<int>& rows) {
            const PdIndexEntry& e2 = *bEntries.at(position);
            const QString ck = QStringLiteral("%1x%2").arg(k1Text, bKeys.at(position).toString());
            PdIndexEntry entry;
            entry.rows = rows;
            entry.display = e2.display;
            result.map.insert(ck, entry);
            const QVariant parent = e2.parentKey.isValid()
                ? QVariant(QStringLiteral("%1x%2").arg(k1Text, e2.parentKey.toString()))
                : k1;
            result.setParent(ck, parent);
        };
        if (bStructured) {
            // Every key of a structured b is crossed so that the parents of its nested keys exist.
            for (int position = 0; position < bKeys.size(); ++position)
                cross(position, common.value(position));
        } else {
            for (auto c = common.cbegin(); c != common.cend(); ++c)
                cross(c.key(), c.value());
        }
        result.map[k1].rows.clear();
    }
    return result;
}

PdIndex combine(const PdIndex& a, const PdIndex& b)
{
    return PdIndex::combine(a, b);
}

void PdIndex::keepOneRowPerDate()
{
    if (!model)
        return;
    for (auto entry = map.begin(); entry != map.end(); ++entry) {
        QSet<QDate> seen;
        for (auto row = entry->rows.begin(); row != entry->rows.end();) {
            const QDate date = model->index(*row, column).data().toDate();
            if (seen.contains(date)) {
                row = entry->rows.erase(row);
            } else {
                seen.insert(date);
                ++row;
            }
        }
    }
}

void PdIndex::fillItemModel(QStandardItemModel* itemModel, bool withRows) const
{
    if (!itemModel)
        return;
    QMap<QVariant, QStandardItem*> items;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        auto* item = new QStandardItem;
        item->setData(it->display, Qt::DisplayRole);
        item->setData(it.key(), Qt::UserRole);
        item->setCheckable(true);
        item->setCheckState(Qt::Checked);
        if (withRows && model && children.value(it.key().toString()).isEmpty()) {
            QList<QStandardItem*> rowItems;
            rowItems.reserve(it->rows.size());
            for (int row : it->rows) {
                auto* rowItem = new QStandardItem;
                rowItem->setData(model->index(row, column).data(), Qt::DisplayRole);
                rowItem->setCheckable(true);
                rowItem->setCheckState(Qt::Checked);
                rowItems.append(rowItem);
            }
            item->appendRows(rowItems);
            item->sortChildren(0, Qt::AscendingOrder);
        }
        QStandardItem* parentItem = it->parentKey.isValid() ? items.value(it->parentKey) : nullptr;
        if (!parentItem)
            parentItem = itemModel->invisibleRootItem();
        parentItem->appendRow(item);
        items.insert(it.key(), item);
    }
}
