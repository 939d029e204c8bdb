#include "activities.h"

#include "activitygrouping.h"
#include "chartarea.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "grouprowfigures.h"
#include "pdfilterdialogproxymodel.h"
#include "pdgroupedtreeview.h"
#include "pdgroupedtreeviewdelegate.h"
#include "pdjoinproxymodel.h"
#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"
#include "pdrecordsetmodel.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"
#include "predecessorrows.h"
#include "steptimer.h"
#include "qgcvaxis.h"
#include "taskitem.h"

#include <QCoreApplication>
#include <QDebug>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLoggingCategory>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <vector>

// Timed start/stop lines; QT_LOGGING_RULES="plandeck.timing.*=false" silences them.
Q_LOGGING_CATEGORY(lcViewsTiming, "plandeck.timing.views", QtInfoMsg)

Activities::Activities(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Activities"));
    setWindowTitle(QStringLiteral("Form"));
    resize(400, 300);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter"));
    layout->addWidget(m_splitter, 0, 0);

    m_treeView = new PdGroupedTreeView(m_splitter);
    m_treeView->setObjectName(QStringLiteral("treeView"));
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform heights let the view skip measuring every row, which is what
    // keeps a 200,000-row project scrolling smoothly.
    m_treeView->setUniformRowHeights(true);
    // The chart always shows its horizontal scroll bar; the tree shows one
    // too so both viewports are equally tall and their last rows line up.
    m_treeView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The header the tree makes for itself, with the sort and filter buttons added.
    m_sortFilterHeader = new PdSortFilterHeader(Qt::Horizontal, m_treeView);
    m_sortFilterHeader->setObjectName(QStringLiteral("sortFilterHeader"));
    m_sortFilterHeader->setSectionsMovable(true);
    m_sortFilterHeader->setStretchLastSection(true);
    m_sortFilterHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_treeView->setHeader(m_sortFilterHeader);
    m_splitter->addWidget(m_treeView);

    m_ganttChart = new mygc::GanttChart(m_splitter);
    m_ganttChart->setObjectName(QStringLiteral("ganttChart"));
    m_ganttChart->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ganttChart->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Space past the last row or date reads as empty chart, as the tree's does.
    m_ganttChart->viewport()->setBackgroundRole(QPalette::Base);
    m_ganttChart->viewport()->setAutoFillBackground(true);
    m_splitter->addWidget(m_ganttChart);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    // Without sizes of its own the splitter follows the size hints, which
    // leave the chart a sliver beside a tree of many columns.
    m_splitter->setSizes({450, 550});

    connect(m_ganttChart, &mygc::GanttChart::selectionChanged, this, &Activities::onGanttSelectionChanged);
    connect(m_ganttChart, &mygc::GanttChart::headerSizeChanged, this, &Activities::onHeaderSizeChanged);
    connect(m_treeView->verticalScrollBar(), &QScrollBar::valueChanged, this, &Activities::onTreeScrolled);
    // The chart rebuilds its rows a moment after the tree changed; once its
    // height is known again it must take up the tree's position anew.
    connect(m_ganttChart->verticalScrollBar(), &QScrollBar::rangeChanged, this, &Activities::followTreeScroll);
    m_ganttChart->viewport()->installEventFilter(this);
    onHeaderSizeChanged();

    m_emptyModel = new PdRecordSetModel(this);
    const QStringList emptyColumns{QStringLiteral("Activity ID"), QStringLiteral("Activity Name"),
                                   QStringLiteral("Start"), QStringLiteral("Finish"), QStringLiteral("WBS")};
    m_emptyModel->setRecordSet(QVariantList{QVariant(emptyColumns)});
    m_parentProxy = new PdParentItemProxyModel(this);
    m_filterProxy = new PdFilterDialogProxyModel(this);
    m_filterProxy->setSourceModel(m_parentProxy);
    connect(m_sortFilterHeader, &PdSortFilterHeader::filterSettingsChanged, m_sortFilterHeader->viewport(),
            QOverload<>::of(&QWidget::update));
    connect(m_sortFilterHeader, &PdSortFilterHeader::filterSettingsChanged, m_ganttChart->viewport(),
            QOverload<>::of(&QWidget::update));
    // Alt+Down opens the auto-filter of the current column, as in a spreadsheet.
    auto *openFilter = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Down), m_treeView);
    openFilter->setContext(Qt::WidgetShortcut);
    connect(openFilter, &QShortcut::activated, this, [this] {
        if (!m_sortFilterWidget)
            return;
        const QModelIndex current = m_treeView->currentIndex();
        m_sortFilterWidget->openPopUp(current.isValid() ? current.column()
                                                        : firstVisibleColumn(m_sortFilterHeader));
    });
    m_groupLevels = PdGroupLevel::defaultLevels();
    applyLevelStyles();
    m_renumberTimer.setSingleShot(true);
    m_renumberTimer.setInterval(0);
    connect(&m_renumberTimer, &QTimer::timeout, this, &Activities::updateRowNumber);

    setModels(m_emptyModel, nullptr, nullptr, nullptr, nullptr, true);
}

