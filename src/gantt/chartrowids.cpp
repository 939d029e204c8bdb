#include "chartrowids.h"

#include <algorithm>

namespace mygc {

void ChartRowIds::clear()
{
    m_dense.clear();
    m_sparse.clear();
}

void ChartRowIds::build(const QVector<int> &ids)
{
    clear();
    const int rows = ids.size();
    if (rows == 0)
        return;
    const auto [lo, hi] = std::minmax_element(ids.cbegin(), ids.cend());
    const qint64 range = qint64(*hi) - *lo + 1;
    if (range <= 4 * qint64(rows) + 1024) {
        m_base = *lo;
        m_dense.fill(-1, int(range));
        for (int r = 0; r < rows; ++r)
            m_dense[ids.at(r) - m_base] = r;
    } else {
        m_sparse.reserve(rows);
        for (int r = 0; r < rows; ++r)
            m_sparse.insert(ids.at(r), r);
    }
}

int ChartRowIds::rowOf(int id) const
{
    if (!m_dense.isEmpty()) {
        const qint64 i = qint64(id) - m_base;
        return i >= 0 && i < m_dense.size() ? m_dense.at(int(i)) : -1;
    }
    return m_sparse.value(id, -1);
}

} // namespace mygc
