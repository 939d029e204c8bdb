#include "resources.h"

#include "pddetaildelegate.h"
#include "pdfilterdialogproxymodel.h"
#include "pdmodelutils.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableView>

Resources::Resources(QWidget *parent)
    : QWidget(parent)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("Resources"));
    setWindowTitle(QStringLiteral("Form"));
    resize(400, 300);
    auto *layout = new QHBoxLayout(this);
    layout->setObjectName(QStringLiteral("horizontalLayout"));
    m_tableView = new QTableView(this);
    m_tableView->setObjectName(QStringLiteral("tableView"));
    m_tableView->setShowGrid(false);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->verticalHeader()->hide();
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_header = new PdSortFilterHeader(Qt::Horizontal, m_tableView);
    m_header->setObjectName(QStringLiteral("sortFilterHeader"));
    m_header->setSectionsClickable(true);
    m_tableView->setHorizontalHeader(m_header);
    // The filter marks are painted with the sections; without a repaint a
    // new filter would show only when the mouse next passes over it.
    connect(m_header, &PdSortFilterHeader::filterSettingsChanged, m_header->viewport(),
            QOverload<>::of(&QWidget::update));
    m_tableView->setToolTip(QStringLiteral("Double-click an assignment to show its activity"));
    layout->addWidget(m_tableView);

    connect(m_tableView, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit activityActivated(index.siblingAtColumn(0).data());
    });
}

Resources::~Resources() = default;

void Resources::setModel(QAbstractItemModel *model)
{
    // Each project gets a new proxy and controller and a header without the
    // last project's filters; the old ones are disconnected before they go,
    // so no click can reach a controller whose models are gone.
    if (m_sortFilterWidget) {
        disconnect(m_header, nullptr, m_sortFilterWidget, nullptr);
        m_header->setSortFilterWidget(nullptr);
        delete m_sortFilterWidget;
        m_sortFilterWidget = nullptr;
    }
    m_header->clearFilters();
    m_header->setSort(-1, 0);
    PdFilterDialogProxyModel *old = m_proxy;
    m_model = model;
    m_proxy = nullptr;
    if (model) {
        m_proxy = new PdFilterDialogProxyModel(this);
        m_proxy->setObjectName(QStringLiteral("resourcesProxy"));
        m_proxy->setSourceModel(model);
    }
    m_tableView->setModel(m_proxy);
    delete old;
    if (!model)
        return;
    m_sortFilterWidget = new PdSortFilterWidget(m_header, m_proxy, model, this);
    connect(m_header, &PdSortFilterHeader::popUp, m_sortFilterWidget, &PdSortFilterWidget::onAutoFilterPopUp);
    m_header->setSortFilterWidget(m_sortFilterWidget);
}

void Resources::setupResourceTable(QTableView *view)
{
    const QAbstractItemModel *model = view ? view->model() : nullptr;
    if (!model)
        return;
    QHeaderView *header = view->horizontalHeader();
    // Settings of an earlier project would otherwise add up with these.
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical != visual)
            header->moveSection(header->visualIndex(visual), visual);
        header->showSection(visual);
    }
    for (int column = 0; column <= 5 && column < model->columnCount(); ++column)
        view->setColumnHidden(column, true);

    const int typeColumn = sectionByHeaderData(header, QStringLiteral("rsrc_type"), Qt::UserRole);
    const int nameColumn = sectionByHeaderData(header, QStringLiteral("rsrc_name"), Qt::UserRole);
    if (typeColumn >= 0 && header->count() > 6)
        header->swapSections(header->visualIndex(typeColumn), 6);
    if (nameColumn >= 0 && header->count() > 7)
        header->swapSections(header->visualIndex(nameColumn), 7);

    for (const char *id : {"act_reg_qty", "cost_per_qty", "target_cost", "act_start_date", "act_end_date"}) {
        const int column = sectionByHeaderData(header, QLatin1String(id), Qt::UserRole);
        if (column >= 0)
            view->setColumnHidden(column, true);
    }
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(22);

    QAbstractItemDelegate *old = view->itemDelegate();
    view->setItemDelegate(
        new PdDetailDelegate(view, typeColumn, QPixmap(QStringLiteral(":/images/resource_human-task.png"))));
    if (old && old->parent() == view)
        old->deleteLater();

    // Names readable at once; the long field captions of the assignment
    // table may be cut rather than make every column wide. The view measures
    // only the rows it can show, so this stays quick on any project.
    const int widest = 220;
    for (int column = 0; column < model->columnCount(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        view->resizeColumnToContents(column);
        if (header->sectionSize(column) > widest)
            header->resizeSection(column, widest);
    }
}
