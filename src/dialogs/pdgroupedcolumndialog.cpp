#include "pdgroupedcolumndialog.h"

#include "pdsortfilterdelegate.h"
#include "pdsortfilterwidget.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpacerItem>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

bool isColumnEntry(const QStandardItem *item)
{
    return item && item->data(PdGroupedColumnDialog::ColumnRole).isValid();
}

QToolButton *makeToolButton(QWidget *parent, const char *name, const char *icon)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(icon)));
    return button;
}

} // namespace

PdGroupedColumnDialog::PdGroupedColumnDialog(QHeaderView *header, QWidget *parent)
    : QDialog(parent)
    , m_header(header)
{
    m_available = new QStandardItemModel(this);
    m_chosen = new QStandardItemModel(this);
    setupUi();
    connect(m_chosen, &QAbstractItemModel::rowsInserted, this, &PdGroupedColumnDialog::updateOkButton);
    connect(m_chosen, &QAbstractItemModel::rowsRemoved, this, &PdGroupedColumnDialog::updateOkButton);
    connect(m_chosen, &QAbstractItemModel::modelReset, this, &PdGroupedColumnDialog::updateOkButton);
    fill();
}

PdGroupedColumnDialog::~PdGroupedColumnDialog() = default;

void PdGroupedColumnDialog::setupUi()
{
    setObjectName(QStringLiteral("PdGroupedColumnDialog"));
    setWindowTitle(QStringLiteral("Columns"));
    resize(600, 300);
    auto *grid = new QGridLayout(this);

    m_availableView = new QTreeView(this);
    m_availableView->setObjectName(QStringLiteral("lwAvaiable"));
    m_availableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_availableView->setHeaderHidden(true);
    m_availableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_availableView->setModel(m_available);
    grid->addWidget(m_availableView, 0, 0);

    auto *moveButtons = new QVBoxLayout;
    moveButtons->setObjectName(QStringLiteral("verticalLayout_2"));
    m_right = makeToolButton(this, "tbRight", ":/images/button_rounded_blue_right_32.png");
    m_left = makeToolButton(this, "tbLeft", ":/images/button_rounded_blue_left_32.png");
    moveButtons->addWidget(m_right);
    moveButtons->addWidget(m_left);
    moveButtons->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    grid->addLayout(moveButtons, 0, 1);

    m_chosenView = new QListView(this);
    m_chosenView->setObjectName(QStringLiteral("lwChosen"));
    m_chosenView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_chosenView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_chosenView->setModel(m_chosen);
    grid->addWidget(m_chosenView, 0, 2);

    auto *orderButtons = new QVBoxLayout;
    orderButtons->setObjectName(QStringLiteral("verticalLayout"));
    m_up = makeToolButton(this, "tbUp", ":/images/button_rounded_blue_up_32.png");
    m_down = makeToolButton(this, "tbDown", ":/images/button_rounded_blue_down_32.png");
    orderButtons->addWidget(m_up);
    orderButtons->addWidget(m_down);
    orderButtons->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    grid->addLayout(orderButtons, 0, 3);

    m_clearAllFilters = new QPushButton(QStringLiteral("Clear all filters"), this);
    m_clearAllFilters->setObjectName(QStringLiteral("btnClearAllFilters"));
    // It acts through the sort/filter controller, which the view provides.
    m_clearAllFilters->setEnabled(false);
    grid->addWidget(m_clearAllFilters, 1, 0);

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    grid->addWidget(m_buttonBox, 1, 2, 1, 2);

    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_right, &QToolButton::clicked, this, &PdGroupedColumnDialog::onRightPressed);
    connect(m_left, &QToolButton::clicked, this, &PdGroupedColumnDialog::onLeftPressed);
    connect(m_up, &QToolButton::clicked, this, &PdGroupedColumnDialog::onUpPressed);
    connect(m_down, &QToolButton::clicked, this, &PdGroupedColumnDialog::onDownPressed);
    connect(m_availableView, &QAbstractItemView::doubleClicked, this, &PdGroupedColumnDialog::onDoubleClicked);
    connect(m_chosenView, &QAbstractItemView::doubleClicked, this, &PdGroupedColumnDialog::onDoubleClicked);
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_availableView),
                                    static_cast<QAbstractItemView *>(m_chosenView)}) {
        view->viewport()->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
    }
}

