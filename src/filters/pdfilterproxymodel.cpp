#include "pdfilterproxymodel.h"

PdFilterProxyModel::PdFilterProxyModel(QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setFilterKeyColumn(0);
    setRecursiveFilteringEnabled(true);
    setDynamicSortFilter(false);
}

void PdFilterProxyModel::setSearchText(const QString& text)
{
    if (text == m_search)
        return;
    m_search = text;
    // A layout change, not one removal per hidden run: a list of 200,000 values would otherwise
    // send the view thousands of signals per key stroke.
    invalidate();
}

Qt::ItemFlags PdFilterProxyModel::flags(const QModelIndex& index) const
{
    return QSortFilterProxyModel::flags(index) & ~Qt::ItemIsEditable;
}

bool PdFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (m_search.isEmpty() || (!sourceParent.isValid() && sourceRow == 0))
        return true;
    const QAbstractItemModel* model = sourceModel();
    const QModelIndex item = model->index(sourceRow, 0, sourceParent);
    for (QModelIndex at = item; at.isValid(); at = at.parent()) {
        if (at.data().toString().contains(m_search, Qt::CaseInsensitive))
            return true;
    }
    return false;
}
