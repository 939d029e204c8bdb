#pragma once

#include <QAbstractItemModel>

#include <memory>

class IContainer;

// Flat, read-mostly item model over one table container. The column
// descriptors travel in the horizontal header: display text, id (UserRole),
// group (UserRole + 1) and the whole descriptor (UserRole + 2).
class BaseContainerModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit BaseContainerModel(QObject *parent = nullptr);
    ~BaseContainerModel() override;

    void setContainer(std::shared_ptr<IContainer> container);
    std::shared_ptr<IContainer> container() const { return m_container; }
    // The same without taking a share, for loops that read millions of cells.
    const IContainer *containerData() const { return m_container.get(); }

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<IContainer> m_container;
};
