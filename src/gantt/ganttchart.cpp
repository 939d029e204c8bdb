#include "ganttchart.h"

#include "chartarea.h"
#include "chartspan.h"
#include "dateaxis.h"
#include "pdmodelutils.h"
#include "steptimer.h"
#include "qgcvaxis.h"
#include "taskdrawdelegate.h"
#include "taskitem.h"
#include "taskrelationship.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QLoggingCategory>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeView>

#include <algorithm>
#include <limits>

// Timed start/stop lines; QT_LOGGING_RULES="plandeck.timing.*=false" silences them.
Q_LOGGING_CATEGORY(lcGanttTiming, "plandeck.timing.gantt", QtInfoMsg)

namespace mygc {

namespace {

// Beyond this many relationships the rows are painted before the links are
// laid out.
constexpr int DeferredLinkCount = 20000;

bool nameIn(const QString &name, std::initializer_list<const char *> names)
{
    for (const char *n : names) {
        if (name == QLatin1String(n))
            return true;
    }
    return false;
}

} // namespace

GanttChart::GanttChart(QWidget *parent)
    : QScrollArea(parent)
    , m_delegate(std::make_unique<TaskDrawDelegate>(this))
{
    PdGanttViewBarStyle::registerMetaType();

    m_dateAxis = new DateAxis(this);
    m_dateAxis->setScaleHidden(true);
    connect(m_dateAxis, &DateAxis::heightChanged, this, &GanttChart::dateAxisHeightChanged);
    setViewportMargins(0, m_dateAxis->height(), 0, 0);
    emit headerSizeChanged();

    m_vaxis = new QGCVAxis(this);
    m_span = new ChartSpan(this);
    m_area = new ChartArea(this);
    setWidget(m_area);
    m_area->setFixedSize(0, 0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    m_barStyles = PdGanttViewBarStyle::chartDefaults();
    resolveStyleRoles();

    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &GanttChart::hscrolled);
    connect(m_dateAxis, &DateAxis::axisWidthChanged, m_area, &ChartArea::dateAxisWidthChanged);
    connect(m_area, &ChartArea::selectionChanged, this, &GanttChart::areaSelectionChanged);

    m_rebuildTimer.setSingleShot(true);
    m_rebuildTimer.setInterval(0);
    connect(&m_rebuildTimer, &QTimer::timeout, this, &GanttChart::rebuild);
    m_linkTimer.setSingleShot(true);
    m_linkTimer.setInterval(0);
    connect(&m_linkTimer, &QTimer::timeout, this, [this] {
        if (m_linksDirty) {
            layOutRelationships();
            m_area->update();
        }
    });
}

GanttChart::~GanttChart()
{
    disconnectSources();
}

void GanttChart::selectRowSilently(int row)
{
    QSignalBlocker blocker(this);
    m_area->setCurrentRow(row);
}

void GanttChart::selectIndex(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    flushPendingRebuild();
    const int row = rowOfIndex(index);
    if (row >= 0)
        selectRowSilently(row);
}

void GanttChart::revealBar(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    flushPendingRebuild();
    const int row = rowOfIndex(index);
    if (row < 0 || row >= m_area->rowCount())
        return;
    const ChartRow &record = m_area->chartRow(row);
    if (!record.hasDates)
        return;
    const TaskItem &item = *record.item;
    const int startX = m_dateAxis->xForDate(item.start());
    const int finishX = item.kind() == TaskItem::Milestone ? startX : m_dateAxis->xForDate(item.finish());
    if (startX < 0 || finishX < 0)
        return;
    // End points and milestones are shapes centred on their date.
    const int overhang = TaskDrawDelegate::ShapeSize / 2;
    const int left = startX - overhang;
    const int right = finishX + overhang + 1;

    QScrollBar *bar = horizontalScrollBar();
    const int width = viewport()->width();
    const int shownLeft = bar->value();
    const int shownRight = shownLeft + width;
    // A summary usually spans far more than one screen; any part of it in
    // view places it well enough.
    if (item.kind() == TaskItem::Summary) {
        if (right > shownLeft && left < shownRight)
            return;
    } else if (left >= shownLeft && right <= shownRight) {
        return;
    }
    const int margin = std::min(m_dateAxis->columnWidth(), width / 4);
    bar->setValue(left - margin);
}

int GanttChart::itemCount() const
{
    return m_area->rowCount();
}

QSharedPointer<TaskItem> GanttChart::item(int row) const
{
    if (row < 0 || row >= m_area->rowCount())
        return QSharedPointer<TaskItem>();
    return m_area->chartRow(row).item;
}

QSharedPointer<TaskItem> GanttChart::createItem(int row) const
{
    auto item = QSharedPointer<TaskItem>::create();
    const QModelIndex index = m_rowIndexes.value(row);
    item->setIndex(index);
    if (!m_model || !index.isValid() || index.model() != m_model)
        return item;
    const auto cell = [&](int column) {
        return column < 0 ? QVariant() : index.siblingAtColumn(column).data(Qt::DisplayRole);
    };
    item->setStart(cell(m_startColumn).toDateTime());
    item->setFinish(cell(m_finishColumn).toDateTime());
    item->setId(cell(m_idColumn).toInt());
    if (m_actualStartColumn != -1)
        item->setActualStart(cell(m_actualStartColumn).toDateTime());
    if (m_actualFinishColumn != -1)
        item->setActualFinish(cell(m_actualFinishColumn).toDateTime());
    if (m_baselineStartColumn != -1)
        item->setBaselineStart(cell(m_baselineStartColumn).toDateTime());
    if (m_baselineFinishColumn != -1)
        item->setBaselineFinish(cell(m_baselineFinishColumn).toDateTime());
    const QString type = cell(m_typeColumn).toString();
    if (type == QLatin1String("Milestone"))
        item->setKind(TaskItem::Milestone);
    else if (type == QLatin1String("Summary") || m_model->rowCount(index) > 0)
        item->setKind(TaskItem::Summary);
    else
        item->setKind(TaskItem::Task);
    return item;
}

int GanttChart::rowOfIndex(const QModelIndex &index) const
{
    if (!index.isValid())
        return -1;
    const QModelIndex target = index.siblingAtColumn(0);
    if (!m_rowsFromModel) {
        return int(m_rowIndexes.indexOf(target));
    }
    if (target.model() != m_model)
        return -1;
    // The rows stand in depth-first order, which is the order of their paths
    // of row numbers from the top; a binary search on paths needs no table
    // of every index. A row's path is read from the walk's own record of
    // parents, so indexes held from before a change are never asked for theirs.
    std::vector<int> wanted;
    for (QModelIndex i = target; i.isValid(); i = i.parent())
        wanted.push_back(i.row());
    std::reverse(wanted.begin(), wanted.end());
    std::vector<int> path;
    const auto pathOf = [&](int row) {
        path.clear();
        for (int r = row; r >= 0; r = m_parentRow.at(r))
            path.push_back(m_rowIndexes.at(r).row());
        std::reverse(path.begin(), path.end());
    };
    int lo = 0;
    int hi = m_rowIndexes.size();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        pathOf(mid);
        if (std::lexicographical_compare(path.begin(), path.end(), wanted.begin(), wanted.end()))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo >= m_rowIndexes.size())
        return -1;
    pathOf(lo);
    return path == wanted ? lo : -1;
}

