#ifndef PDSOURCENODETABLE_H
#define PDSOURCENODETABLE_H

#include <QHash>
#include <QModelIndex>
#include <QPair>
#include <QVector>

class QAbstractItemModel;

// Every row of a model's tree in pre-order, each with a slot number that an index of that model
// finds again in constant time. The filter proxy keeps its per-row flags and sort ranks in slots,
// so a filter test or a comparison is an array lookup instead of a walk or a data() call.
class PdSourceNodeTable
{
public:
    void build(const QAbstractItemModel* model);
    void clear();

    int size() const { return m_nodes.size(); }
    // -1 for an index this table does not know (another model, or a row added since the build).
    int slotOf(const QModelIndex& index) const;
    const QModelIndex& indexAt(int slot) const { return m_nodes.at(slot); }
    int parentOf(int slot) const { return m_parents.at(slot); }
    bool isLeaf(int slot) const { return m_leaf.at(slot); }
    int leafCount() const { return m_leafCount; }

private:
    enum class Lookup { Flat, ById, Hashed };

    QVector<QModelIndex> m_nodes;
    QVector<int> m_parents;
    QVector<bool> m_leaf;
    int m_leafCount = 0;
    Lookup m_lookup = Lookup::Flat;
    QVector<int> m_slotById;
    // Rows under different parents share row numbers, and what tells the parents apart is the
    // index's internal id; together the two name one row in every model Qt or this program makes.
    QHash<QPair<quintptr, int>, int> m_slotByKey;
};

#endif // PDSOURCENODETABLE_H