Activities::~Activities()
{
    // The chart is deleted with the splitter after this object's own members
    // are gone; it must not call back into a half-destroyed view.
    m_ganttChart->viewport()->removeEventFilter(this);
    disconnect(m_ganttChart, nullptr, this, nullptr);
    disconnect(m_ganttChart->verticalScrollBar(), nullptr, this, nullptr);
    disconnect(m_treeView->verticalScrollBar(), nullptr, this, nullptr);
    for (const auto &connection : qAsConst(m_selectionConnections))
        disconnect(connection);
    // The join may outlive this view; it must stop reading figures that go
    // with it.
    if (auto *join = qobject_cast<PdJoinProxyModel *>(m_activityModel.data()))
        join->removeColumnProviders(this);
}

void Activities::setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsModel,
                           QAbstractItemModel *codeTypeModel, QAbstractItemModel *codeModel,
                           QAbstractItemModel *relationshipModel, bool)
{
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);

    m_activityModel = activityModel ? activityModel : m_emptyModel;
    m_wbsModel = wbsModel;
    m_codeTypeModel = codeTypeModel;
    m_codeModel = codeModel;
    m_relationshipModel = relationshipModel;

    m_groupIdentities.clear();
    m_rootGroups.clear();
    m_groupDatesWritten = false;
    m_levelCache.clear();
    m_initialRowCount = m_activityModel->rowCount();
    m_rowNumbering.provideTo(qobject_cast<PdJoinProxyModel *>(m_activityModel.data()), this, m_relationshipModel,
                             m_initialRowCount);
    // Sort and filters of the previous project end before the new rows arrive.
    resetSortFilterWidget(m_activityModel != m_emptyModel);
    m_parentProxy->setSourceModel(m_activityModel);
    // Numbered a moment later: the first rows show without waiting for a
    // pass over every activity.
    m_renumberTimer.start();
    // Everything below reads the top of the pipeline through shownModel() and
    // maps rows down through modelsAboveParentProxy().
    if (m_treeView->model() != m_filterProxy)
        m_treeView->setModel(m_filterProxy);
    QAbstractItemModel *shown = m_treeView->model();

    // Styles are found by their usual names, so a list in another order
    // still takes the task, baseline and actual dates from the right style.
    const QList<PdGanttViewBarStyle> styles = m_ganttChart->barStyles();
    const auto dateColumns = [&](int role, int *startColumn, int *finishColumn) {
        QString start = QStringLiteral("Start Date");
        QString finish = QStringLiteral("Finish Date");
        const int i = m_ganttChart->styleIndexForRole(role);
        if (i >= 0 && i < styles.size()) {
            start = styles.at(i).startDate;
            finish = styles.at(i).finishDate;
        }
        *startColumn = columnByName(shown, start);
        *finishColumn = columnByName(shown, finish);
    };
    int start = -1, finish = -1, actualStart = -1, actualFinish = -1, baselineStart = -1, baselineFinish = -1;
    dateColumns(mygc::GanttChart::TaskStyle, &start, &finish);
    dateColumns(mygc::GanttChart::ActualStyle, &actualStart, &actualFinish);
    dateColumns(mygc::GanttChart::BaselineStyle, &baselineStart, &baselineFinish);

    const int rowHeight = treeRowHeight();
    if (rowHeight > 0) {
        m_ganttChart->setDefaultRowHeight(rowHeight);
        m_ganttChart->chartArea()->setBottomSpace(rowHeight);
    }
    // Every activity's dates, whatever is expanded or filtered: the scale
    // is read once per change of the activities, not per rebuild.
    m_ganttChart->setSpanModel(m_activityModel);
    m_ganttChart->setModels(shown, start, finish, columnByName(shown, QStringLiteral("Activity Type")), 0,
                            m_relationshipModel, 0, 1, 3, 4, actualStart, actualFinish, baselineStart,
                            baselineFinish, m_treeView);

    m_initialRowCount = m_activityModel->rowCount();
    m_treeView->setGroupColumn(columnByName(shown, QStringLiteral("Group")));
    connectTreeSelection();
    disconnect(m_shownLayoutConnection);
    m_shownLayoutConnection = connect(shown, &QAbstractItemModel::layoutChanged, &m_renumberTimer,
                                      QOverload<>::of(&QTimer::start));
    followTreeScroll();
    scrollChartToWork();

}