int GanttChart::rowOfId(int id) const
{
    if (m_idMapDirty)
        buildIdMap();
    return m_rowIds.rowOf(id);
}

void GanttChart::buildIdMap() const
{
    m_idMapDirty = false;
    const int rows = itemCount();
    // Model rows give their id without reading the rest of the row.
    QVector<int> ids(rows);
    for (int r = 0; r < rows; ++r) {
        const QModelIndex &index = m_rowIndexes.at(r);
        if (m_rowsFromModel && m_model && index.model() == m_model)
            ids[r] = m_idColumn < 0 ? 0 : index.siblingAtColumn(m_idColumn).data().toInt();
        else
            ids[r] = item(r)->id();
    }
    m_rowIds.build(ids);
}

int GanttChart::dateAxisHeight() const { return m_dateAxis->height(); }
void GanttChart::setDefaultRowHeight(int height) { m_defaultRowHeight = height; }
int GanttChart::defaultRowHeight() const { return m_defaultRowHeight; }
QAbstractItemModel *GanttChart::model() const { return m_model; }

void GanttChart::addItem(const TaskItem &item, int rowHeight)
{
    auto shared = QSharedPointer<TaskItem>::create(item);
    m_rowIndexes.append(item.index());
    m_parentRow.append(-1);
    m_rowsFromModel = false;
    m_idMapDirty = true;
    if (rowHeight < 1)
        rowHeight = defaultRowHeight();
    m_vaxis->addRow(rowHeight);
    m_area->addTask(shared);
}

