#include "predecessorrows.h"

#include "pdmodelutils.h"
#include "projectmodels.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QMap>

void PredecessorRows::read(const QAbstractItemModel *activities, int activityRows,
                           const QAbstractItemModel *relationships)
{
    m_rows.clear();
    if (!activities || !relationships)
        return;
    const int taskIdColumn = columnByName(activities, QStringLiteral("task_id"));
    const int activityIdColumn = columnByName(activities, QStringLiteral("Activity ID"));
    const int relTask = columnByName(relationships, QStringLiteral("task_id"));
    const int relType = columnByName(relationships, QStringLiteral("Type"));
    const int relLag = columnByName(relationships, QStringLiteral("Lag"));
    const int relPredecessor = relationships->columnCount() - 2;
    if (taskIdColumn < 0 || relTask < 0 || relType < 0 || relPredecessor < 0)
        return;
    QHash<qlonglong, int> rowOfTask;
    QHash<QString, int> rowOfActivity;
    for (int row = 0; row < activityRows; ++row) {
        rowOfTask.insert(activities->index(row, taskIdColumn).data().toLongLong(), row);
        if (activityIdColumn >= 0)
            rowOfActivity.insert(activities->index(row, activityIdColumn).data().toString(), row);
    }
    QVector<QMap<QString, QString>> byRow(activityRows);
    for (int r = 0; r < relationships->rowCount(); ++r) {
        const QString predecessor = relationships->index(r, relPredecessor).data().toString();
        const QVariant type = relationships->index(r, relType).data();
        if (predecessor.isEmpty() || type.toString().isEmpty())
            continue;
        const auto row = rowOfTask.constFind(relationships->index(r, relTask).data().toLongLong());
        if (row == rowOfTask.constEnd())
            continue;
        // The lag as the project models write it: rounded hours, none for zero.
        byRow[*row].insert(predecessor,
                           ProjectModels::relationshipText(
                               type, relLag >= 0 ? relationships->index(r, relLag).data() : QVariant()));
    }
    m_rows.resize(activityRows);
    for (int row = 0; row < activityRows; ++row) {
        const QMap<QString, QString> &entries = byRow.at(row);
        for (auto it = entries.cbegin(); it != entries.cend(); ++it)
            m_rows[row].append(qMakePair(rowOfActivity.value(it.key(), -1), it.value()));
    }
}

QString PredecessorRows::text(int row, const std::vector<int> &numberOfRow) const
{
    QString text;
    if (row < 0 || row >= m_rows.size())
        return text;
    for (const auto &predecessor : m_rows.at(row)) {
        if (!text.isEmpty())
            text += QLatin1String(", ");
        const int number = predecessor.first >= 0 && predecessor.first < int(numberOfRow.size())
            ? numberOfRow[std::size_t(predecessor.first)]
            : 0;
        text += QString::number(number) + predecessor.second;
    }
    return text;
}