void Activities::resetSortFilterWidget(bool forProject)
{
    // A controller serves one activity model; the old one must never reach a
    // model the closed project has deleted.
    if (m_sortFilterWidget) {
        m_sortFilterHeader->disconnect(m_sortFilterWidget);
        delete m_sortFilterWidget;
    }
    m_sortFilterHeader->setSortFilterWidget(nullptr);
    if (m_filterProxy->hasFilters())
        m_filterProxy->clearFilters();
    if (m_filterProxy->sortColumn() >= 0)
        m_filterProxy->sort(-1);
    m_sortFilterHeader->clearFilters();
    m_sortFilterHeader->setSort(-1, 0);
    if (!forProject)
        return;
    m_sortFilterWidget = new PdSortFilterWidget(m_sortFilterHeader, m_filterProxy, m_activityModel, this);
    connect(m_sortFilterHeader, &PdSortFilterHeader::popUp, m_sortFilterWidget,
            &PdSortFilterWidget::onAutoFilterPopUp);
    connect(m_sortFilterWidget, &PdSortFilterWidget::filtered, this, &Activities::updateGanttRelationship);
    m_sortFilterHeader->setSortFilterWidget(m_sortFilterWidget);
}

PdSortFilterWidget *Activities::sortFilterWidget() const
{
    return m_sortFilterWidget;
}

void Activities::sortByColumn(const QString &name, Qt::SortOrder order)
{
    const int column = columnByName(m_filterProxy, name);
    if (column < 0)
        return;
    m_filterProxy->sort(column, order);
    m_sortFilterHeader->setSort(column, order == Qt::AscendingOrder ? 0 : 1);
}

void Activities::clearAllFilters()
{
    if (m_sortFilterWidget)
        m_sortFilterWidget->clearAllFilters();
}

void Activities::connectTreeSelection()
{
    // The tree makes a new selection model whenever its model changes; only
    // then are the old connections dropped and new ones made.
    QItemSelectionModel *selection = m_treeView->selectionModel();
    if (selection == m_connectedSelection)
        return;
    for (const auto &connection : qAsConst(m_selectionConnections))
        disconnect(connection);
    m_selectionConnections.clear();
    m_connectedSelection = selection;
    if (!selection)
        return;
    m_selectionConnections << connect(selection, &QItemSelectionModel::selectionChanged, this,
                                      &Activities::onTreeSelectionChanged)
                           << connect(selection, &QItemSelectionModel::currentRowChanged, this,
                                      &Activities::onTreeCurrentChanged)
                           << connect(selection, &QItemSelectionModel::currentRowChanged, this,
                                      &Activities::currentRowChanged);
}