void GanttChart::removeItem(int position)
{
    if (position < 0 || position >= itemCount())
        return;
    QVector<TaskItem> kept;
    for (int r = 0; r < itemCount(); ++r) {
        if (r != position)
            kept.append(*item(r));
    }
    clearAll();
    for (const TaskItem &t : qAsConst(kept))
        addItem(t, 0);
}

void GanttChart::insertItem(int position, const TaskItem &added)
{
    if (position < 0 || position > itemCount())
        return;
    QVector<TaskItem> all;
    for (int r = 0; r < itemCount(); ++r)
        all.append(*item(r));
    all.insert(position, added);
    clearAll();
    for (const TaskItem &t : qAsConst(all))
        addItem(t, 0);
}

void GanttChart::addRelationship(int from, int to, int type, qint64 lag)
{
    if (from < 0 || from >= itemCount() || to < 0 || to >= itemCount())
        return;
    m_relationships.append(QSharedPointer<TaskRelationship>::create(from, to, type, lag));
    m_linkIndex.invalidate();
}

void GanttChart::rebuild()
{
    m_rebuildTimer.stop();
    rebuildItems();
    rebuildRelationships();
    followTreeCurrentRow();
    m_area->update();
}

void GanttChart::followTreeCurrentRow()
{
    // Every rebuild starts from an empty area, while the tree keeps its
    // current row; without this the two would disagree after each change.
    if (!m_tree || !m_model || m_tree->model() != m_model)
        return;
    const QModelIndex current = m_tree->currentIndex();
    if (current.isValid())
        selectRowSilently(rowOfIndex(current));
}

void GanttChart::scheduleRebuild()
{
    if (!m_rebuildTimer.isActive())
        m_rebuildTimer.start();
}

void GanttChart::flushPendingRebuild()
{
    if (m_rebuildTimer.isActive())
        rebuild();
}

void GanttChart::disconnectSources()
{
    for (const auto &c : qAsConst(m_modelConnections))
        disconnect(c);
    for (const auto &c : qAsConst(m_relationConnections))
        disconnect(c);
    for (const auto &c : qAsConst(m_treeConnections))
        disconnect(c);
    m_modelConnections.clear();
    m_relationConnections.clear();
    m_treeConnections.clear();
}

