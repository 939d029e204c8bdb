#include "chartspan.h"

#include "chartarea.h"
#include "dateaxis.h"

#include <QAbstractItemModel>
#include <QDateTime>

#include <algorithm>
#include <vector>

namespace mygc {

ChartSpan::ChartSpan(QObject *parent)
    : QObject(parent)
{
}

void ChartSpan::setModel(QAbstractItemModel *model)
{
    for (const auto &c : qAsConst(m_connections))
        disconnect(c);
    m_connections.clear();
    m_model = model;
    m_dirty = true;
    if (!model)
        return;
    const auto dirty = [this] { m_dirty = true; };
    using M = QAbstractItemModel;
    m_connections << connect(model, &M::modelReset, this, dirty) << connect(model, &M::layoutChanged, this, dirty)
                  << connect(model, &M::rowsInserted, this, &ChartSpan::rowsInserted)
                  << connect(model, &M::rowsRemoved, this, &ChartSpan::rowsRemoved)
                  << connect(model, &M::dataChanged, this, dirty);
}

void ChartSpan::setColumns(int startColumn, int finishColumn)
{
    m_startColumn = startColumn;
    m_finishColumn = finishColumn;
    m_dirty = true;
}

// Group rows come and go at the end of the model without dates of their own
// (theirs are written quietly and lie within their activities'); such rows
// leave the span as it is.
void ChartSpan::rowsInserted(const QModelIndex &parent, int first, int last)
{
    if (m_dirty || parent.isValid() || first != m_rows) {
        m_dirty = true;
        return;
    }
    for (int r = first; r <= last && !m_dirty; ++r) {
        if (datesOf(r).valid)
            m_dirty = true;
    }
    m_rows += last - first + 1;
}

void ChartSpan::rowsRemoved(const QModelIndex &parent, int first, int last)
{
    if (m_dirty || parent.isValid() || first <= m_lastDatedRow || last >= m_rows) {
        m_dirty = true;
        return;
    }
    m_rows -= last - first + 1;
}

ChartSpan::Dates ChartSpan::datesOf(int row) const
{
    const QDateTime start = m_model->index(row, m_startColumn).data().toDateTime();
    const QDateTime finish = m_model->index(row, m_finishColumn).data().toDateTime();
    Dates dates;
    if (!start.isValid() || !finish.isValid())
        return dates;
    dates.start = DateAxis::wallMSecs(start);
    dates.finish = DateAxis::wallMSecs(finish);
    dates.valid = dates.finish >= dates.start;
    return dates;
}

const ChartSpan::Span &ChartSpan::span()
{
    if (!m_dirty)
        return m_span;
    m_dirty = false;
    m_span = Span();
    m_rows = m_model ? m_model->rowCount() : 0;
    m_lastDatedRow = -1;
    std::vector<QPair<qint64, qint64>> dated;
    const int columns = m_model ? m_model->columnCount() : 0;
    if (m_startColumn >= 0 && m_finishColumn >= 0 && m_startColumn < columns && m_finishColumn < columns) {
        dated.reserve(std::size_t(m_rows));
        for (int r = 0; r < m_rows; ++r) {
            const Dates dates = datesOf(r);
            if (!dates.valid)
                continue;
            dated.push_back({dates.start, dates.finish});
            m_lastDatedRow = r;
        }
    }
    if (dated.empty())
        return m_span;
    const auto middle = dated.begin() + std::ptrdiff_t(dated.size() / 2);
    std::nth_element(dated.begin(), middle, dated.end());
    m_span.reference = middle->first;
    for (const auto &d : dated) {
        for (const qint64 at : {d.first, d.second}) {
            if (!ChartArea::isPlausible(at, m_span.reference))
                continue;
            m_span.first = m_span.valid ? std::min(m_span.first, at) : at;
            m_span.last = m_span.valid ? std::max(m_span.last, at) : at;
            m_span.valid = true;
        }
    }
    return m_span;
}

} // namespace mygc