int Activities::treeRowHeight() const
{
    const QAbstractItemModel *model = m_treeView->model();
    if (!model || model->rowCount() == 0)
        return -1;
    // The tree's own delegate gives every row one height; asking the tree
    // for a row's rectangle would lay out every row before the first paint.
    if (const auto *delegate = qobject_cast<const PdGroupedTreeViewDelegate *>(m_treeView->itemDelegate()))
        return delegate->rowHeight();
    // The height the tree really lays its rows out with; a hidden column has
    // no visual rect, so the first shown one is asked.
    const int column = firstVisibleColumn(m_treeView->header());
    const int height = column >= 0 ? m_treeView->visualRect(model->index(0, column)).height() : 0;
    return height > 0 ? height : m_treeView->sizeHintForRow(0);
}

void Activities::onCloseProject()
{
    m_ganttChart->horizontalScrollBar()->setValue(0);
    for (PdGroupLevel &level : m_groupLevels) {
        level.field.clear();
        level.interval.clear();
    }
    setModels(m_emptyModel, nullptr, nullptr, nullptr, nullptr, true);
}

void Activities::onHeaderSizeChanged()
{
    m_treeView->header()->setFixedHeight(m_ganttChart->dateAxisHeight());
    QMetaObject::invokeMethod(m_treeView, "updateGeometries");
}

