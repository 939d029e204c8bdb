#pragma once

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
// Rows live in one flat vector with a stride of columnCount(): one allocation
// per table instead of one per row, which matters at 200,000 activities.
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
        if (m_rowCount > 0)
            restride(index);
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
        const std::size_t stride = std::size_t(columnCount());
        row.resize(stride);
        m_cells.insert(m_cells.end(), std::make_move_iterator(row.begin()), std::make_move_iterator(row.end()));
        ++m_rowCount;
    }

    QVariant data(int row, int column) const override
    {
        if (!inRange(row, column))
            return QVariant();
        return m_cells[cellIndex(row, column)];
    }

    bool setData(int row, int column, const QVariant &value) override
    {
        if (!inRange(row, column))
            return false;
        m_cells[cellIndex(row, column)] = value;
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
        if (rows > 0)
            m_cells.reserve(std::size_t(rows) * std::size_t(columnCount()));
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

    std::size_t cellIndex(int row, int column) const
    {
        return std::size_t(row) * std::size_t(m_columns.size()) + std::size_t(column);
    }

    // A column added after rows exist widens every row, keeping each row as
    // long as the catalogue; the new cells are invalid.
    void restride(int newColumn)
    {
        const std::size_t oldStride = std::size_t(newColumn);
        const std::size_t newStride = oldStride + 1;
        std::vector<QVariant> cells(std::size_t(m_rowCount) * newStride);
        for (std::size_t r = 0; r < std::size_t(m_rowCount); ++r) {
            for (std::size_t c = 0; c < oldStride; ++c)
                cells[r * newStride + c] = std::move(m_cells[r * oldStride + c]);
        }
        m_cells.swap(cells);
    }

    QVector<QVariantMap> m_columns;
    QMap<QString, int> m_byId;
    QMap<QString, int> m_byDisplay;
    std::vector<QVariant> m_cells;
    int m_rowCount = 0;
};
