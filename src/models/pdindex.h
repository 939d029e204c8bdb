#ifndef PDINDEX_H
#define PDINDEX_H

#include "pdvariantorder.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QModelIndex>
#include <QSet>
#include <QVariant>
#include <QVector>

class QAbstractItemModel;
class QStandardItemModel;

struct PdIndexEntry
{
    // Each row once, in the order met: a vector rather than a set, as one
    // entry per activity of a large project made grouping pay a hash node each.
    QVector<int> rows;
    QVariant parentKey;
    QVariant display;
};

// Groups the top-level rows of a flat model by the value of one column. Keys may form a tree (WBS
// nodes, activity codes) and two indexes can be crossed into one with combine().
class PdIndex
{
public:
    PdIndex() = default;
    PdIndex(const QAbstractItemModel* model, int column);
    virtual ~PdIndex() = default;
    PdIndex(const PdIndex&) = default;
    PdIndex& operator=(const PdIndex&) = default;

    virtual void buildStructure(const QAbstractItemModel* structureModel, int keyColumn, int parentColumn,
                                int displayColumn = -1);
    virtual QVariant keyFor(const QModelIndex& index, int role) const;
    virtual QVariant displayFor(const QVariant& value) const;

    void group(int role);
    void setParent(const QVariant& key, const QVariant& parentKey);
    void removeKey(const QVariant& key);
    void limitLevels(int maxLevel);
    void keepOneRowPerDate();
    void fillItemModel(QStandardItemModel* itemModel, bool withRows) const;

    static PdIndex combine(const PdIndex& a, const PdIndex& b);

    QMap<QVariant, PdIndexEntry> map;
    const QAbstractItemModel* model = nullptr;
    int column = -1;
    QHash<QString, QList<QVariant>> children;

protected:
    // The structure walk shared by every kind; rows whose filterColumn cell differs from filterValue
    // are skipped when filterColumn is given.
    void buildStructureRows(const QAbstractItemModel* structureModel, int keyColumn, int parentColumn,
                            int displayColumn, bool filtered, int filterColumn, const QVariant& filterValue);

private:
    void setParentOf(PdIndexEntry& entry, const QVariant& key, const QVariant& parentKey);
    void fold(const QVariant& key, int level, int maxLevel, QSet<QString>& onPath);
};

PdIndex combine(const PdIndex& a, const PdIndex& b);

#endif // PDINDEX_H
