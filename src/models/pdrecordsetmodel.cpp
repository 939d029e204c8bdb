#include "pdrecordsetmodel.h"

#include <QStringList>

PdRecordSetModel::PdRecordSetModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int PdRecordSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int PdRecordSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : headers.size();
}

bool PdRecordSetModel::inRange(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && index.row() < rows.size() && index.column() < headers.size();
}

QVariant PdRecordSetModel::data(const QModelIndex& index, int role) const
{
    if (!inRange(index))
        return QVariant();
    return rows.at(index.row()).value(index.column()).value(role);
}

bool PdRecordSetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!inRange(index))
        return false;
    rows[index.row()][index.column()].insert(role, value);
    emit dataChanged(index, index, {role});
    return true;
}

QVariant PdRecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return section + 1;
    return headers.value(section).value(role);
}

bool PdRecordSetModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal)
        return false;
    if (!headers.contains(section)) {
        // A new section is a new column: views must hear of it before data() answers for it.
        const int column = headers.size();
        beginInsertColumns(QModelIndex(), column, column);
        headers[section].insert(role, value);
        endInsertColumns();
    } else {
        headers[section].insert(role, value);
    }
    // A section keyed past the column count has no column of its own to announce.
    if (section < headers.size())
        emit headerDataChanged(Qt::Horizontal, section, section);
    return true;
}

Qt::ItemFlags PdRecordSetModel::flags(const QModelIndex& index) const
{
    // The root is no cell; item views and model checkers expect it to carry no flags.
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

bool PdRecordSetModel::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || row > rows.size() || count < 1)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    rows.insert(row, count, Row());
    endInsertRows();
    return true;
}

bool PdRecordSetModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || row >= rows.size() || count < 1)
        return false;
    const int last = qMin(row + count - 1, rows.size() - 1);
    beginRemoveRows(QModelIndex(), row, last);
    rows.remove(row, last - row + 1);
    endRemoveRows();
    return true;
}

namespace {

// Moves every key at or above `from` by `delta`, so sections and cells stay aligned after a column
// is inserted or removed in the middle.
template <typename T>
void shiftKeys(QMap<int, T>& map, int from, int delta)
{
    QMap<int, T> shifted;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        shifted.insert(it.key() >= from ? it.key() + delta : it.key(), it.value());
    map.swap(shifted);
}

} // namespace

bool PdRecordSetModel::insertColumns(int column, int count, const QModelIndex& parent)
{
    if (parent.isValid() || column < 0 || column > headers.size() || count < 1)
        return false;
    beginInsertColumns(QModelIndex(), column, column + count - 1);
    if (column < headers.size()) {
        shiftKeys(headers, column, count);
        for (Row& row : rows)
            shiftKeys(row, column, count);
    }
    for (int section = column; section < column + count; ++section)
        headers.insert(section, Cell());
    endInsertColumns();
    return true;
}

bool PdRecordSetModel::removeColumns(int column, int count, const QModelIndex& parent)
{
    if (parent.isValid() || column < 0 || column >= headers.size() || count < 1)
        return false;
    const int last = qMin(column + count - 1, headers.size() - 1);
    for (int section = column; section <= last; ++section) {
        if (!headers.contains(section))
            return false;
    }
    const int removed = last - column + 1;
    beginRemoveColumns(QModelIndex(), column, last);
    for (int section = column; section <= last; ++section)
        headers.remove(section);
    shiftKeys(headers, last + 1, -removed);
    for (Row& row : rows) {
        for (int section = column; section <= last; ++section)
            row.remove(section);
        shiftKeys(row, last + 1, -removed);
    }
    endRemoveColumns();
    return true;
}

void PdRecordSetModel::setRecordSet(const QVariantList& records)
{
    beginResetModel();
    if (!records.isEmpty()) {
        rows.clear();
        QStringList names;
        int first = 0;
        const QVariant& head = records.first();
        if (head.canConvert<QVariantMap>()) {
            names = head.toMap().keys();
        } else if (head.canConvert<QVariantList>()) {
            names = head.toStringList();
            first = 1;
        }
        headers.clear();
        for (int i = 0; i < names.size(); ++i)
            headers[i].insert(Qt::DisplayRole, names.at(i));
        rows.reserve(records.size() - first);
        for (int r = first; r < records.size(); ++r) {
            const QVariantMap record = records.at(r).toMap();
            Row row;
            for (int i = 0; i < names.size(); ++i)
                row[i].insert(Qt::DisplayRole, record.value(names.at(i)));
            rows.append(row);
        }
    }
    endResetModel();
}
