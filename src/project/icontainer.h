#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <vector>

class ContainerColumn;

// Typed rows of one schedule table together with its column descriptors.
// Containers are plain objects shared by reference count between the loader
// and the item model that shows them.
class IContainer
{
public:
    virtual ~IContainer() = default;

    virtual void addColumn(const QVariantMap &descriptor) = 0;
    virtual void setColumns(const QVariantList &descriptors) = 0;
    virtual int columnCount() const = 0;
    virtual QVariant columnDisplay(int column) const = 0;
    virtual QVariant columnId(int column) const = 0;
    virtual QVariant columnDatatype(int column) const = 0;
    virtual QVariant columnGroup(int column) const = 0;
    virtual int columnIndexByDisplay(const QString &display) const = 0;
    virtual int columnIndexById(const QString &id) const = 0;
    virtual void appendRow(std::vector<QVariant> row) = 0;
    // Appends `rows` rows whose cells `fill` writes straight into the typed
    // column storage, one ContainerColumn per column. A column that `fill`
    // leaves short gets invalid cells for the rest of the rows.
    virtual void appendRows(int rows, const std::function<void(std::vector<ContainerColumn> &cells)> &fill) = 0;
    virtual QVariant data(int row, int column) const = 0;
    virtual bool setData(int row, int column, const QVariant &value) = 0;
    virtual int rowCount() const = 0;
    virtual QVariant column(int column) const = 0;

    // Makes room for `rows` rows in all, so that the loader sizes the storage
    // once instead of growing it record by record, which would briefly need
    // twice the table's memory.
    virtual void reserveRows(int rows) = 0;
};
