#include "valuetablemodel.h"

#include <iterator>
#include <utility>

ValueTableModel::ValueTableModel(int rows, int columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(qMax(0, rows))
{
    m_columns.reserve(std::size_t(qMax(0, columns)));
    for (int c = 0; c < columns; ++c)
        m_columns.push_back(emptyColumn());
}

ValueTableModel::Column ValueTableModel::emptyColumn() const
{
    Column column;
    column.display.reserve(m_rows);
    for (int r = 0; r < m_rows; ++r)
        column.display.appendInvalid();
    return column;
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

QVariant ValueTableModel::read(const Column &column, int row, int role) const
{
    switch (storedRole(role)) {
    case Qt::DisplayRole:
        return column.display.at(row);
    case Qt::UserRole:
        return column.user.at(row);
    default:
        break;
    }
    const auto roles = column.other.find(row);
    return roles == column.other.end() ? QVariant() : roles->second.value(storedRole(role));
}

// Returns whether the cell changed; an equal value of the same type is no change.
bool ValueTableModel::write(Column &column, int row, int role, const QVariant &value)
{
    auto replace = [row, &value](ContainerColumn &cells) {
        const QVariant stored = cells.at(row);
        if (stored.userType() == value.userType() && stored == value)
            return false;
        cells.set(row, value);
        return true;
    };
    switch (storedRole(role)) {
    case Qt::DisplayRole:
        return replace(column.display);
    case Qt::UserRole:
        if (column.user.size() < m_rows && !value.isValid())
            return false;
        column.user.reserve(m_rows);
        while (column.user.size() < m_rows)
            column.user.appendInvalid();
        return replace(column.user);
    default:
        break;
    }
    role = storedRole(role);
    const auto roles = column.other.find(row);
    if (!value.isValid()) {
        if (roles == column.other.end() || !roles->second.contains(role))
            return false;
        roles->second.remove(role);
        if (roles->second.isEmpty())
            column.other.erase(roles);
        return true;
    }
    QVariant &stored = column.other[row][role];
    if (stored.userType() == value.userType() && stored == value)
        return false;
    stored = value;
    return true;
}

QVariant ValueTableModel::data(const QModelIndex &index, int role) const
{
    if (!validIndex(index))
        return QVariant();
    return read(m_columns[std::size_t(index.column())], index.row(), role);
}

bool ValueTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!validIndex(index))
        return false;
    if (write(m_columns[std::size_t(index.column())], index.row(), role, value)) {
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
    Column &cells = m_columns[std::size_t(column)];
    cells.display.set(row, display);
    if (user.isValid() || cells.user.size() == m_rows)
        write(cells, row, Qt::UserRole, user);
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
    const bool horizontal = orientation == Qt::Horizontal;
    const Headers &headers = horizontal ? m_horizontalHeaders : m_verticalHeaders;
    if (section < 0 || section >= (horizontal ? int(m_columns.size()) : m_rows))
        return QVariant();
    const auto header = headers.find(section);
    if (header != headers.end() && !header->second.isEmpty())
        return header->second.value(storedRole(role));
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ValueTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    const bool horizontal = orientation == Qt::Horizontal;
    Headers &headers = horizontal ? m_horizontalHeaders : m_verticalHeaders;
    if (section < 0 || section >= (horizontal ? int(m_columns.size()) : m_rows))
        return false;
    if (value.isValid()) {
        headers[section].insert(storedRole(role), value);
    } else {
        const auto header = headers.find(section);
        if (header != headers.end()) {
            header->second.remove(storedRole(role));
            if (header->second.isEmpty())
                headers.erase(header);
        }
    }
    emit headerDataChanged(orientation, section, section);
    return true;
}

// A copy of `cells` with `count` invalid cells inserted at `row`, or with
// `count` cells removed there. Rows are seldom inserted or removed, so a copy
// through QVariants is cheap enough.
ContainerColumn ValueTableModel::withRows(const ContainerColumn &cells, int row, int count, bool insert)
{
    ContainerColumn result;
    if (cells.size() == 0)
        return result;
    result.reserve(insert ? cells.size() + count : cells.size() - count);
    for (int r = 0; r < row; ++r)
        result.append(cells.at(r));
    if (insert) {
        for (int r = 0; r < count; ++r)
            result.appendInvalid();
    }
    for (int r = insert ? row : row + count; r < cells.size(); ++r)
        result.append(cells.at(r));
    return result;
}

// Moves the headers at and after `section` by `count` sections: down for
// inserted sections, up for removed ones, whose headers go.
void ValueTableModel::shiftSections(Headers &headers, int section, int count, bool insert)
{
    Headers shifted;
    for (auto &[at, roles] : headers) {
        if (at < section)
            shifted.emplace(at, std::move(roles));
        else if (insert)
            shifted.emplace(at + count, std::move(roles));
        else if (at >= section + count)
            shifted.emplace(at - count, std::move(roles));
    }
    headers.swap(shifted);
}

bool ValueTableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row > m_rows)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (Column &column : m_columns) {
        column.display = withRows(column.display, row, count, true);
        column.user = withRows(column.user, row, count, true);
        std::map<int, QMap<int, QVariant>> other;
        for (auto &[at, roles] : column.other)
            other.emplace(at < row ? at : at + count, std::move(roles));
        column.other.swap(other);
    }
    shiftSections(m_verticalHeaders, row, count, true);
    m_rows += count;
    endInsertRows();
    return true;
}

bool ValueTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || row < 0 || row + count > m_rows)
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (Column &column : m_columns) {
        column.display = withRows(column.display, row, count, false);
        column.user = withRows(column.user, row, count, false);
        std::map<int, QMap<int, QVariant>> other;
        for (auto &[at, roles] : column.other) {
            if (at < row)
                other.emplace(at, std::move(roles));
            else if (at >= row + count)
                other.emplace(at - count, std::move(roles));
        }
        column.other.swap(other);
    }
    shiftSections(m_verticalHeaders, row, count, false);
    m_rows -= count;
    endRemoveRows();
    return true;
}

bool ValueTableModel::insertColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || column < 0 || column > int(m_columns.size()))
        return false;
    beginInsertColumns(QModelIndex(), column, column + count - 1);
    std::vector<Column> added;
    for (int c = 0; c < count; ++c)
        added.push_back(emptyColumn());
    m_columns.insert(m_columns.begin() + column, std::make_move_iterator(added.begin()),
                     std::make_move_iterator(added.end()));
    shiftSections(m_horizontalHeaders, column, count, true);
    endInsertColumns();
    return true;
}

bool ValueTableModel::removeColumns(int column, int count, const QModelIndex &parent)
{
    if (parent.isValid() || count < 1 || column < 0 || column + count > int(m_columns.size()))
        return false;
    beginRemoveColumns(QModelIndex(), column, column + count - 1);
    m_columns.erase(m_columns.begin() + column, m_columns.begin() + column + count);
    shiftSections(m_horizontalHeaders, column, count, false);
    endRemoveColumns();
    return true;
}
