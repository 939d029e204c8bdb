#include "activities.h"

#include "chartarea.h"
#include "ganttchart.h"
#include "pdmodelutils.h"
#include "pdparentitemproxymodel.h"
#include "pdrecordsetmodel.h"
#include "qgcvaxis.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <QWheelEvent>

#include <cstdlib>

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

    m_treeView = new QTreeView(m_splitter);
    m_treeView->setObjectName(QStringLiteral("treeView"));
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform heights let the view skip measuring every row, which is what
    // keeps a 200,000-row project scrolling smoothly.
    m_treeView->setUniformRowHeights(true);
    // The chart always shows its horizontal scroll bar; the tree shows one
    // too so both viewports are equally tall and their last rows line up.
    m_treeView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
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
}

void Activities::setModels(QAbstractItemModel *activityModel, QAbstractItemModel *wbsModel,
                           QAbstractItemModel *codeTypeModel, QAbstractItemModel *codeModel,
                           QAbstractItemModel *relationshipModel, bool)
{
    qInfo().nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();

    m_activityModel = activityModel ? activityModel : m_emptyModel;
    m_wbsModel = wbsModel;
    m_codeTypeModel = codeTypeModel;
    m_codeModel = codeModel;
    m_relationshipModel = relationshipModel;

    m_parentProxy->setSourceModel(m_activityModel);
    if (m_treeView->model() != m_parentProxy)
        m_treeView->setModel(m_parentProxy);
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
    m_ganttChart->setModels(shown, start, finish, columnByName(shown, QStringLiteral("Activity Type")), 0,
                            m_relationshipModel, 0, 1, 3, 4, actualStart, actualFinish, baselineStart,
                            baselineFinish, m_treeView);

    m_initialRowCount = m_activityModel->rowCount();
    connectTreeSelection();
    followTreeScroll();

    qInfo().nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
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
                                      &Activities::onTreeCurrentChanged);
}

int Activities::treeRowHeight() const
{
    const QAbstractItemModel *model = m_treeView->model();
    if (!model || model->rowCount() == 0)
        return -1;
    // The height the tree really lays its rows out with; a hidden column has
    // no visual rect, so the first shown one is asked.
    const int column = firstVisibleColumn(m_treeView->header());
    const int height = column >= 0 ? m_treeView->visualRect(model->index(0, column)).height() : 0;
    return height > 0 ? height : m_treeView->sizeHintForRow(0);
}

void Activities::onCloseProject()
{
    m_ganttChart->horizontalScrollBar()->setValue(0);
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

void Activities::onTreeScrolled(int value)
{
    qDebug() << "VSROLL" << value;
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
