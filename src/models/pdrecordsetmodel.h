#ifndef PDRECORDSETMODEL_H
#define PDRECORDSETMODEL_H

#include <QAbstractTableModel>
#include <QMap>
#include <QVariant>
#include <QVector>

// An editable table whose cells and header sections hold one value per item role, filled in one call
// from a list of records (maps from column name to value).
class PdRecordSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit PdRecordSetModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool insertColumns(int column, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeColumns(int column, int count, const QModelIndex& parent = QModelIndex()) override;

    void setRecordSet(const QVariantList& records);

private:
    using Cell = QMap<int, QVariant>;
    using Row = QMap<int, Cell>;

    bool inRange(const QModelIndex& index) const;

    QVector<Row> rows;
    QMap<int, Cell> headers;
};

#endif // PDRECORDSETMODEL_H