void PdGroupedColumnDialog::setSortFilterController(PdSortFilterWidget *controller)
{
    if (m_controller)
        disconnect(m_controller, nullptr, this, nullptr);
    m_controller = controller;
    m_clearAllFilters->disconnect();
    m_clearAllFilters->setEnabled(controller);
    if (!controller)
        return;
    for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(m_availableView),
                                    static_cast<QAbstractItemView *>(m_chosenView)}) {
        view->setItemDelegateForColumn(0, new PdSortFilterDelegate(controller, view));
        connect(controller, &PdSortFilterWidget::filtered, view->viewport(), qOverload<>(&QWidget::update));
    }
    connect(m_clearAllFilters, &QPushButton::clicked, controller, &PdSortFilterWidget::clearAllFilters);
    connect(this, &PdGroupedColumnDialog::popUp, controller, &PdSortFilterWidget::onAutoFilterPopUp);
}

void PdGroupedColumnDialog::excludeGroup(const QString &name, bool exclude)
{
    m_excludedGroups.removeAll(name);
    if (exclude)
        m_excludedGroups.append(name);
    fill();
}

QStandardItem *PdGroupedColumnDialog::groupItem(const QString &name)
{
    QStandardItem *&item = m_groupItems[name];
    if (!item) {
        item = new QStandardItem(name);
        item->setEditable(false);
    }
    return item;
}

void PdGroupedColumnDialog::fill()
{
    m_available->clear();
    m_chosen->clear();
    m_groupItems.clear();
    const QAbstractItemModel *model = m_header ? m_header->model() : nullptr;
    if (!model) {
        updateOkButton();
        return;
    }
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int column = m_header->logicalIndex(visual);
        const QString title = model->headerData(column, m_header->orientation(), Qt::DisplayRole).toString();
        const QString group = model->headerData(column, m_header->orientation(), GroupRole).toString();
        if (m_excludedGroups.contains(group))
            continue;
        auto *item = new QStandardItem(title);
        item->setEditable(false);
        item->setData(visual, VisualPositionRole);
        item->setData(group, GroupRole);
        item->setData(column, ColumnRole);
        if (m_header->isSectionHidden(column))
            groupItem(group)->appendRow(item);
        else
            m_chosen->appendRow(item);
    }
    for (QStandardItem *group : qAsConst(m_groupItems))
        m_available->appendRow(group);
    updateOkButton();
}

void PdGroupedColumnDialog::updateOkButton()
{
    m_buttonBox->button(QDialogButtonBox::Ok)->setEnabled(m_chosen->rowCount() > 0);
}

QVector<int> PdGroupedColumnDialog::chosenColumns() const
{
    QVector<int> columns;
    for (int row = 0; row < m_chosen->rowCount(); ++row)
        columns.append(m_chosen->item(row)->data(ColumnRole).toInt());
    return columns;
}

QStringList PdGroupedColumnDialog::columns() const
{
    QStringList titles;
    for (int row = 0; row < m_chosen->rowCount(); ++row)
        titles.append(m_chosen->item(row)->text());
    return titles;
}

void PdGroupedColumnDialog::applyChosenColumns() const
{
    const QVector<int> columns = chosenColumns();
    if (!m_header || columns.isEmpty())
        return;
    for (int section = 0; section < m_header->count(); ++section)
        m_header->setSectionHidden(section, true);
    int position = 0;
    for (const int column : columns) {
        if (column < 0 || column >= m_header->count())
            continue;
        m_header->setSectionHidden(column, false);
        const int visual = m_header->visualIndex(column);
        if (visual != position)
            m_header->moveSection(visual, position);
        ++position;
    }
}

