#pragma once

#include "chartlinkindex.h"
#include "chartrowids.h"
#include "pdganttviewbarstyle.h"

#include <QImage>
#include <QList>
#include <QModelIndex>
#include <QPair>
#include <QPointer>
#include <QScrollArea>
#include <QSharedPointer>
#include <QTimer>
#include <QVector>

#include <memory>

class QAbstractItemModel;
class QTreeView;

namespace mygc {

class ChartArea;
class ChartSpan;
class DateAxis;
class QGCVAxis;
class TaskDrawDelegate;
class TaskItem;
class TaskRelationship;

// The Gantt chart: a date axis above a scrollable area of bars and links that
// mirrors the rows a tree view shows, one chart row per visible tree row.
class GanttChart : public QScrollArea
{
    Q_OBJECT
public:
    // Header images (one per date-axis column) and body images (one list per
    // chart row, one image per date-axis column).
    using Images = QPair<QVector<QImage>, QVector<QVector<QImage>>>;

    explicit GanttChart(QWidget *parent = nullptr);
    ~GanttChart() override;

    virtual void selectRowSilently(int row);
    virtual void selectIndex(const QModelIndex &index);
    // Scrolls sideways so that the bar of the row of `index` shows, from its
    // start with a little room to its left, unless it shows already. Rows
    // without dates, and summaries of which any part shows, keep the chart
    // where it is, so it does not jump while the user reads it.
    void revealBar(const QModelIndex &index);
    virtual int dateAxisHeight() const;
    virtual void setDefaultRowHeight(int height);
    virtual int defaultRowHeight() const;
    virtual void addItem(const TaskItem &item, int rowHeight);
    virtual void removeItem(int position);
    virtual void insertItem(int position, const TaskItem &item);
    virtual void addRelationship(int from, int to, int type, qint64 lag);
    virtual QAbstractItemModel *model() const;
    virtual void rebuild();
    virtual void setModels(QAbstractItemModel *model, int startColumn, int finishColumn, int typeColumn,
                           int idColumn, QAbstractItemModel *relationModel, int relTaskColumn,
                           int relPredecessorColumn, int relTypeColumn, int relLagColumn,
                           int actualStartColumn = -1, int actualFinishColumn = -1,
                           int baselineStartColumn = -1, int baselineFinishColumn = -1,
                           QTreeView *tree = nullptr);
    virtual void setLevels(const QVector<int> &units);
    virtual Images renderToImages();
    virtual QList<PdGanttViewBarStyle> barStyles() const;
    virtual void setBarStyles(const QList<PdGanttViewBarStyle> &styles);

    const QList<PdGanttViewBarStyle> &barStylesRef() const { return m_barStyles; }

    // What each style draws. A style is found by its usual name first
    // ("Normal"/"Task", "Summary", "Milestone", "Baseline"/"Baseline Task",
    // "Actual"), so lists stored in P6 order draw the same as the chart's own
    // order; a renamed style falls back to its position (the role's number).
    enum StyleRole { TaskStyle = 0, SummaryStyle = 1, MilestoneStyle = 2, BaselineStyle = 3, ActualStyle = 4 };
    int styleIndexForRole(int role) const;
    DateAxis *dateAxis() const { return m_dateAxis; }
    QGCVAxis *verticalAxis() const { return m_vaxis; }
    ChartArea *chartArea() const { return m_area; }
    const TaskDrawDelegate *drawDelegate() const { return m_delegate.get(); }
    QAbstractItemModel *relationModel() const { return m_relationModel; }

    // Rows mirror the tree's shown rows; a row's item is read from the model
    // the first time something asks for it (painting, printing, selecting),
    // so a rebuild costs a walk over the shown indexes, not a read of every
    // row's dates.
    int itemCount() const;
    QSharedPointer<TaskItem> item(int row) const;
    // Laid out on first use after a rebuild.
    const QVector<QSharedPointer<TaskRelationship>> &relationships() const;
    bool relationshipsReady() const { return !m_linksDirty; }
    // Whether painting goes ahead without links not laid out yet.
    bool deferRelationships() const;
    // Chart row of a model index (any column), or -1.
    int rowOfIndex(const QModelIndex &index) const;
    // Chart row of a task id, or -1.
    int rowOfId(int id) const;
    // The rows whose dates the scale must span, when the chart shows a tree
    // over a flat model: its dates are read once per change of that model
    // instead of once per rebuild, and the scale no longer depends on which
    // rows are expanded. Same column numbers as the shown model.
    void setSpanModel(QAbstractItemModel *model);

