#pragma once

#include <QHash>
#include <QVector>

namespace mygc {

// Chart rows by task id. Task ids are usually a dense range; then a plain
// vector replaces the hash.
class ChartRowIds
{
public:
    void clear();
    // ids[row] is the id of that row; of rows sharing an id, the last wins.
    void build(const QVector<int> &ids);
    // The row of a task id, or -1.
    int rowOf(int id) const;

private:
    QVector<int> m_dense;
    int m_base = 0;
    QHash<int, int> m_sparse;
};

} // namespace mygc
