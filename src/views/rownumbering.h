#pragma once

#include "predecessorrows.h"

#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class PdJoinProxyModel;
class QAbstractItemModel;
class QModelIndex;
class QObject;

// The row number and outline level of every master row in the order the
// tree shows them, and each activity's predecessors by those numbers. The
// figures stay here and are read on demand: a renumbering after a sort is
// one pass over the shown rows, not a write into each activity's cells.
class RowNumbering
{
public:
    // Starts afresh for a new project and has the join read "Row Number",
    // "Outline Level" and "Predecessors Details Rows" from here while `owner`
    // lives. The predecessors of the first `activityRows` rows are read from
    // `relationships` when first asked for.
    void provideTo(PdJoinProxyModel *join, QObject *owner, QAbstractItemModel *relationships, int activityRows);
    // Numbers every shown row in pre-order from 1 (and its outline level
    // from 1 at the top); rows not shown have no number.
    void renumber(const QAbstractItemModel *shown, const std::function<int(const QModelIndex &)> &masterRowOf,
                  int masterRows);
    // Master rows from `rows` on were cut and lose their figures.
    void truncate(int rows);
    void clear();

    QVariant number(int row) const;
    QVariant outline(int row) const;
    // "Predecessors Details Rows" of an activity row; nothing for other rows.
    QVariant predecessors(int row) const;

    const std::vector<int> &numberOfRow() const { return m_numberOfRow; }

private:
    void readPredecessorRows() const;

    QPointer<PdJoinProxyModel> m_join;
    QPointer<QAbstractItemModel> m_relationships;
    int m_activityRows = 0;
    std::vector<int> m_numberOfRow;
    std::vector<int> m_outline;
    bool m_numbered = false;
    // Read once per project, and only once the column is asked for: a large
    // project spends a moment on its relationships.
    mutable PredecessorRows m_predecessorRows;
    mutable bool m_predecessorRowsRead = false;
    // Built on first read after each renumbering: a sort by this column reads
    // each row's text many times.
    mutable std::vector<QString> m_predecessorTexts;
    mutable std::vector<bool> m_predecessorTextDone;
};