void GanttChart::setModels(QAbstractItemModel *model, int startColumn, int finishColumn, int typeColumn,
                           int idColumn, QAbstractItemModel *relationModel, int relTaskColumn,
                           int relPredecessorColumn, int relTypeColumn, int relLagColumn,
                           int actualStartColumn, int actualFinishColumn, int baselineStartColumn,
                           int baselineFinishColumn, QTreeView *tree)
{
    const StepTimer timer(Q_FUNC_INFO, lcGanttTiming);

    // A second call must not leave the first call's connections behind, or
    // every signal would rebuild once per call ever made.
    disconnectSources();

    m_tree = tree;
    if (tree) {
        m_treeConnections << connect(tree, &QTreeView::collapsed, this, &GanttChart::rowExpandedCollapsed)
                          << connect(tree, &QTreeView::expanded, this, &GanttChart::rowExpandedCollapsed);
    }
    if (m_model)
        clearAll();
    m_model = model;
    if (m_relationModel) {
        m_relationships.clear();
        m_linkIndex.invalidate();
    }
    m_relationModel = relationModel;
    m_linkSourcesDirty = true;

    m_startColumn = startColumn;
    m_finishColumn = finishColumn;
    m_typeColumn = typeColumn;
    m_idColumn = idColumn;
    m_relTaskColumn = relTaskColumn;
    m_relPredecessorColumn = relPredecessorColumn;
    m_relTypeColumn = relTypeColumn;
    m_relLagColumn = relLagColumn;
    m_actualStartColumn = actualStartColumn;
    m_actualFinishColumn = actualFinishColumn;
    m_baselineStartColumn = baselineStartColumn;
    m_baselineFinishColumn = baselineFinishColumn;
    m_span->setColumns(startColumn, finishColumn);

    if (model) {
        using M = QAbstractItemModel;
        m_modelConnections
                << connect(model, &M::modelReset, this, &GanttChart::modelReset)
                << connect(model, &M::destroyed, this, &GanttChart::modelDestroyed)
                << connect(model, &M::rowsInserted, this, &GanttChart::modelRowsInserted)
                << connect(model, &M::dataChanged, this, &GanttChart::modelDataChanged)
                << connect(model, &M::rowsMoved, this, &GanttChart::modelRowsMoved)
                << connect(model, &M::rowsRemoved, this, &GanttChart::modelRowsRemoved)
                // Sorting reorders rows through a layout change only; without
                // this the chart would keep the old order beside a sorted tree.
                << connect(model, &M::layoutChanged, this, &GanttChart::scheduleRebuild);
    }
    if (relationModel) {
        using M = QAbstractItemModel;
        m_relationConnections
                << connect(relationModel, &M::modelReset, this, &GanttChart::rmodelReset)
                << connect(relationModel, &M::destroyed, this, &GanttChart::rmodelDestroyed);
    }

    m_rebuildTimer.stop();
    rebuildItems();
    rebuildRelationships();
    followTreeCurrentRow();
    m_area->update();

}

void GanttChart::setLevels(const QVector<int> &units)
{
    // New bands change both the scale and its origin, so the scroll offset
    // would point at another year; the chart keeps a date in place instead.
    const ViewAnchor anchor = viewAnchor();
    m_dateAxis->setLevels(units);
    restoreViewAnchor(anchor);
    m_area->update();
}

GanttChart::ViewAnchor GanttChart::viewAnchor() const
{
    const int shownLeft = horizontalScrollBar()->value();
    ViewAnchor anchor{DateAxis::wallMSecs(m_dateAxis->dateAt(shownLeft)), 0};
    const int current = m_area->currentRow();
    if (current < 0 || current >= m_area->rowCount() || !m_area->chartRow(current).hasDates)
        return anchor;
    // The current bar, when its start shows, stays where the user sees it.
    // One that starts left of the view covers the left edge, and so stays
    // in view with it.
    const qint64 start = DateAxis::wallMSecs(m_area->chartRow(current).item->start());
    const int startX = m_dateAxis->xForWallMSecs(start);
    if (startX > shownLeft && startX < shownLeft + viewport()->width())
        anchor = {start, startX - shownLeft};
    return anchor;
}

void GanttChart::restoreViewAnchor(const ViewAnchor &anchor)
{
    const qint64 msecs = qBound(m_dateAxis->startWallMSecs(), anchor.wallMSecs, m_dateAxis->endWallMSecs());
    const int x = m_dateAxis->xForWallMSecs(msecs);
    QScrollBar *bar = horizontalScrollBar();
    // The scroll area learns the area's new width from a resize event, which
    // a chart not on screen gets only later; until then the old range would
    // clamp the new position.
    bar->setRange(0, std::max(0, m_area->width() - viewport()->width()));
    bar->setValue(std::max(0, x) - anchor.viewX);
}

