#pragma once

#include "pdparentitemproxymodel.h"

#include <QList>

#include <functional>
#include <vector>

class QAbstractItemModel;
class QModelIndex;

// The figures written into the rows of a grouped activity model: row
// numbers and outline levels in the order shown, and the dates of group
// rows gathered from their children. Writes go to the activity model with
// its signals blocked; the caller repaints once.
class GroupRowFigures
{
public:
    // Numbers every shown row in pre-order from 1 (and its outline level
    // from 1 at the top) and clears the numbers of rows not shown. Returns
    // each master row's number, 0 for a row not shown.
    static std::vector<int> writeRowNumbers(QAbstractItemModel *model, const QAbstractItemModel *shown,
                                            const std::function<int(const QModelIndex &)> &masterRowOf,
                                            int rowNumberColumn, int outlineColumn);

    // For each column, the earliest (or latest) valid date of each group's
    // children, groups below it included, written to every group row from
    // `firstGroupRow` on; a group without dates gets an empty value.
    static void writeGroupDates(QAbstractItemModel *model, const PdParentItemProxyModel::ParentMap &map,
                                int firstGroupRow, const QList<int> &columns, const QList<bool> &earliest);
};