bool Activities::eventFilter(QObject *watched, QEvent *event)
{
    // The chart has no vertical scroll of its own; a wheel turned over it
    // scrolls the tree, which the chart then follows, and a sideways turn
    // moves along the dates.
    if (event->type() == QEvent::Wheel && watched == m_ganttChart->viewport()) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const QPoint delta = wheel->angleDelta();
        QScrollBar *target = std::abs(delta.x()) > std::abs(delta.y()) ? m_ganttChart->horizontalScrollBar()
                                                                        : m_treeView->verticalScrollBar();
        QCoreApplication::sendEvent(target, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Activities::onTreeScrolled(int)
{
    followTreeScroll();
}

void Activities::followTreeScroll()
{
    // The tree scrolls by whole rows, so its value is the row at its top; the
    // chart shows the same row at its top. Its blank space below the last
    // row lets it get there even at the tree's end, where the tree's top row
    // sits lower than a scroll area ending at its last row could reach.
    const int top = m_treeView->verticalScrollBar()->value();
    const mygc::QGCVAxis *rows = m_ganttChart->verticalAxis();
    QScrollBar *bar = m_ganttChart->verticalScrollBar();
    if (top >= 0 && top < rows->rowCount())
        bar->setValue(rows->rowTop(top));
    else
        bar->setValue(top >= 0 ? bar->maximum() : 0);
}

bool Activities::followTreeCurrent(const QModelIndex &current, const QModelIndex &previous)
{
    if (!current.isValid())
        return false;
    if (previous.isValid() && current.row() == previous.row() && current.parent() == previous.parent())
        return false;
    m_ganttChart->selectIndex(current.siblingAtColumn(0));
    return true;
}

void Activities::onTreeCurrentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // The tree scrolls its current row into view by itself; the chart has to
    // be told to bring the row's bar in sideways, or a row far down a long
    // project shows against weeks where it has no bar.
    if (followTreeCurrent(current, previous) && !m_currentFromChart)
        m_ganttChart->revealBar(current.siblingAtColumn(0));
}

void Activities::onTreeSelectionChanged(const QItemSelection &selected, const QItemSelection &)
{
    // The first range's top-left is the first selected index; listing every
    // index of a select-all would cost rows times columns. A selection alone
    // moves no current row, so the chart stays where it is sideways.
    if (!selected.isEmpty() && selected.constFirst().isValid())
        followTreeCurrent(selected.constFirst().topLeft(), QModelIndex());
}

void Activities::onGanttSelectionChanged(const QModelIndex &index)
{
    if (!index.isValid() || index.model() != m_treeView->model())
        return;
    const QModelIndex current = m_treeView->currentIndex();
    if (current.isValid() && current.siblingAtColumn(0) == index.siblingAtColumn(0))
        return;
    // The chart names rows by column 0, which the tree may hide; a current
    // index in a hidden column would leave the tree without a visible focus.
    const int column = firstVisibleColumn(m_treeView->header());
    const QModelIndex target = column >= 0 ? index.siblingAtColumn(column) : index;
    QScrollBar *horizontal = m_treeView->horizontalScrollBar();
    const int scrolled = horizontal->value();
    const QScopedValueRollback<bool> fromChart(m_currentFromChart, true);
    m_treeView->selectionModel()->select(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_treeView->setCurrentIndex(target);
    horizontal->setValue(scrolled);
}

QAbstractItemModel *Activities::shownModel() const
{
    return m_treeView->model();
}

QList<QAbstractItemModel *> Activities::modelsAboveParentProxy() const
{
    // Top first. An empty list with the parent proxy not reached means the
    // tree shows something else, and no row can be mapped.
    QList<QAbstractItemModel *> chain;
    QAbstractItemModel *model = m_treeView->model();
    while (model && model != m_parentProxy) {
        chain.append(model);
        auto *proxy = qobject_cast<QAbstractProxyModel *>(model);
        model = proxy ? proxy->sourceModel() : nullptr;
    }
    if (!model)
        chain.append(nullptr);
    return chain;
}

int Activities::masterRowOf(const QModelIndex &shown) const
{
    // The parent proxy's internal id is the source row; walks over every
    // row take this path.
    if (shown.model() == m_parentProxy)
        return int(qintptr(shown.internalId()));
    QModelIndex index = shown;
    while (index.isValid() && index.model() != m_parentProxy) {
        const auto *proxy = qobject_cast<const QAbstractProxyModel *>(index.model());
        index = proxy ? proxy->mapToSource(index) : QModelIndex();
    }
    return index.isValid() ? m_parentProxy->mapToSource(index).row() : -1;
}

QModelIndex Activities::shownIndexOf(int masterRow) const
{
    if (!m_activityModel || masterRow < 0 || masterRow >= m_activityModel->rowCount())
        return QModelIndex();
    const QList<QAbstractItemModel *> chain = modelsAboveParentProxy();
    if (chain.contains(nullptr))
        return QModelIndex();
    QModelIndex index = m_parentProxy->mapFromSource(m_activityModel->index(masterRow, 0));
    if (index.row() < 0)
        return QModelIndex();
    for (auto it = chain.crbegin(); it != chain.crend() && index.isValid(); ++it)
        index = static_cast<QAbstractProxyModel *>(*it)->mapFromSource(index);
    return index;
}

void Activities::applyLevelStyles()
{
    QVector<PdGroupedTreeView::LevelStyle> styles;
    for (const PdGroupLevel &level : qAsConst(m_groupLevels))
        styles.append({level.background, level.font, level.textColor});
    // A layout naming one level still groups a WBS many levels deep: the
    // deeper bands take the built-in colours rather than none at all.
    const QList<PdGroupLevel> builtIn = PdGroupLevel::defaultLevels();
    for (int i = styles.size(); i < builtIn.size(); ++i) {
        QFont font = m_treeView->font();
        font.setBold(true);
        styles.append({builtIn.at(i).background, font, QColor()});
    }
    m_treeView->setLevelStyles(styles);
}

void Activities::setGroupLevels(const QList<PdGroupLevel> &levels)
{
    m_groupLevels = levels;
    applyLevelStyles();
    groupBySelection();
}

Activities::ViewState Activities::saveViewState() const
{
    ViewState state;
    // A group's identity holds its parent's, so two groupings share groups
    // only if they share a top group: those are the ones compared.
    for (int g : qAsConst(m_rootGroups))
        state.groups.insert(m_groupIdentities.at(g));
    for (int g = 0; g < m_groupIdentities.size(); ++g) {
        const quint64 identity = m_groupIdentities.at(g);
        const QModelIndex index = shownIndexOf(m_initialRowCount + g);
        if (index.isValid() && m_treeView->isExpanded(index))
            state.expandedGroups.insert(identity);
    }
    const int current = masterRowOf(m_treeView->currentIndex());
    if (current >= 0 && current < m_initialRowCount)
        state.currentRow = current;
    else if (current >= m_initialRowCount && current - m_initialRowCount < m_groupIdentities.size()) {
        state.currentGroup = m_groupIdentities.at(current - m_initialRowCount);
        state.hasCurrentGroup = true;
    }
    return state;
}

void Activities::restoreViewState(const ViewState &state)
{
    // Groups met again keep their state; a grouping that shares no group
    // with the one before opens its top groups, so their contents show
    // without laying out every row of a large project.
    bool sharesGroups = false;
    for (int g : qAsConst(m_rootGroups)) {
        if (state.groups.contains(m_groupIdentities.at(g))) {
            sharesGroups = true;
            break;
        }
    }
    int current = state.currentRow;
    if (current < 0 && state.hasCurrentGroup) {
        const int g = m_groupIdentities.indexOf(state.currentGroup);
        current = g >= 0 ? m_initialRowCount + g : -1;
    }
    const QModelIndex index = shownIndexOf(current);
    {
        // The chart rebuilds once below, not once per group opened, nor
        // again for the groups opened to show the current row.
        const QSignalBlocker blocker(m_treeView);
        for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
            m_treeView->expand(parent);
        if (sharesGroups) {
            for (int g = 0; g < m_groupIdentities.size(); ++g) {
                if (state.expandedGroups.contains(m_groupIdentities.at(g)))
                    m_treeView->expand(shownIndexOf(m_initialRowCount + g));
            }
        } else if (!m_groupIdentities.isEmpty()) {
            QAbstractItemModel *shown = m_treeView->model();
            for (int r = 0, rows = shown->rowCount(); r < rows; ++r) {
                const QModelIndex top = shown->index(r, 0);
                if (shown->hasChildren(top))
                    m_treeView->expand(top);
            }
        }
    }
    m_ganttChart->rebuild();

    if (index.isValid())
        makeCurrent(index);
    else
        scrollChartToWork();
}

void Activities::makeCurrent(const QModelIndex &index)
{
    const int column = firstVisibleColumn(m_treeView->header());
    const QModelIndex target = column >= 0 ? index.siblingAtColumn(column) : index;
    QScrollBar *horizontal = m_treeView->horizontalScrollBar();
    const int scrolled = horizontal->value();
    // scrollTo opens the groups above the row; the chart must hear of that
    // before the row is made current, or it has no row to select.
    m_treeView->scrollTo(target, QAbstractItemView::PositionAtCenter);
    m_ganttChart->flushPendingRebuild();
    m_treeView->selectionModel()->select(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_treeView->setCurrentIndex(target);
    m_treeView->viewport()->update();
    horizontal->setValue(scrolled);
    m_ganttChart->revealBar(target.siblingAtColumn(0));
}

void Activities::scrollChartToWork()
{
    // The first shown activity with dates: the chart opens where the work
    // is, not on a stretch of empty days before it.
    m_ganttChart->flushPendingRebuild();
    for (int row = 0, rows = m_ganttChart->itemCount(); row < rows; ++row) {
        const auto item = m_ganttChart->item(row);
        if (item->kind() == mygc::TaskItem::Summary || !item->start().isValid())
            continue;
        const int x = m_ganttChart->dateAxis()->xForDate(item->start());
        if (x >= 0) {
            const int margin = std::min(m_ganttChart->dateAxis()->columnWidth(),
                                        m_ganttChart->viewport()->width() / 4);
            m_ganttChart->horizontalScrollBar()->setValue(x - margin);
        }
        return;
    }
}

void Activities::groupBySelection()
{
    auto *join = qobject_cast<PdJoinProxyModel *>(m_activityModel.data());
    QAbstractItemModel *master = join ? join->sourceModel() : nullptr;
    if (!master)
        return;
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);

    const ViewState state = saveViewState();
    // The views above hear of the removal, the insertion and the new parent
    // map as one reset.
    m_parentProxy->beginSourceChange();
    if (m_activityModel->rowCount() > m_initialRowCount)
        removeGrouping(master);
    m_rowNumbering.truncate(m_activityModel->rowCount());
    m_initialRowCount = m_activityModel->rowCount();
    m_groupIdentities.clear();
    m_rootGroups.clear();

    m_groupDatesWritten = false;
    ActivityGrouping grouping;
    if (handleGroupings(&grouping))
        insertToModel(master, grouping, columnByName(master, QStringLiteral("Group")));
    m_parentProxy->endSourceChange();
    updateRowNumber();
    calculateGroupings();
    restoreViewState(state);

}

void Activities::removeGrouping(QAbstractItemModel *master)
{
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);
    // The removal is announced, not hidden behind blocked signals: the join
    // then drops the values written into the group rows' cells, which would
    // otherwise show up again in the next grouping's rows.
    master->removeRows(m_initialRowCount, master->rowCount() - m_initialRowCount);
}

bool Activities::handleGroupings(ActivityGrouping *grouping)
{
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);
    QVector<ActivityGroupingLevel> levels;
    const ActivityGrouping::Sources sources{qobject_cast<PdJoinProxyModel *>(m_activityModel.data()), m_wbsModel,
                                            m_codeTypeModel, m_codeModel};
    const bool complete = ActivityGrouping::readLevels(m_groupLevels, sources, &levels, &m_levelCache);
    applyLevelStyles();
    // A field no model supplies cancels the whole grouping, and levels that
    // gave no index leave the tree flat: an empty parent map would show no
    // rows at all.
    if (!complete || levels.isEmpty())
        return false;
    grouping->build(levels, m_activityModel->rowCount());
    return true;
}

