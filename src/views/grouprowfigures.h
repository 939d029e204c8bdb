#pragma once

#include "pdparentitemproxymodel.h"

#include <QList>

#include <vector>

class QAbstractItemModel;

// The dates of group rows gathered from their children, written into the
// grouped activity model with its signals blocked; the caller repaints once.
class GroupRowFigures
{
public:
    // For each column, the earliest (or latest) valid date of each group's
    // children, groups below it included, written to every group row from
    // `firstGroupRow` on; a group without dates gets an empty value.
    static void writeGroupDates(QAbstractItemModel *model, const PdParentItemProxyModel::ParentMap &map,
                                int firstGroupRow, const QList<int> &columns, const QList<bool> &earliest);
};
