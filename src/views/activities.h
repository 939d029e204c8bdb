#pragma once

#include "activitygrouping.h"
#include "pdgroupedtreeview.h"
#include "pdgrouplevel.h"
#include "rownumbering.h"

#include <QAbstractItemModel>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QWidget>

class PdFilterDialogProxyModel;
class PdParentItemProxyModel;
class PdSortFilterHeader;
class PdSortFilterWidget;
class PdRecordSetModel;
class QSplitter;

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

    PdGroupedTreeView *treeView() const { return m_treeView; }
    QSplitter *splitter() const { return m_splitter; }
    mygc::GanttChart *ganttChart() const { return m_ganttChart; }

    QAbstractItemModel *activityModel() const { return m_activityModel; }
    QAbstractItemModel *wbsModel() const { return m_wbsModel; }
    QAbstractItemModel *codeTypeModel() const { return m_codeTypeModel; }
    QAbstractItemModel *codeModel() const { return m_codeModel; }
    QAbstractItemModel *relationshipModel() const { return m_relationshipModel; }
    PdParentItemProxyModel *parentProxy() const { return m_parentProxy; }
    PdFilterDialogProxyModel *filterProxy() const { return m_filterProxy; }
    PdSortFilterHeader *sortFilterHeader() const { return m_sortFilterHeader; }
    // The controller of the header's sort and filter buttons; null while no project is open.
    PdSortFilterWidget *sortFilterWidget() const;
    PdRecordSetModel *emptyModel() const { return m_emptyModel; }
    int initialRowCount() const { return m_initialRowCount; }
    // What the tree and the chart show: the top of the pipeline.
    QAbstractItemModel *shownModel() const;

    void setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsModel,
                   QAbstractItemModel *codeTypeModel, QAbstractItemModel *codeModel,
                   QAbstractItemModel *relationshipModel, bool);

    const QList<PdGroupLevel> &groupLevels() const { return m_groupLevels; }
    void setGroupLevels(const QList<PdGroupLevel> &levels);
    void groupBySelection();

    // Makes the activity with this task id current, opening its groups and
    // bringing its bar into view; false when no shown row has it.
    bool selectActivity(const QVariant &taskId);
    // Finds the next activity, after the current row in the shown order and
    // wrapping round, whose Activity ID or name contains `text`, and makes it
    // current as selectActivity does; false when none does.
    bool findActivity(const QString &text);

    // Sorts the shown rows by the column with this header text and marks it on the header.
    void sortByColumn(const QString &name, Qt::SortOrder order);
    // Ends every sort and column filter; nothing while no project is open.
    void clearAllFilters();

    // The master row behind an index of the shown model, or -1.
    int masterRowOf(const QModelIndex &shown) const;
    // The shown index (column 0) of a master row; invalid when not shown.
    QModelIndex shownIndexOf(int masterRow) const;
    // Makes a shown row current, opening its groups and bringing its bar into view.
    void makeCurrent(const QModelIndex &index);

signals:
    // The tree's current row, whatever selection model the tree has now.
    void currentRowChanged(const QModelIndex &current, const QModelIndex &previous);

public slots:
    void onCloseProject();
    void onUpdateMergeColumns();
    void updateGanttRelationship();
    void onHeaderSizeChanged();
    void onTreeCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void onTreeSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void onGanttSelectionChanged(const QModelIndex &index);
    void calculateGroupings();
    void updateRowNumber();
    // Writes the row numbers now if they are waiting for the event loop.
    void flushPendingRowNumbers();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onTreeScrolled(int value);
    bool followTreeCurrent(const QModelIndex &current, const QModelIndex &previous);
    void followTreeScroll();
    void connectTreeSelection();
    void resetSortFilterWidget(bool forProject);
    int treeRowHeight() const;

    struct ViewState
    {
        QSet<quint64> expandedGroups;
        // The top groups only.
        QSet<quint64> groups;
        int currentRow = -1;
        quint64 currentGroup = 0;
        bool hasCurrentGroup = false;
    };
    ViewState saveViewState() const;
    void restoreViewState(const ViewState &state);
    void removeGrouping(QAbstractItemModel *master);
    bool handleGroupings(ActivityGrouping *grouping);
    void insertToModel(QAbstractItemModel *master, const ActivityGrouping &grouping, int groupColumn);
    void applyLevelStyles();
    void scrollChartToWork();
    QList<QAbstractItemModel *> modelsAboveParentProxy() const;
    QList<int> groupDateColumns(QList<bool> *earliest) const;

    QSplitter *m_splitter = nullptr;
    PdGroupedTreeView *m_treeView = nullptr;
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
    PdFilterDialogProxyModel *m_filterProxy = nullptr;
    PdSortFilterHeader *m_sortFilterHeader = nullptr;
    QPointer<PdSortFilterWidget> m_sortFilterWidget;
    int m_initialRowCount = 0;
    QList<PdGroupLevel> m_groupLevels;
    // The identity of each group row, in master order after the activities.
    // The grouping levels read so far for this project.
    QHash<QString, ActivityGroupingLevel> m_levelCache;
    QVector<quint64> m_groupIdentities;
    // Positions in m_groupIdentities of the top groups.
    QVector<int> m_rootGroups;
    // The date columns the group rows were last given, valid until the next
    // regrouping.
    QList<int> m_groupDateColumns;
    bool m_groupDatesWritten = false;
    // Handed to the activity model on demand.
    RowNumbering m_rowNumbering;
    // Row numbers follow the order shown, so a sort renumbers; one pass for
    // however many layout changes arrive together.
    QTimer m_renumberTimer;
    QMetaObject::Connection m_shownLayoutConnection;
    // Set while the chart's own selection is handed to the tree: a row the
    // user picked in the chart is already where they are looking.
    bool m_currentFromChart = false;
    QPointer<QItemSelectionModel> m_connectedSelection;
    QList<QMetaObject::Connection> m_selectionConnections;
};