    int startColumn() const { return m_startColumn; }
    int finishColumn() const { return m_finishColumn; }
    int actualStartColumn() const { return m_actualStartColumn; }
    int actualFinishColumn() const { return m_actualFinishColumn; }
    int baselineStartColumn() const { return m_baselineStartColumn; }
    int baselineFinishColumn() const { return m_baselineFinishColumn; }

    // Indexes into relationships() of the links whose rows span any of the
    // rows first..last (a link passing by with its vertical leg counts).
    QVector<int> linksAcrossRows(int first, int last) const;

    // Model signals schedule one rebuild for the next event-loop turn; this
    // runs a scheduled rebuild at once (before anything reads model indexes).
    void flushPendingRebuild();
    bool isRebuildPending() const { return m_rebuildTimer.isActive(); }

signals:
    void headerSizeChanged();
    void selectionChanged(const QModelIndex &index);

public slots:
    void hscrolled(int value);
    void dateAxisHeightChanged(int height);
    void modelReset();
    void modelRowsRemoved(const QModelIndex &parent, int first, int last);
    void modelRowsInserted(const QModelIndex &parent, int first, int last);
    void modelRowsMoved(const QModelIndex &parent, int start, int end, const QModelIndex &destination, int row);
    void modelDestroyed();
    void modelDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles);
    void rmodelReset();
    void rmodelDestroyed();
    void rowExpandedCollapsed(const QModelIndex &index);
    void areaSelectionChanged(int current);

    void rebuildItems();
    void rebuildRelationships();
    void scheduleRebuild();
    // Lays the links out a moment later and repaints; painting a large
    // project's rows does not wait for its links.
    void scheduleRelationships();

protected:
    bool viewportEvent(QEvent *event) override;

private:
    // A date of the scale and where it shows in the viewport.
    struct ViewAnchor
    {
        qint64 wallMSecs;
        int viewX;
    };
    ViewAnchor viewAnchor() const;
    void restoreViewAnchor(const ViewAnchor &anchor);
    void clearAll();
    void followTreeCurrentRow();
    void collectRows();
    void fitAxis();
    friend class ChartArea;
    QSharedPointer<TaskItem> createItem(int row) const;
    void readLinkSources() const;
    void layOutRelationships() const;
    void resolveStyleColumns();
    void resolveStyleRoles();
    void disconnectSources();
    void buildIdMap() const;

    int m_defaultRowHeight = 25;
    QPointer<QAbstractItemModel> m_model;
    QPointer<QAbstractItemModel> m_relationModel;
    QPointer<QTreeView> m_tree;
    QList<QMetaObject::Connection> m_modelConnections;
    QList<QMetaObject::Connection> m_relationConnections;
    QList<QMetaObject::Connection> m_treeConnections;

    int m_typeColumn = -1;
    int m_startColumn = -1;
    int m_finishColumn = -1;
    int m_idColumn = -1;
    int m_actualStartColumn = -1;
    int m_actualFinishColumn = -1;
    int m_baselineStartColumn = -1;
    int m_baselineFinishColumn = -1;
    int m_relTaskColumn = -1;
    int m_relPredecessorColumn = -1;
    int m_relTypeColumn = -1;
    int m_relLagColumn = -1;

    // Column-0 index of every row, in the tree's order; rows added by hand
    // carry their item's index.
    QVector<QModelIndex> m_rowIndexes;
    // Chart row of each row's parent, -1 at the top.
    QVector<int> m_parentRow;
    // True while the rows are the model's shown rows in depth-first order,
    // which lets rowOfIndex search instead of hashing every index.
    bool m_rowsFromModel = false;
    mutable QVector<QSharedPointer<TaskRelationship>> m_relationships;
    // The relationship model read once per change of it: task id,
    // predecessor id (or -1 when not a number), type and lag.
    struct LinkSource
    {
        int task;
        int predecessor;
        int type;
        qint64 lag;
        bool valid;
    };
    mutable QVector<LinkSource> m_linkSources;
    mutable bool m_linkSourcesDirty = true;
    mutable bool m_linksDirty = false;
    QTimer m_linkTimer;
    // Built on first use after a change, so a rebuild pays for it only when
    // something asks.
    mutable ChartRowIds m_rowIds;
    mutable bool m_idMapDirty = true;
    mutable ChartLinkIndex m_linkIndex;

    DateAxis *m_dateAxis = nullptr;
    QGCVAxis *m_vaxis = nullptr;
    ChartArea *m_area = nullptr;
    ChartSpan *m_span = nullptr;
    std::unique_ptr<TaskDrawDelegate> m_delegate;
    QList<PdGanttViewBarStyle> m_barStyles;
    int m_roleIndex[5] = {0, 1, 2, 3, 4};
    QTimer m_rebuildTimer;
};

} // namespace mygc