void Activities::insertToModel(QAbstractItemModel *master, const ActivityGrouping &grouping, int groupColumn)
{
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);
    const int first = master->rowCount();
    const QVector<ActivityGrouping::Group> &groups = grouping.groups();
    // All group rows in one insertion: each insertion travels through the
    // join and the parent proxy, which rebuild their maps for it.
    if (!groups.isEmpty() && master->insertRows(first, groups.size())) {
        const QSignalBlocker blocker(master);
        for (int g = 0; g < groups.size(); ++g) {
            master->setData(master->index(first + g, groupColumn), groups.at(g).display.toString(), Qt::DisplayRole);
            m_groupIdentities.append(groups.at(g).identity);
            if (groups.at(g).parent < 0)
                m_rootGroups.append(g);
        }
    }
    m_parentProxy->endSourceChange(grouping.parentMap(first));
}

void Activities::updateRowNumber()
{
    m_renumberTimer.stop();
    QAbstractItemModel *model = m_activityModel;
    QAbstractItemModel *shown = m_treeView->model();
    if (!qobject_cast<PdJoinProxyModel *>(model) || !shown)
        return;
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);
    // The join reads the figures on demand; no view hears of each cell, so
    // a sort by these columns does not chase its own renumbering. The tree
    // repaints once.
    m_rowNumbering.renumber(
        shown, [this](const QModelIndex &index) { return masterRowOf(index); }, model->rowCount());
    m_treeView->viewport()->update();
}

