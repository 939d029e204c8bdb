#ifndef PDPARENTITEMPROXYMODEL_H
#define PDPARENTITEMPROXYMODEL_H

#include <QAbstractProxyModel>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QVector>

// Turns a flat table into a tree without copying data: a parent map names, for each parent source row
// (-1 for the root), the source rows below it in display order.
class PdParentItemProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    using ParentMap = QMap<int, QList<int>>;

    explicit PdParentItemProxyModel(QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    QModelIndex buddy(const QModelIndex& index) const override;
    void setSourceModel(QAbstractItemModel* model) override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

    void setParentMap(const ParentMap& map);
    // Brackets a change of the source's rows and of the parent map that
    // views hear of as one reset: row insertions and removals in between are
    // not passed on, and end() installs the new map (or one read from the key
    // columns). A regrouping thus costs the views above one reset, not three.
    void beginSourceChange();
    void endSourceChange();
    void endSourceChange(const ParentMap& map);
    const ParentMap& currentParentMap() const { return parentMap; }
    void setKeyColumns(int idColumn, int parentIdColumn);

public slots:
    void resetParentStructure();

private slots:
    void _q_sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                              const QVector<int>& roles = QVector<int>());
    void _q_sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);
    void _q_sourceLayoutChanged(const QList<QPersistentModelIndex>& parents = QList<QPersistentModelIndex>(),
                                QAbstractItemModel::LayoutChangeHint hint = QAbstractItemModel::NoLayoutChangeHint);
    void _q_sourceLayoutAboutToBeChanged(
        const QList<QPersistentModelIndex>& parents = QList<QPersistentModelIndex>(),
        QAbstractItemModel::LayoutChangeHint hint = QAbstractItemModel::NoLayoutChangeHint);
    void _q_sourceRowsAboutToBeInserted(const QModelIndex& parent, int start, int end);
    void _q_sourceRowsInserted(const QModelIndex& parent, int start, int end);
    void _q_sourceRowsAboutToBeRemoved(const QModelIndex& parent, int start, int end);
    void _q_sourceRowsRemoved(const QModelIndex& parent, int start, int end);
    void _q_sourceColumnsAboutToBeInserted(const QModelIndex& parent, int start, int end);
    void _q_sourceColumnsInserted(const QModelIndex& parent, int start, int end);
    void _q_sourceColumnsAboutToBeRemoved(const QModelIndex& parent, int start, int end);
    void _q_sourceColumnsRemoved(const QModelIndex& parent, int start, int end);
    void _q_sourceAboutToBeReset();
    void _q_sourceReset();
    void _q_sourceRowsAboutToBeMoved(const QModelIndex& sourceParent, int sourceStart, int sourceEnd,
                                     const QModelIndex& destinationParent, int destinationRow);
    void _q_sourceRowsMoved(const QModelIndex& sourceParent, int sourceStart, int sourceEnd,
                            const QModelIndex& destinationParent, int destinationRow);
    void _q_sourceColumnsAboutToBeMoved(const QModelIndex& sourceParent, int sourceStart, int sourceEnd,
                                        const QModelIndex& destinationParent, int destinationColumn);
    void _q_sourceColumnsMoved(const QModelIndex& sourceParent, int sourceStart, int sourceEnd,
                               const QModelIndex& destinationParent, int destinationColumn);
    void onSourceDestroyed();

private:
    enum class Pending { None, Rows, Reset };

    ParentMap mapFromKeyColumns() const;
    void rebuild();
    void rebuildLocations();
    int holderOf(int sourceRow) const;
    int positionOf(int sourceRow) const;
    bool rowChangesKeepShape() const;
    void saveLayout();
    void restoreLayout();
    void replaceMapAfterChange();

    ParentMap parentMap;
    QPointer<QAbstractItemModel> source;
    int idColumn = -1;
    int parentIdColumn = -1;
    bool settingData = false;

    // Source row -> (parent key, position in the parent's list), so parent() and mapFromSource() need
    // no search.
    QVector<int> holders;
    QVector<int> positions;
    // What is shown: the map without rows that are listed again elsewhere or cannot reach the root,
    // so every row appears once and parent() always agrees with index(). Shares the map when clean.
    ParentMap visibleMap;
    bool flat = true;

    QVector<QMetaObject::Connection> connections;
    QModelIndexList layoutProxies;
    QVector<QPersistentModelIndex> layoutSources;
    Pending pending = Pending::None;
    bool resetting = false;
    bool changingSource = false;
};

#endif // PDPARENTITEMPROXYMODEL_H
