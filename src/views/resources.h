#pragma once

#include <QPointer>
#include <QWidget>

class PdFilterDialogProxyModel;
class PdSortFilterHeader;
class PdSortFilterWidget;
class QAbstractItemModel;
class QTableView;

// The page of all resource assignments of the project, one row each, with
// the activities view's sort and auto-filter header. A double click on an
// assignment asks for its activity.
class Resources : public QWidget
{
    Q_OBJECT
public:
    explicit Resources(QWidget *parent = nullptr);
    ~Resources() override;

    // Shows the assignments of a newly loaded project; null empties the page.
    void setModel(QAbstractItemModel *model);

    QTableView *tableView() const { return m_tableView; }
    PdSortFilterHeader *header() const { return m_header; }
    PdFilterDialogProxyModel *filterProxy() const { return m_proxy; }
    PdSortFilterWidget *sortFilterWidget() const { return m_sortFilterWidget; }
    QAbstractItemModel *sourceModel() const { return m_model; }

    // The column settings every table of assignments shares: the key
    // columns hidden, the resource's type and name first, an icon by the
    // type, fixed row height. Nothing happens for a view without a model.
    static void setupResourceTable(QTableView *view);

signals:
    void activityActivated(const QVariant &taskId);

private:
    QTableView *m_tableView = nullptr;
    PdSortFilterHeader *m_header = nullptr;
    PdFilterDialogProxyModel *m_proxy = nullptr;
    PdSortFilterWidget *m_sortFilterWidget = nullptr;
    QPointer<QAbstractItemModel> m_model;
};
