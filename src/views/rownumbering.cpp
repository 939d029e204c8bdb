#include "rownumbering.h"

#include "pdjoinproxymodel.h"
#include "pdmodelutils.h"

#include <QAbstractItemModel>

void RowNumbering::renumber(const QAbstractItemModel *shown,
                            const std::function<int(const QModelIndex &)> &masterRowOf, int masterRows)
{
    const std::size_t rows = std::size_t(std::max(masterRows, 0));
    m_numberOfRow.assign(rows, 0);
    m_outline.assign(rows, 0);
    m_predecessorTexts.assign(std::size_t(m_predecessorRows.rowCount()), QString());
    m_predecessorTextDone.assign(std::size_t(m_predecessorRows.rowCount()), false);
    m_numbered = true;
    if (!shown)
        return;
    struct Pending
    {
        QModelIndex index;
        int outline;
    };
    std::vector<Pending> pending;
    for (int r = shown->rowCount() - 1; r >= 0; --r)
        pending.push_back({shown->index(r, 0), 1});
    int number = 0;
    while (!pending.empty()) {
        const Pending item = pending.back();
        pending.pop_back();
        const int row = masterRowOf(item.index);
        ++number;
        if (row >= 0 && std::size_t(row) < rows) {
            m_numberOfRow[std::size_t(row)] = number;
            m_outline[std::size_t(row)] = item.outline;
        }
        const int children = shown->rowCount(item.index);
        for (int c = children - 1; c >= 0; --c)
            pending.push_back({shown->index(c, 0, item.index), item.outline + 1});
    }
}

void RowNumbering::truncate(int rows)
{
    const std::size_t keep = std::size_t(std::max(rows, 0));
    if (m_numberOfRow.size() > keep) {
        m_numberOfRow.resize(keep);
        m_outline.resize(keep);
    }
}

void RowNumbering::provideTo(PdJoinProxyModel *join, QObject *owner, QAbstractItemModel *relationships,
                             int activityRows)
{
    if (m_join && m_join != join)
        m_join->removeColumnProviders(owner);
    clear();
    m_join = join;
    m_relationships = relationships;
    m_activityRows = activityRows;
    if (!join)
        return;
    const int numberColumn = columnByName(join, QStringLiteral("Row Number"));
    if (numberColumn >= 0)
        join->setColumnProvider(numberColumn, owner, [this](int row) { return number(row); });
    const int outlineColumn = columnByName(join, QStringLiteral("Outline Level"));
    if (outlineColumn >= 0)
        join->setColumnProvider(outlineColumn, owner, [this](int row) { return outline(row); });
    // Without relationships the column keeps whatever the activities hold.
    const int detailsColumn = columnByName(join, QStringLiteral("Predecessors Details Rows"));
    if (detailsColumn >= 0 && relationships && columnByName(join, QStringLiteral("task_id")) >= 0)
        join->setColumnProvider(detailsColumn, owner, [this](int row) { return predecessors(row); });
}

void RowNumbering::readPredecessorRows() const
{
    m_predecessorRowsRead = true;
    m_predecessorRows.read(m_join, m_activityRows, m_relationships);
    m_predecessorTexts.assign(std::size_t(m_predecessorRows.rowCount()), QString());
    m_predecessorTextDone.assign(std::size_t(m_predecessorRows.rowCount()), false);
}

void RowNumbering::clear()
{
    m_numbered = false;
    m_numberOfRow.clear();
    m_outline.clear();
    m_predecessorRows = PredecessorRows();
    m_predecessorRowsRead = false;
    m_predecessorTexts.clear();
    m_predecessorTextDone.clear();
}

QVariant RowNumbering::number(int row) const
{
    const int value = row >= 0 && std::size_t(row) < m_numberOfRow.size() ? m_numberOfRow[std::size_t(row)] : 0;
    return value > 0 ? QVariant(value) : QVariant();
}

QVariant RowNumbering::outline(int row) const
{
    const int value = row >= 0 && std::size_t(row) < m_outline.size() ? m_outline[std::size_t(row)] : 0;
    return value > 0 ? QVariant(value) : QVariant();
}

QVariant RowNumbering::predecessors(int row) const
{
    // Until the first numbering nothing was worked out, as for a row cut
    // since: no text rather than one naming every predecessor 0.
    if (!m_numbered)
        return QVariant();
    if (!m_predecessorRowsRead)
        readPredecessorRows();
    if (row < 0 || std::size_t(row) >= m_predecessorTextDone.size())
        return QVariant();
    const std::size_t r = std::size_t(row);
    if (!m_predecessorTextDone[r]) {
        m_predecessorTexts[r] = m_predecessorRows.text(row, m_numberOfRow);
        m_predecessorTextDone[r] = true;
    }
    return m_predecessorTexts[r];
}
