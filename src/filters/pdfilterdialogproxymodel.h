#ifndef PDFILTERDIALOGPROXYMODEL_H
#define PDFILTERDIALOGPROXYMODEL_H

#include <QAbstractProxyModel>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

class PdExpression;

// The sort and filter layer of a view over a flat or tree model: per column either a list of
// accepted values or a condition chain. Which rows pass and in which order they stand is worked
// out in one pass per change of the filters, the sort or the source, into a flag and a rank per
// source row; a row with children passes while any child passes, and its own cells are never
// tested. Every such change reaches the views as one layout change.
//
// QSortFilterProxyModel was the first choice, but it sorts by asking the source for two indexes per
// comparison and removes filtered rows run by run; on 200,000 rows that took seconds.
class PdFilterDialogProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit PdFilterDialogProxyModel(QObject* parent = nullptr);
    ~PdFilterDialogProxyModel() override;

    void setSourceModel(QAbstractItemModel* sourceModel) override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& idx) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Column -1 restores the source's order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const;
    Qt::SortOrder sortOrder() const;

    // One kind of filter per column: setting one removes the column's other kind.
    void setPatternFilter(int column, const QVariantList& values);
    void setExpressionFilter(int column, std::unique_ptr<PdExpression> expression);
    void removeColumnFilters(int column);
    void clearFilters();

    bool hasFilters() const;
    bool isColumnFiltered(int column) const;
    QList<int> filteredColumns() const;
    bool hasPatternFilter(int column) const;
    QVariantList patternFilter(int column) const;
    const PdExpression* expressionFilter(int column) const;

    QVariantMap filtersToVariant() const;
    void filtersFromVariant(const QVariantMap& map);

    // Whether a source row passes the filters (a parent: whether any child does).
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const;

    // Rows without children of the source, and how many of them pass.
    int sourceLeafCount() const;
    int acceptedLeafCount() const;

signals:
    // After the filters or the source changed, once the new counts can be read.
    void countsChanged();

private:
    void onSourceAboutToChange();
    void onSourceChanged();
    void onSourceLayoutAboutToChange();
    void onSourceLayoutChanged();
    void onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);
    void onSourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);
    void relayout();

    struct Private;
    std::unique_ptr<Private> d;
};

#endif // PDFILTERDIALOGPROXYMODEL_H