void GanttChart::clearAll()
{
    m_rowIndexes.clear();
    m_parentRow.clear();
    m_rowsFromModel = false;
    m_rowIds.clear();
    m_idMapDirty = true;
    m_relationships.clear();
    m_linkIndex.invalidate();
    m_linksDirty = false;
    m_vaxis->clear();
    m_area->clear();
    // An empty chart shows a blank header; the first row added shows the
    // scale again.
    m_dateAxis->setScaleHidden(true);
}

void GanttChart::collectRows()
{
    // Only indexes are taken here; what a row shows is read when it is asked for.
    const bool followTree = m_tree && m_tree->model() == m_model;
    struct Level
    {
        QModelIndex parent;
        int parentRow;
        int next;
        int count;
    };
    std::vector<Level> stack{{QModelIndex(), -1, 0, m_model->rowCount()}};
    while (!stack.empty()) {
        Level &level = stack.back();
        if (level.next >= level.count) {
            stack.pop_back();
            continue;
        }
        const QModelIndex index = m_model->index(level.next++, 0, level.parent);
        const int row = m_rowIndexes.size();
        m_rowIndexes.append(index);
        m_parentRow.append(level.parentRow);
        const int children = m_model->rowCount(index);
        // The tree's expanded state is only meaningful for the model it shows.
        if (children > 0 && (!followTree || m_tree->isExpanded(index)))
            stack.push_back({index, row, 0, children});
    }
}

void GanttChart::rebuildItems()
{
    // A rebuild usually shows about as many rows as the one before.
    const int previous = m_rowIndexes.size();
    clearAll();
    if (!m_model)
        return;
    const StepTimer timer(Q_FUNC_INFO, lcGanttTiming);
    m_rowIndexes.reserve(previous);
    m_parentRow.reserve(previous);
    collectRows();
    m_rowsFromModel = true;
    const int rows = m_rowIndexes.size();
    m_vaxis->setUniformRows(rows, defaultRowHeight());
    m_area->beginBatch(0);
    m_area->resetRows(rows);
    fitAxis();
    m_area->endBatch();
}

void GanttChart::setSpanModel(QAbstractItemModel *model)
{
    m_span->setModel(model);
}

void GanttChart::fitAxis()
{
    if (!m_span->model()) {
        m_area->fitAxisToRows();
        return;
    }
    const ChartSpan::Span &span = m_span->span();
    if (span.valid)
        m_area->fitAxisToSpan(span.reference, span.first, span.last);
}

void GanttChart::rebuildRelationships()
{
    m_relationships.clear();
    m_linkIndex.invalidate();
    m_idMapDirty = true;
    m_linksDirty = m_relationModel != nullptr;
}

bool GanttChart::deferRelationships() const
{
    return m_linksDirty && m_relationModel && m_relationModel->rowCount() > DeferredLinkCount;
}

void GanttChart::scheduleRelationships()
{
    if (m_linksDirty && !m_linkTimer.isActive())
        m_linkTimer.start();
}

const QVector<QSharedPointer<TaskRelationship>> &GanttChart::relationships() const
{
    if (m_linksDirty)
        layOutRelationships();
    return m_relationships;
}

