#include "pdsourcenodetable.h"

#include <QAbstractItemModel>

void PdSourceNodeTable::clear()
{
    m_nodes.clear();
    m_parents.clear();
    m_leaf.clear();
    m_slotById.clear();
    m_slotByKey.clear();
    m_leafCount = 0;
    m_lookup = Lookup::Flat;
}

void PdSourceNodeTable::build(const QAbstractItemModel* model)
{
    clear();
    if (!model)
        return;
    // An explicit stack: a tree from a file may be deeper than the call stack allows.
    struct Pending
    {
        QModelIndex parent;
        int parentSlot;
        int next;
        int count;
    };
    QVector<Pending> stack;
    const int topRows = model->rowCount();
    m_nodes.reserve(topRows);
    m_parents.reserve(topRows);
    m_leaf.reserve(topRows);
    stack.append({QModelIndex(), -1, 0, topRows});
    bool nested = false;
    while (!stack.isEmpty()) {
        Pending& top = stack.last();
        if (top.next >= top.count) {
            stack.removeLast();
            continue;
        }
        const QModelIndex index = model->index(top.next++, 0, top.parent);
        const int parentSlot = top.parentSlot;
        const int slot = m_nodes.size();
        m_nodes.append(index);
        m_parents.append(parentSlot);
        const int children = model->rowCount(index);
        m_leaf.append(children == 0);
        if (children > 0) {
            nested = true;
            stack.append({index, slot, 0, children});
        } else {
            ++m_leafCount;
        }
    }
    if (!nested) {
        m_lookup = Lookup::Flat;
        return;
    }
    // Tree proxies that number their rows by internal id get a plain array; others a hash.
    const int n = m_nodes.size();
    quintptr maxId = 0;
    for (const QModelIndex& index : qAsConst(m_nodes))
        maxId = qMax(maxId, index.internalId());
    if (maxId < quintptr(4) * quintptr(n) + 64) {
        m_slotById.fill(-1, int(maxId) + 1);
        bool distinct = true;
        for (int slot = 0; slot < n && distinct; ++slot) {
            int& entry = m_slotById[int(m_nodes.at(slot).internalId())];
            distinct = entry < 0;
            entry = slot;
        }
        if (distinct) {
            m_lookup = Lookup::ById;
            return;
        }
        m_slotById.clear();
    }
    m_lookup = Lookup::Hashed;
    m_slotByKey.reserve(n);
    for (int slot = 0; slot < n; ++slot) {
        const QModelIndex& index = m_nodes.at(slot);
        m_slotByKey.insert(qMakePair(index.internalId(), index.row()), slot);
    }
}

int PdSourceNodeTable::slotOf(const QModelIndex& index) const
{
    if (!index.isValid() || m_nodes.isEmpty() || index.model() != m_nodes.constFirst().model())
        return -1;
    switch (m_lookup) {
    case Lookup::Flat:
        return index.row() < m_nodes.size() ? index.row() : -1;
    case Lookup::ById: {
        const quintptr id = index.internalId();
        if (id >= quintptr(m_slotById.size()))
            return -1;
        const int slot = m_slotById.at(int(id));
        return slot >= 0 && m_nodes.at(slot).row() == index.row() ? slot : -1;
    }
    case Lookup::Hashed:
        return m_slotByKey.value(qMakePair(index.internalId(), index.row()), -1);
    }
    return -1;
}