void Activities::flushPendingRowNumbers()
{
    if (m_renumberTimer.isActive())
        updateRowNumber();
}

QList<int> Activities::groupDateColumns(QList<bool> *earliest) const
{
    // The dates the user can see: the tree's shown columns and the chart's
    // bars. Every date column of a large project would cost a read of each
    // activity's every date on each regrouping.
    QList<int> columns;
    const QAbstractItemModel *model = m_activityModel;
    if (!model)
        return columns;
    QSet<int> wanted;
    const QHeaderView *header = m_treeView->header();
    for (int c = 0; c < header->count(); ++c) {
        if (!header->isSectionHidden(c))
            wanted.insert(c);
    }
    for (int c : {m_ganttChart->startColumn(), m_ganttChart->finishColumn(), m_ganttChart->actualStartColumn(),
                  m_ganttChart->actualFinishColumn(), m_ganttChart->baselineStartColumn(),
                  m_ganttChart->baselineFinishColumn()}) {
        if (c >= 0)
            wanted.insert(c);
    }
    for (int c = 0; c < model->columnCount(); ++c) {
        if (!wanted.contains(c))
            continue;
        const QVariantMap descriptor = model->headerData(c, Qt::Horizontal, Qt::UserRole + 2).toMap();
        if (descriptor.value(QStringLiteral("datatype")).toString() != QLatin1String("datetime"))
            continue;
        const QString name = descriptor.value(QStringLiteral("display")).toString().toLower();
        if (name.contains(QLatin1String("start"))) {
            columns << c;
            *earliest << true;
        } else if (name.contains(QLatin1String("finish"))) {
            columns << c;
            *earliest << false;
        }
    }
    return columns;
}