void PdGroupedColumnDialog::onRightPressed()
{
    const QModelIndex current = m_availableView->currentIndex();
    const int currentRow = current.row();
    const QModelIndex currentParent = current.parent();

    // Collected in tree order first: taking rows out as they are found would
    // shift the rows still to be looked at.
    const QItemSelectionModel *selection = m_availableView->selectionModel();
    QList<QStandardItem *> moving;
    for (int g = 0; g < m_available->rowCount(); ++g) {
        QStandardItem *group = m_available->item(g);
        const bool wholeGroup = selection->isSelected(group->index());
        for (int row = 0; row < group->rowCount(); ++row) {
            QStandardItem *entry = group->child(row);
            if (wholeGroup || selection->isSelected(entry->index()))
                moving.append(entry);
        }
    }
    for (QStandardItem *entry : qAsConst(moving)) {
        const QList<QStandardItem *> taken = entry->parent()->takeRow(entry->row());
        m_chosen->appendRow(taken);
    }

    if (currentRow >= 0) {
        const int rows = m_available->rowCount(currentParent);
        if (rows > 0)
            m_availableView->setCurrentIndex(m_available->index(std::min(currentRow, rows - 1), 0, currentParent));
    }
}

void PdGroupedColumnDialog::onLeftPressed()
{
    const int currentRow = m_chosenView->currentIndex().row();
    QList<int> rows;
    for (const QModelIndex &index : m_chosenView->selectionModel()->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    QStandardItem *last = nullptr;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        QStandardItem *entry = m_chosen->takeRow(*it).value(0);
        if (!entry)
            continue;
        const QString groupName = entry->data(GroupRole).toString();
        QStandardItem *group = m_groupItems.value(groupName);
        if (!group) {
            group = groupItem(groupName);
            // Groups stand in name order, as when the lists were filled.
            m_available->insertRow(int(std::distance(m_groupItems.begin(), m_groupItems.find(groupName))), group);
        }
        const int position = entry->data(VisualPositionRole).toInt();
        int row = 0;
        while (row < group->rowCount() && group->child(row)->data(VisualPositionRole).toInt() < position)
            ++row;
        group->insertRow(row, entry);
        last = entry;
    }
    if (last) {
        m_availableView->expand(last->parent()->index());
        m_availableView->setCurrentIndex(last->index());
    }
    if (currentRow >= 0 && m_chosen->rowCount() > 0)
        m_chosenView->setCurrentIndex(m_chosen->index(std::min(currentRow, m_chosen->rowCount() - 1), 0));
}

void PdGroupedColumnDialog::onUpPressed()
{
    const int row = m_chosenView->currentIndex().row();
    if (row <= 0)
        return;
    m_chosen->insertRow(row - 1, m_chosen->takeRow(row));
    m_chosenView->setCurrentIndex(m_chosen->index(row - 1, 0));
}

void PdGroupedColumnDialog::onDownPressed()
{
    const int row = m_chosenView->currentIndex().row();
    if (row < 0 || row >= m_chosen->rowCount() - 1)
        return;
    m_chosen->insertRow(row + 1, m_chosen->takeRow(row));
    m_chosenView->setCurrentIndex(m_chosen->index(row + 1, 0));
}

void PdGroupedColumnDialog::onDoubleClicked(const QModelIndex &index)
{
    if (index.model() == m_chosen)
        onLeftPressed();
    else if (index.model() == m_available)
        onRightPressed();
}

bool PdGroupedColumnDialog::eventFilter(QObject *watched, QEvent *event)
{
    QAbstractItemView *view = nullptr;
    if (watched == m_availableView->viewport())
        view = m_availableView;
    else if (watched == m_chosenView->viewport())
        view = m_chosenView;
    if (!view)
        return QDialog::eventFilter(watched, event);

    if (event->type() == QEvent::MouseMove) {
        // An entry's filter button lights up under the mouse.
        view->viewport()->update();
    } else if (event->type() == QEvent::MouseButtonPress) {
        const QPoint pos = static_cast<QMouseEvent *>(event)->pos();
        const QModelIndex index = view->indexAt(pos);
        const auto *model = static_cast<const QStandardItemModel *>(index.model());
        if (index.isValid() && isColumnEntry(model->itemFromIndex(index)))
            emit popUp(view->visualRect(index), index.data(ColumnRole).toInt(), pos);
    }
    return QDialog::eventFilter(watched, event);
}
