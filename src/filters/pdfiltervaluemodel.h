#ifndef PDFILTERVALUEMODEL_H
#define PDFILTERVALUEMODEL_H

#include <QAbstractItemModel>
#include <QDate>
#include <QVector>

// The checkable value list of an auto-filter popup, held in plain vectors and filled in one step:
// "(Select All)" first, then the distinct values of a column (a flat list, or years, months and
// days for dates). Leaves carry the canonical text a value-list filter stores; checking an item
// checks its whole subtree and brings its ancestors and "(Select All)" up to date.
class PdFilterValueModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    struct Entry
    {
        QString display;
        QString key;
    };

    explicit PdFilterValueModel(QObject* parent = nullptr);

    // Entries in display order; all start checked.
    void setValues(const QVector<Entry>& entries);
    // Distinct days in ascending order, grouped by year and month; blanks add "(Blanks)" last.
    void setDates(const QVector<QDate>& days, bool withBlanks);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    bool isSelectAll(const QModelIndex& index) const;
    bool isLeaf(const QModelIndex& index) const;
    QString keyOf(const QModelIndex& index) const;
    int itemCount() const { return m_nodes.size(); }

    // Gives the items and all their descendants the state, then settles ancestors and
    // "(Select All)"; one change signal per parent touched.
    void setCheckState(const QModelIndexList& items, Qt::CheckState state);
    // Checks exactly the leaves whose key is listed.
    void checkKeys(const QStringList& keys);

signals:
    // A click or key on "(Select All)": what it reaches depends on the search, which the popup knows.
    void selectAllRequested(Qt::CheckState state);

private:
    struct Node
    {
        QString display;
        QString key;
        int parent = -1;
        int row = 0;
        int firstChild = -1;
        int childCount = 0;
        Qt::CheckState state = Qt::Checked;
    };

    int nodeOf(const QModelIndex& index) const;
    QModelIndex indexOfNode(int node) const;
    int appendNode(int parent, const QString& display, const QString& key);
    void settleFrom(const QVector<int>& changedParents);
    void updateSelectAll();
    void emitChildrenChanged(int parent);

    QVector<Node> m_nodes;
    int m_topCount = 0;
};

#endif // PDFILTERVALUEMODEL_H
