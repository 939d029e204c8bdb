#ifndef PDSORTFILTERWIDGET_H
#define PDSORTFILTERWIDGET_H

#include <QPointer>
#include <QWidget>

class PdFilterDialogPopUp;
class PdFilterDialogProxyModel;
class PdSortFilterHeader;
class QAbstractItemModel;

// Joins one sort/filter header, its filter proxy and the model whose header data describe the
// columns: opens a column's popup, applies the choice to the proxy and the header together, and
// draws the header's buttons and state icons. It only holds guarded pointers, so a header click
// after the models are gone does nothing.
class PdSortFilterWidget : public QWidget
{
    Q_OBJECT

public:
    PdSortFilterWidget(PdSortFilterHeader* header, PdFilterDialogProxyModel* proxy, QAbstractItemModel* source,
                       QWidget* parent = nullptr);

    // Bits: 1 always, 2 filtered, 4 sorted ascending, 8 sorted descending.
    int sectionState(int column) const;
    static QRect buttonRect(const QRect& section);
    void paintSection(QPainter* painter, const QRect& rect, int column, const QPoint& cursor) const;
    // The decoration of an entry that stands for several columns: the filter icon when any is filtered.
    void paintGroupSection(QPainter* painter, const QRect& rect, const QList<int>& columns) const;

    // Opens the popup of a column as if its button had been pressed (Alt+Down on a view).
    void openPopUp(int section);

    // Creates the popup a column's "datatype" asks for; tests and the dialogs use it too.
    static PdFilterDialogPopUp* createPopUp(QAbstractItemModel* model, int column);

signals:
    void filtered();

public slots:
    void onAutoFilterPopUp(const QRect& rect, int section, const QPoint& pos);
    void clearAllFilters();

private:
    void runPopUp(int section, const QPoint& globalPos);
    void showProxyState(PdFilterDialogPopUp* popup, int section) const;
    bool applyChoice(PdFilterDialogPopUp* popup, QAction* chosen, int section);

    QPointer<PdSortFilterHeader> m_header;
    QPointer<PdFilterDialogProxyModel> m_proxy;
    QPointer<QAbstractItemModel> m_source;
};

#endif // PDSORTFILTERWIDGET_H
