#ifndef PDJOINPROXYMODEL_H
#define PDJOINPROXYMODEL_H

#include <QAbstractProxyModel>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QVector>

#include <functional>

struct PdJoinMapping
{
    int joinedKeyColumn = -1;
    // A column of the join itself, so a key may come from an earlier mapping.
    int masterKeyColumn = -1;
    QAbstractItemModel* model = nullptr;
    QList<int> columns;

    bool operator==(const PdJoinMapping& other) const
    {
        return joinedKeyColumn == other.joinedKeyColumn && masterKeyColumn == other.masterKeyColumn
            && model == other.model && columns == other.columns;
    }
};
Q_DECLARE_METATYPE(PdJoinMapping)

// A left outer join: the rows of a master model, its columns followed by chosen columns of other
// models, matched row by row on a key.
class PdJoinProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit PdJoinProxyModel(QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QMap<int, QVariant> itemData(const QModelIndex& index) const override;
    bool setItemData(const QModelIndex& index, const QMap<int, QVariant>& roles) override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    void setSourceModel(QAbstractItemModel* master) override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

    bool addMapping(QAbstractItemModel* model, int joinedKeyColumn, const QList<int>& columns, int masterKeyColumn);
    bool addModel(QAbstractItemModel* model, int joinedKeyColumn, int masterKeyColumn);
    QAbstractItemModel* modelForColumn(int column) const;

    // A column whose display values its owner computes on demand, such as
    // row numbers that all change with a sort: one pass over the owner's own
    // figures then replaces a write into every cell. The values are read
    // only while the owner lives; an empty function hands the column back.
    using ColumnProvider = std::function<QVariant(int row)>;
    void setColumnProvider(int column, QObject* owner, const ColumnProvider& provider);
    void removeColumnProviders(const QObject* owner);

public slots:
    void resetMappings();
    void resetMapping(const PdJoinMapping& mapping);
    void _q_clearMapping();

private slots:
    void _q_sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                              const QVector<int>& roles = QVector<int>());
    void _q_sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);
    void _q_sourceLayoutChanged(const QList<QPersistentModelIndex>& parents = QList<QPersistentModelIndex>(),
                                QAbstractItemModel::LayoutChangeHint hint = QAbstractItemModel::NoLayoutChangeHint);
    void _q_sourceLayoutAboutToBeChanged(
        const QList<QPersistentModelIndex>& parents = QList<QPersistentModelIndex>(),
        QAbstractItemModel::LayoutChangeHint hint = QAbstractItemModel::NoLayoutChangeHint);
    void _q_sourceAboutToBeReset();
    void _q_sourceReset();
    void _q_sourceRowsAboutToBeInserted(const QModelIndex& parent, int first, int last);
    void _q_sourceRowsInserted(const QModelIndex& parent, int first, int last);
    void _q_sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void _q_sourceRowsRemoved(const QModelIndex& parent, int first, int last);
    void onMasterDestroyed();

private:
    struct Resolved
    {
        QAbstractItemModel* model = nullptr;
        int column = -1;
        int mapping = -1; // -1 for a master column
    };

    struct Provided
    {
        int column = -1;
        QPointer<QObject> owner;
        ColumnProvider value;
    };

    Resolved resolve(int column) const;
    const Provided* providerFor(const QModelIndex& index) const;
    QVariant cellData(int row, int column, const Resolved& resolved) const;
    int masterRowCount() const;
    int mappingOffset(int mapping) const;
    void buildRowMap(int position, bool notify);
    void rebuildReverseMap(int position);
    void shiftCellValues(int first, int delta, int removedLast);

    // The master as the base class holds it; asking the base costs a global-static lookup on every
    // cell read.
    QPointer<QAbstractItemModel> masterModel;
    QList<PdJoinMapping> mappings;
    // The columns all mappings add; index() checks every column against the total.
    int mappedColumns = 0;
    // Mapped column offset -> (mapping, column of its model), built on first use after a change.
    mutable QVector<QPair<int, int>> mappedColumnTable;
    // Joined models are not owned; a model deleted before the join must read as absent, not dangle.
    QList<QPointer<QAbstractItemModel>> guards;
    QList<QVector<int>> rowMaps;
    // Joined row -> first proxy row joined to it, so mapFromSource needs no search.
    QList<QVector<int>> reverseRowMaps;
    QHash<QPair<int, int>, QVariant> cellValues;
    QVector<Provided> providers;

    QVector<QMetaObject::Connection> connections;
    QVector<QPersistentModelIndex> layoutChangeSources;
    QModelIndexList layoutChangeProxies;
    bool resetting = false;
};

#endif // PDJOINPROXYMODEL_H
