#include "basecontainermodel.h"

#include "icontainer.h"

BaseContainerModel::BaseContainerModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

BaseContainerModel::~BaseContainerModel() = default;

void BaseContainerModel::setContainer(std::shared_ptr<IContainer> container)
{
    beginResetModel();
    m_container = std::move(container);
    endResetModel();
}

QModelIndex BaseContainerModel::index(int row, int column, const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (parent.isValid() || !m_container)
        return QModelIndex();
    if (row < 0 || row >= m_container->rowCount() || column < 0 || column >= m_container->columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex BaseContainerModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int BaseContainerModel::rowCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (parent.isValid() || !m_container)
        return 0;
    return m_container->rowCount();
}

int BaseContainerModel::columnCount(const QModelIndex &parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (parent.isValid() || !m_container)
        return 0;
    return m_container->columnCount();
}

QVariant BaseContainerModel::data(const QModelIndex &index, int role) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    if (role != Qt::DisplayRole || !index.isValid() || !m_container)
        return QVariant();
    return m_container->data(index.row(), index.column());
}

bool BaseContainerModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    if (role != Qt::DisplayRole || !m_container)
        return false;
    return m_container->setData(index.row(), index.column(), value);
}

QVariant BaseContainerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !m_container || section < 0 || section >= m_container->columnCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_container->columnDisplay(section);
    case Qt::UserRole:
        return m_container->columnId(section);
    case Qt::UserRole + 1:
        return m_container->columnGroup(section);
    case Qt::UserRole + 2:
        return m_container->column(section);
    default:
        return QVariant();
    }
}
