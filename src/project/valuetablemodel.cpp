#include "valuetablemodel.h"

#include <iterator>

ValueTableModel::ValueTableModel(int rows, int columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(qMax(0, rows))
    , m_horizontalHeaders(std::size_t(qMax(0, columns)))
    , m_verticalHeaders(std::size_t(m_rows))
{
    m_columns.resize(std::size_t(qMax(0, columns)));
    for (Column &column : m_columns)
        column.resize(std::size_t(m_rows));
}

ValueTableModel::~ValueTableModel() = default;

int ValueTableModel::rowCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return parent.isValid() ? 0 : m_rows;
}

int ValueTableModel::columnCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool ValueTableModel::validIndex(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    return index.isValid() && index.row() < m_rows && index.column() < int(m_columns.size());
}

QVariant ValueTableModel::read(const Cell &cell, int role)
{
    switch (storedRole(role)) {
    case Qt::DisplayRole:
        return cell.display;
    case Qt::UserRole:
        return cell.user;
    default:
        return cell.other ? cell.other->value(storedRole(role)) : QVariant();
    }
}

// Returns whether the cell changed; an equal value of the same type is no change.
bool ValueTableModel::write(Cell &cell, int role, const QVariant &value)
{
    auto replace = [&value](QVariant &stored) {
        if (stored.userType() == value.userType() && stored == value)
            return false;
        stored = value;
        return true;
    };
    switch (storedRole(role)) {
    case Qt::DisplayRole:
        return replace(cell.display);
    case Qt::UserRole:
        return replace(cell.user);
    default:
        break;
    }
    if (!value.isValid()) {
        if (!cell.other || !cell.other->contains(role))
            return false;
        cell.other->remove(role);
        return true;
    }
    if (!cell.other)
        cell.other = std::make_unique<QMap<int, QVariant>>();
    return replace((*cell.other)[role]);
}

QVariant ValueTableModel::data(const QModelIndex &index, int role) const
{
    if (!validIndex(index))
        return QVariant();
    return read(m_columns[std::size_t(index.column())][std::size_t(index.row())], role);
}

bool ValueTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!validIndex(index))
        return false;
    Cell &cell = m_columns[std::size_t(index.column())][std::size_t(index.row())];
    if (write(cell, role, value)) {
        const int stored = storedRole(role);
        emit dataChanged(index, index,
                         stored == Qt::DisplayRole ? QVector<int>{Qt::DisplayRole, Qt::EditRole} : QVector<int>{stored});
    }
    return true;
}

void ValueTableModel::setCell(int row, int column, const QVariant &display, const QVariant &user)
{
    if (row < 0 || row >= m_rows || column < 0 || column >= int(m_columns.size()))
        return;
    Cell &cell = m_columns[std::size_t(column)][std::size_t(row)];
    cell.display = display;
    cell.user = user;
}

Qt::ItemFlags ValueTableModel::flags(const QModelIndex &index) const
{
    if (!validIndex(index))
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
        | Qt::ItemIsDropEnabled;
}

QVariant ValueTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const auto &headers = orientation == Qt::Horizontal ? m_horizontalHeaders : m_verticalHeaders;
    if (section < 0 || section >= int(headers.size()))
        return QVariant();
    if (!headers[std::size_t(section)].isEmpty())
        return headers[std::size_t(section)].value(storedRole(role));
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ValueTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    auto &headers = orientation == Qt::Horizontal ? m_horizontalHeaders : m_verticalHeaders;
    if (section < 0 || section >= int(headers.size()))
        return false;
    QMap<int, QVariant> &header = headers[std::size_t(section)];
    if (value.isValid())
        header.insert(storedRole(role), value);
    else
        header.remove(storedRole(role));
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool ValueTableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row > m_rows)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (Column &column : m_columns) {
        Column added(static_cast<std::size_t>(count));
        column.insert(column.begin() + row, std::make_move_iterator(added.begin()),
                      std::make_move_iterator(added.end()));
    }
    m_verticalHeaders.insert(m_verticalHeaders.begin() + row, std::size_t(count), QMap<int, QVariant>());
    m_rows += count;
    endInsertRows();
    return true;
}

bool ValueTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > m_rows)
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (Column &column : m_columns)
        column.erase(column.begin() + row, column.begin() + row + count);
    m_verticalHeaders.erase(m_verticalHeaders.begin() + row, m_verticalHeaders.begin() + row + count);
    m_rows -= count;
    endRemoveRows();
    return true;
}

bool ValueTableModel::insertColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || column < 0 || column > int(m_columns.size()))
        return false;
    beginInsertColumns(QModelIndex(), column, column + count - 1);
    std::vector<Column> added(static_cast<std::size_t>(count));
    for (Column &cells : added)
        cells.resize(std::size_t(m_rows));
    m_columns.insert(m_columns.begin() + column, std::make_move_iterator(added.begin()),
                     std::make_move_iterator(added.end()));
    m_horizontalHeaders.insert(m_horizontalHeaders.begin() + column, std::size_t(count), QMap<int, QVariant>());
    endInsertColumns();
    return true;
}

bool ValueTableModel::removeColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || column < 0 || column + count > int(m_columns.size()))
        return false;
    beginRemoveColumns(QModelIndex(), column, column + count - 1);
    m_columns.erase(m_columns.begin() + column, m_columns.begin() + column + count);
    m_horizontalHeaders.erase(m_horizontalHeaders.begin() + column, m_horizontalHeaders.begin() + column + count);
    endRemoveColumns();
    return true;
}
