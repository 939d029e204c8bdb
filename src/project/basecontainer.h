#pragma once

#include "containercolumn.h"
#include "icontainer.h"

#include <QMap>
#include <QVector>

// Implements the whole container interface; each concrete container derives
// from BaseContainer<itself> so that every table type is a distinct class.
//
// The column descriptors are held per instance rather than per type: a
// per-type catalogue would be written by whichever worker thread loads first
// and read by every other thread without a lock, and it would keep the
// columns of the first catalogue document for the rest of the program's
// life. The descriptors are implicitly shared QVariantMaps, so holding them
// per instance costs a few pointers, and a container can never end up with
// the schema's columns twice.
//
// Cells are kept column by column in typed storage (ContainerColumn); a row
// is assembled only when asked for, one value at a time.
template<typename T>
class BaseContainer : public IContainer
{
public:
    void addColumn(const QVariantMap &descriptor) override
    {
        const int index = m_columns.size();
        m_columns.append(descriptor);
        m_byId.insert(descriptor.value(QStringLiteral("id")).toString(), index);
        m_byDisplay.insert(descriptor.value(QStringLiteral("display")).toString(), index);
        // A column added after rows exist gives every row an invalid cell.
        m_cells.emplace_back();
        for (int r = 0; r < m_rowCount; ++r)
            m_cells.back().appendInvalid();
    }

    void setColumns(const QVariantList &descriptors) override
    {
        for (const QVariant &descriptor : descriptors)
            addColumn(descriptor.toMap());
    }

    int columnCount() const override { return m_columns.size(); }

    QVariant columnDisplay(int column) const override { return descriptorValue(column, QStringLiteral("display")); }
    QVariant columnId(int column) const override { return descriptorValue(column, QStringLiteral("id")); }
    QVariant columnDatatype(int column) const override { return descriptorValue(column, QStringLiteral("datatype")); }
    QVariant columnGroup(int column) const override { return descriptorValue(column, QStringLiteral("group")); }

    int columnIndexByDisplay(const QString &display) const override { return m_byDisplay.value(display, -1); }
    int columnIndexById(const QString &id) const override { return m_byId.value(id, -1); }

    void appendRow(std::vector<QVariant> row) override
    {
        const std::size_t count = m_cells.size();
        // Not a conditional expression: its result would be a copy of every cell.
        for (std::size_t c = 0; c < count; ++c) {
            if (c < row.size())
                m_cells[c].append(row[c]);
            else
                m_cells[c].appendInvalid();
        }
        ++m_rowCount;
    }

    void appendRows(int rows, const std::function<void(std::vector<ContainerColumn> &cells)> &fill) override
    {
        if (rows <= 0)
            return;
        fill(m_cells);
        const int total = m_rowCount + rows;
        for (ContainerColumn &cells : m_cells) {
            Q_ASSERT(cells.size() <= total);
            while (cells.size() < total)
                cells.appendInvalid();
        }
        m_rowCount = total;
    }

    QVariant data(int row, int column) const override
    {
        if (!inRange(row, column))
            return QVariant();
        return m_cells[std::size_t(column)].at(row);
    }

    bool setData(int row, int column, const QVariant &value) override
    {
        if (!inRange(row, column))
            return false;
        m_cells[std::size_t(column)].set(row, value);
        return true;
    }

    int rowCount() const override { return m_rowCount; }

    QVariant column(int column) const override
    {
        if (column < 0 || column >= m_columns.size())
            return QVariant();
        return m_columns.at(column);
    }

    void reserveRows(int rows) override
    {
        for (ContainerColumn &cells : m_cells)
            cells.reserve(rows);
    }

protected:
    BaseContainer() = default;

private:
    QVariant descriptorValue(int column, const QString &key) const
    {
        if (column < 0 || column >= m_columns.size())
            return QVariant();
        return m_columns.at(column).value(key);
    }

    bool inRange(int row, int column) const
    {
        return row >= 0 && row < m_rowCount && column >= 0 && column < m_columns.size();
    }

    QVector<QVariantMap> m_columns;
    QMap<QString, int> m_byId;
    QMap<QString, int> m_byDisplay;
    std::vector<ContainerColumn> m_cells;
    int m_rowCount = 0;
};
