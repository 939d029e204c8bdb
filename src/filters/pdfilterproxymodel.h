#ifndef PDFILTERPROXYMODEL_H
#define PDFILTERPROXYMODEL_H

#include <QSortFilterProxyModel>

// The search of an auto-filter popup's value list: a case-insensitive "contains" on the text as
// shown, taken literally. An item stays when it matches, when an ancestor matches (a year shows
// its months and days) or when a descendant matches; "(Select All)" always stays.
class PdFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit PdFilterProxyModel(QObject* parent = nullptr);

    void setSearchText(const QString& text);
    QString searchText() const { return m_search; }
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString m_search;
};

#endif // PDFILTERPROXYMODEL_H