void GanttChart::readLinkSources() const
{
    m_linkSourcesDirty = false;
    m_linkSources.clear();
    if (!m_relationModel)
        return;
    const int rows = m_relationModel->rowCount();
    const int columns = m_relationModel->columnCount();
    const auto cell = [&](int row, int column) {
        return column < 0 || column >= columns ? QVariant() : m_relationModel->index(row, column).data();
    };
    m_linkSources.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        // An end whose id is no number (a malformed id, kept as its text)
        // names no row; read as 0 it would tie the link to whatever row has id 0.
        bool taskOk = false;
        bool predecessorOk = false;
        const int task = cell(r, m_relTaskColumn).toInt(&taskOk);
        const int predecessor = cell(r, m_relPredecessorColumn).toInt(&predecessorOk);
        m_linkSources.append({task, predecessor, TaskRelationship::typeFromText(cell(r, m_relTypeColumn).toString()),
                              cell(r, m_relLagColumn).toLongLong(), taskOk && predecessorOk});
    }
}

void GanttChart::layOutRelationships() const
{
    m_linksDirty = false;
    m_relationships.clear();
    m_linkIndex.invalidate();
    if (!m_relationModel)
        return;
    if (m_linkSourcesDirty)
        readLinkSources();
    m_relationships.reserve(m_linkSources.size());
    const int rows = itemCount();
    for (const LinkSource &link : qAsConst(m_linkSources)) {
        if (!link.valid)
            continue;
        const int task = rowOfId(link.task);
        const int predecessor = rowOfId(link.predecessor);
        if (task < 0 || predecessor < 0 || task >= rows || predecessor >= rows)
            continue;
        m_relationships.append(QSharedPointer<TaskRelationship>::create(predecessor, task, link.type, link.lag));
    }
}

QVector<int> GanttChart::linksAcrossRows(int first, int last) const
{
    if (m_linksDirty)
        layOutRelationships();
    if (!m_linkIndex.isValid())
        m_linkIndex.build(m_relationships);
    return m_linkIndex.across(m_relationships, first, last);
}

QList<PdGanttViewBarStyle> GanttChart::barStyles() const
{
    return m_barStyles;
}

void GanttChart::setBarStyles(const QList<PdGanttViewBarStyle> &styles)
{
    if (styles == m_barStyles)
        return;
    m_barStyles = styles;
    resolveStyleRoles();
    resolveStyleColumns();
    rebuild();
}

int GanttChart::styleIndexForRole(int role) const
{
    return role >= 0 && role < 5 ? m_roleIndex[role] : -1;
}

void GanttChart::resolveStyleRoles()
{
    for (int role = 0; role < 5; ++role)
        m_roleIndex[role] = role;
    bool named[5] = {false, false, false, false, false};
    for (int i = 0; i < m_barStyles.size(); ++i) {
        const QString &name = m_barStyles.at(i).styleName;
        int role = -1;
        if (nameIn(name, {"Normal", "Task"}))
            role = TaskStyle;
        else if (nameIn(name, {"Summary"}))
            role = SummaryStyle;
        else if (nameIn(name, {"Milestone"}))
            role = MilestoneStyle;
        else if (nameIn(name, {"Baseline", "Baseline Task"}))
            role = BaselineStyle;
        else if (nameIn(name, {"Actual"}))
            role = ActualStyle;
        if (role >= 0 && !named[role]) {
            named[role] = true;
            m_roleIndex[role] = i;
        }
    }
}

void GanttChart::resolveStyleColumns()
{
    const QString defaultStart = QStringLiteral("Start Date");
    const QString defaultFinish = QStringLiteral("Finish Date");
    const auto pair = [&](int role) {
        const int i = styleIndexForRole(role);
        if (i >= 0 && i < m_barStyles.size())
            return qMakePair(m_barStyles.at(i).startDate, m_barStyles.at(i).finishDate);
        return qMakePair(defaultStart, defaultFinish);
    };
    const auto main = pair(TaskStyle);
    const auto baseline = pair(BaselineStyle);
    const auto actual = pair(ActualStyle);
    m_startColumn = columnByName(m_model, main.first);
    m_finishColumn = columnByName(m_model, main.second);
    m_baselineStartColumn = columnByName(m_model, baseline.first);
    m_baselineFinishColumn = columnByName(m_model, baseline.second);
    m_actualStartColumn = columnByName(m_model, actual.first);
    m_actualFinishColumn = columnByName(m_model, actual.second);
    m_span->setColumns(m_startColumn, m_finishColumn);
}

