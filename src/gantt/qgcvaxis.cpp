#include "qgcvaxis.h"

#include <algorithm>

namespace mygc {

QGCVAxis::QGCVAxis(QWidget *parent)
    : QWidget(parent)
{
    hide();
}

int QGCVAxis::rowCount() const
{
    return m_heights.size();
}

int QGCVAxis::rowHeight(int row) const
{
    return row >= 0 && row < m_heights.size() ? m_heights.at(row) : 0;
}

int QGCVAxis::addRow(int height)
{
    m_tops.append(totalHeight());
    m_heights.append(height);
    return m_heights.size() - 1;
}

void QGCVAxis::setRows(const QVector<int> &heights)
{
    clear();
    reserve(heights.size());
    for (int h : heights)
        addRow(h);
}

void QGCVAxis::setRowHeight(int row, int height)
{
    if (row < 0 || row >= m_heights.size())
        return;
    const int delta = height - m_heights.at(row);
    m_heights[row] = height;
    for (int r = row + 1; r < m_tops.size(); ++r)
        m_tops[r] += delta;
}

int QGCVAxis::rowAt(int y) const
{
    if (y < 0 || y >= totalHeight())
        return -1;
    const auto it = std::upper_bound(m_tops.cbegin(), m_tops.cend(), y);
    return int(it - m_tops.cbegin()) - 1;
}

int QGCVAxis::rowTop(int row) const
{
    return row >= 0 && row < m_tops.size() ? m_tops.at(row) : -1;
}

int QGCVAxis::totalHeight() const
{
    return m_tops.isEmpty() ? 0 : m_tops.last() + m_heights.last();
}

void QGCVAxis::clear()
{
    m_tops.clear();
    m_heights.clear();
}

void QGCVAxis::setUniformRows(int count, int height)
{
    m_heights.fill(height, count);
    m_tops.resize(count);
    for (int r = 0; r < count; ++r)
        m_tops[r] = r * height;
}

void QGCVAxis::reserve(int rows)
{
    m_tops.reserve(rows);
    m_heights.reserve(rows);
}

} // namespace mygc
