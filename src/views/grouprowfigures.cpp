#include "grouprowfigures.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QSignalBlocker>

void GroupRowFigures::writeGroupDates(QAbstractItemModel *model, const PdParentItemProxyModel::ParentMap &map,
                                      int firstGroupRow, const QList<int> &columns, const QList<bool> &earliest)
{
    const int rows = model->rowCount();
    if (firstGroupRow >= rows)
        return;
    // Children before parents, read from the parent map rather than walked
    // through the shown tree: a sort on a date column reorders the tree while
    // its dates are written, and a walk would then skip or repeat groups.
    std::vector<int> order;
    std::vector<bool> seen(std::size_t(rows - firstGroupRow), false);
    std::vector<std::pair<int, bool>> pending{{-1, false}};
    while (!pending.empty()) {
        const auto [row, childrenDone] = pending.back();
        pending.pop_back();
        if (childrenDone) {
            if (row >= firstGroupRow)
                order.push_back(row);
            continue;
        }
        pending.push_back({row, true});
        const auto it = map.constFind(row);
        if (it == map.constEnd())
            continue;
        for (int child : *it) {
            // A group listed twice is taken once, so a damaged map cannot loop.
            if (child >= firstGroupRow && child < rows && !seen[std::size_t(child - firstGroupRow)]) {
                seen[std::size_t(child - firstGroupRow)] = true;
                pending.push_back({child, false});
            }
        }
    }

    // Each group's children copied once into one flat list for all columns:
    // walking the map's lists again per column meets a cache miss per group.
    std::vector<int> childStart(order.size() + 1, 0);
    std::vector<int> childRows;
    childRows.reserve(std::size_t(rows));
    for (std::size_t k = 0; k < order.size(); ++k) {
        const auto it = map.constFind(order[k]);
        if (it != map.constEnd()) {
            for (int child : *it) {
                if (child >= 0 && child < rows)
                    childRows.push_back(child);
            }
        }
        childStart[k + 1] = int(childRows.size());
    }

    const QSignalBlocker blocker(model);
    for (int i = 0; i < columns.size(); ++i) {
        const int column = columns.at(i);
        const bool takeEarliest = earliest.value(i);
        std::vector<QDateTime> values(std::size_t(rows - firstGroupRow));
        for (std::size_t k = 0; k < order.size(); ++k) {
            QDateTime best;
            for (int c = childStart[k]; c < childStart[k + 1]; ++c) {
                const int child = childRows[std::size_t(c)];
                const QDateTime value = child >= firstGroupRow ? values[std::size_t(child - firstGroupRow)]
                                                               : model->index(child, column).data().toDateTime();
                if (value.isValid() && (!best.isValid() || (takeEarliest ? value < best : value > best)))
                    best = value;
            }
            values[std::size_t(order[k] - firstGroupRow)] = best;
        }
        // Every group is written, a group without dates too, so no group
        // keeps a date from an earlier grouping.
        for (int row : order) {
            const QDateTime &value = values[std::size_t(row - firstGroupRow)];
            model->setData(model->index(row, column), value.isValid() ? QVariant(value) : QVariant(),
                           Qt::DisplayRole);
        }
    }
}
