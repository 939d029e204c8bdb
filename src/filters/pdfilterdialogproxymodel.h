#ifndef PDFILTERDIALOGPROXYMODEL_H
#define PDFILTERDIALOGPROXYMODEL_H

#include <QSortFilterProxyModel>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

class PdExpression;

// The sort and filter layer of a view: per column either a list of accepted values or a condition
// chain. Which rows pass is worked out once per change of the filters or of the source, into a flag
// per source row; a row with children passes while any child passes, and its own cells are never
// tested.
class PdFilterDialogProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit PdFilterDialogProxyModel(QObject* parent = nullptr);
    ~PdFilterDialogProxyModel() override;

    void setSourceModel(QAbstractItemModel* sourceModel) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

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

    // Rows without children of the source, and how many of them pass.
    int sourceLeafCount() const;
    int acceptedLeafCount() const;

signals:
    // After the filters or the source changed, once the new counts can be read.
    void countsChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    void onSourceStructureChanged();
    void onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void filtersChanged();

    struct Private;
    std::unique_ptr<Private> d;
};

#endif // PDFILTERDIALOGPROXYMODEL_H