GanttChart::Images GanttChart::renderToImages()
{
    flushPendingRebuild();
    // The images are taken by painting, which would otherwise leave the links
    // of a large project for later.
    relationships();
    QSignalBlocker blocker(this);

    // The axis draws itself shifted by the horizontal scroll value; the
    // render must start at the scale's origin whatever the user scrolled to.
    QScrollBar *hbar = horizontalScrollBar();
    const int scroll = hbar->value();
    {
        QSignalBlocker barBlocker(hbar);
        hbar->setValue(0);
    }
    const int shownWidth = m_dateAxis->width();
    m_dateAxis->setFixedWidth(m_dateAxis->axisWidth());

    const int columnWidth = m_dateAxis->columnWidth();
    const int columns = m_dateAxis->columnCount();
    Images images;
    images.first = renderToUniformCellImages(m_dateAxis, columnWidth, columns, m_dateAxis->height(), 1, 0).value(0);
    if (itemCount() > 0)
        images.second = renderToUniformCellImages(m_area, columnWidth, columns, m_vaxis->rowHeight(0),
                                                  itemCount(), 0);

    m_dateAxis->setFixedWidth(shownWidth);
    {
        QSignalBlocker barBlocker(hbar);
        hbar->setValue(scroll);
    }
    return images;
}

void GanttChart::hscrolled(int)
{
    m_dateAxis->update();
}

void GanttChart::dateAxisHeightChanged(int height)
{
    setViewportMargins(0, height, 0, 0);
    emit headerSizeChanged();
}

void GanttChart::modelReset() { scheduleRebuild(); }
void GanttChart::modelRowsRemoved(const QModelIndex &, int, int) { scheduleRebuild(); }
// New rows may land between existing ones or under a collapsed node, so they
// are placed by a rebuild rather than appended after the last chart row.
void GanttChart::modelRowsInserted(const QModelIndex &, int, int) { scheduleRebuild(); }
void GanttChart::modelRowsMoved(const QModelIndex &, int, int, const QModelIndex &, int) { scheduleRebuild(); }
void GanttChart::modelDataChanged(const QModelIndex &, const QModelIndex &, const QVector<int> &) { scheduleRebuild(); }
void GanttChart::rowExpandedCollapsed(const QModelIndex &) { scheduleRebuild(); }
void GanttChart::rmodelReset()
{
    m_linkSourcesDirty = true;
    scheduleRebuild();
}

void GanttChart::modelDestroyed()
{
    if (!m_model)
        return;
    m_rebuildTimer.stop();
    clearAll();
    for (const auto &c : qAsConst(m_modelConnections))
        disconnect(c);
    m_modelConnections.clear();
    m_model = nullptr;
    m_area->update();
}

void GanttChart::rmodelDestroyed()
{
    if (!m_relationModel)
        return;
    m_relationships.clear();
    m_linkIndex.invalidate();
    for (const auto &c : qAsConst(m_relationConnections))
        disconnect(c);
    m_relationConnections.clear();
    m_relationModel = nullptr;
    m_linksDirty = false;
    m_linkSources.clear();
    m_area->update();
}

void GanttChart::areaSelectionChanged(int current)
{
    const QModelIndex index = m_rowIndexes.value(current);
    emit selectionChanged(index);
}

bool GanttChart::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
        m_dateAxis->move(viewport()->x(), contentsRect().top());
        return true;
    case QEvent::Resize:
        m_dateAxis->setFixedWidth(viewport()->width());
        m_dateAxis->move(viewport()->x(), contentsRect().top());
        // The base class refreshes the scroll ranges for the new viewport.
        return QScrollArea::viewportEvent(event);
    case QEvent::Wheel:
        // The chart scrolls with the tree, never on its own.
        return true;
    default:
        return QScrollArea::viewportEvent(event);
    }
}

} // namespace mygc
