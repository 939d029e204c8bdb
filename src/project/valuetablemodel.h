#pragma once

#include "containercolumn.h"

#include <QAbstractTableModel>
#include <QMap>
#include <QVariant>

#include <map>
#include <vector>

// A flat table of values that answers like a QStandardItemModel without
// children: the edit role is the display role, any role can be stored, rows
// and columns can be inserted and removed. The pivots and the row keys of the
// activity model hold a million cells in a large schedule, and a
// QStandardItem per cell cost several times the memory of the values and
// most of the time spent building them.
class ValueTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    ValueTableModel(int rows, int columns, QObject *parent = nullptr);
    ~ValueTableModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value,
                       int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool insertColumns(int column, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeColumns(int column, int count, const QModelIndex &parent = QModelIndex()) override;

    // Fills a cell while the model is being built, before anything watches
    // it: no signal, no comparison with the old value.
    void setCell(int row, int column, const QVariant &display, const QVariant &user = QVariant());

private:
    // Display values in typed storage, as the containers keep theirs: a
    // column of ids or shared names costs a few bytes a cell instead of the
    // two QVariants and a pointer of a general cell. User values get storage
    // only once a column has one; other roles are rare and kept by row.
    struct Column
    {
        ContainerColumn display;
        ContainerColumn user;
        std::map<int, QMap<int, QVariant>> other;
    };

    static int storedRole(int role) { return role == Qt::EditRole ? int(Qt::DisplayRole) : role; }
    QVariant read(const Column &column, int row, int role) const;
    bool write(Column &column, int row, int role, const QVariant &value);
    bool validIndex(const QModelIndex &index) const;
    Column emptyColumn() const;
    static ContainerColumn withRows(const ContainerColumn &cells, int row, int count, bool insert);

    int m_rows = 0;
    std::vector<Column> m_columns;
    // Headers by section, only the sections that have one: a row header per
    // row would cost a pointer a row in models of a million cells.
    using Headers = std::map<int, QMap<int, QVariant>>;
    static void shiftSections(Headers &headers, int section, int count, bool insert);
    Headers m_horizontalHeaders;
    Headers m_verticalHeaders;
};
