#pragma once

#include <QPair>
#include <QString>
#include <QVector>

#include <vector>

class QAbstractItemModel;

// The predecessors of each activity row as "Predecessors Details Rows"
// lists them: the predecessor's row number followed by its relation ("12FS",
// "7SS+8h"), in ascending order of the predecessors' activity ids.
class PredecessorRows
{
public:
    // Reads the relationships of the first `activityRows` rows of the
    // activity model; the relationship model names each predecessor by its
    // activity id in its second-to-last column.
    void read(const QAbstractItemModel *activities, int activityRows, const QAbstractItemModel *relationships);
    int rowCount() const { return m_rows.size(); }
    // A predecessor without a number (not shown) reads 0.
    QString text(int row, const std::vector<int> &numberOfRow) const;

private:
    // Per activity row: (predecessor's row or -1, relation text).
    QVector<QVector<QPair<int, QString>>> m_rows;
};
