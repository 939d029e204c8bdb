#pragma once

#include <QAbstractItemModel>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QPointer>
#include <QWidget>

class QSplitter;
class QTreeView;
class PdParentItemProxyModel;
class PdRecordSetModel;

namespace mygc {
class GanttChart;
}

// The main working view: the activity tree on the left and the Gantt chart
// on the right, both showing the top of one model pipeline and kept in step
// row for row: same rows, row height, scroll position, current row and
// header height.
class Activities : public QWidget
{
    Q_OBJECT
public:
    explicit Activities(QWidget *parent = nullptr);
    ~Activities() override;

    QTreeView *treeView() const { return m_treeView; }
    QSplitter *splitter() const { return m_splitter; }
    mygc::GanttChart *ganttChart() const { return m_ganttChart; }

    QAbstractItemModel *activityModel() const { return m_activityModel; }
    QAbstractItemModel *wbsModel() const { return m_wbsModel; }
    QAbstractItemModel *codeTypeModel() const { return m_codeTypeModel; }
    QAbstractItemModel *codeModel() const { return m_codeModel; }
    QAbstractItemModel *relationshipModel() const { return m_relationshipModel; }
    PdParentItemProxyModel *parentProxy() const { return m_parentProxy; }
    PdRecordSetModel *emptyModel() const { return m_emptyModel; }
    int initialRowCount() const { return m_initialRowCount; }

    void setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsModel,
                   QAbstractItemModel *codeTypeModel, QAbstractItemModel *codeModel,
                   QAbstractItemModel *relationshipModel, bool);

public slots:
    void onCloseProject();
    void onHeaderSizeChanged();
    void onTreeCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void onTreeSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void onGanttSelectionChanged(const QModelIndex &index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onTreeScrolled(int value);
    bool followTreeCurrent(const QModelIndex &current, const QModelIndex &previous);
    void followTreeScroll();
    void connectTreeSelection();
    int treeRowHeight() const;

    QSplitter *m_splitter = nullptr;
    QTreeView *m_treeView = nullptr;
    mygc::GanttChart *m_ganttChart = nullptr;

    // The given models belong to the project loader, which may delete them
    // before this view hears of it; QPointer turns that into null, not a dangle.
    QPointer<QAbstractItemModel> m_activityModel;
    QPointer<QAbstractItemModel> m_wbsModel;
    QPointer<QAbstractItemModel> m_codeTypeModel;
    QPointer<QAbstractItemModel> m_codeModel;
    QPointer<QAbstractItemModel> m_relationshipModel;

    PdRecordSetModel *m_emptyModel = nullptr;
    PdParentItemProxyModel *m_parentProxy = nullptr;
    int m_initialRowCount = 0;
    // Set while the chart's own selection is handed to the tree: a row the
    // user picked in the chart is already where they are looking.
    bool m_currentFromChart = false;
    QPointer<QItemSelectionModel> m_connectedSelection;
    QList<QMetaObject::Connection> m_selectionConnections;
};