void Activities::calculateGroupings()
{
    QAbstractItemModel *model = m_activityModel;
    if (!model || m_groupIdentities.isEmpty())
        return;
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);
    QList<bool> earliest;
    const QList<int> columns = groupDateColumns(&earliest);
    // Group dates come from all of a group's activities, shown or filtered
    // out; only a new grouping or newly shown date columns change them. A
    // layout that sets columns and filters before it regroups would
    // otherwise compute every group's dates twice for nothing.
    if (m_groupDatesWritten && columns == m_groupDateColumns) {
        return;
    }
    m_groupDateColumns = columns;
    m_groupDatesWritten = true;
    GroupRowFigures::writeGroupDates(model, m_parentProxy->currentParentMap(), m_initialRowCount, columns,
                                     earliest);
    m_treeView->viewport()->update();
    m_ganttChart->scheduleRebuild();
}

void Activities::onUpdateMergeColumns()
{
    const StepTimer timer(Q_FUNC_INFO, lcViewsTiming);
    const QStringList names = visibleColumnNames(m_treeView->header());
    const QAbstractItemModel *model = m_treeView->model();
    int merged = 0;
    for (int i = 1; i < 3 && i < names.size(); ++i) {
        const int column = columnByName(model, names.at(i));
        const QVariantMap descriptor = model->headerData(column, Qt::Horizontal, Qt::UserRole + 2).toMap();
        if (descriptor.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime"))
            break;
        ++merged;
    }
    m_treeView->setMergeColumns(merged);
    // Newly shown date columns of the group rows need their dates.
    calculateGroupings();
}

void Activities::updateGanttRelationship()
{
}

bool Activities::selectActivity(const QVariant &taskId)
{
    QAbstractItemModel *model = m_activityModel;
    const int taskIdColumn = model ? columnByName(model, QStringLiteral("task_id")) : -1;
    if (taskIdColumn < 0 || !taskId.isValid())
        return false;
    for (int row = 0; row < m_initialRowCount; ++row) {
        if (model->index(row, taskIdColumn).data() == taskId) {
            const QModelIndex index = shownIndexOf(row);
            if (!index.isValid())
                return false;
            makeCurrent(index);
            return true;
        }
    }
    return false;
}

bool Activities::findActivity(const QString &text)
{
    QAbstractItemModel *model = m_activityModel;
    if (!model || text.isEmpty() || m_initialRowCount == 0)
        return false;
    const int idColumn = columnByName(model, QStringLiteral("Activity ID"));
    const int nameColumn = columnByName(model, QStringLiteral("Activity Name"));
    const auto matches = [&](int row) {
        return (idColumn >= 0 && model->index(row, idColumn).data().toString().contains(text, Qt::CaseInsensitive))
            || (nameColumn >= 0
                && model->index(row, nameColumn).data().toString().contains(text, Qt::CaseInsensitive));
    };
    // The shown order, from the row after the current one round to it.
    const QModelIndexList rows = allIndexes(m_treeView->model());
    const int current = rows.indexOf(m_treeView->currentIndex().siblingAtColumn(0));
    for (int step = 1; step <= rows.size(); ++step) {
        const QModelIndex index = rows.at((current + step) % rows.size());
        const int row = masterRowOf(index);
        if (row >= 0 && row < m_initialRowCount && matches(row)) {
            makeCurrent(index);
            return true;
        }
    }
    return false;
}
