#include "activitydetails.h"

#include "activities.h"
#include "maphdrmodel.h"
#include "pddetaildelegate.h"
#include "pdfilterdialogproxymodel.h"
#include "pdkeyrowsproxymodel.h"
#include "pdmodelutils.h"

#include <QAction>
#include <QDataWidgetMapper>
#include <QDebug>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const int RowHeight = 22;
const int HistoryLimit = 100;

enum Tab { GeneralTab, RelationshipsTab, ResourcesTab, CodesTab };

// Column positions of the relationship model: the relationship, then the
// successor's and the predecessor's Activity ID and name.
namespace Pred {
const int taskId = 0;
const int predTaskId = 1;
const int type = 3;
const int lag = 4;
const int successorId = 5;
const int successorName = 6;
const int predecessorId = 7;
const int predecessorName = 8;
}
// Column positions of the code model: the assignment, then the code's value
// and name and the code type's name and scope.
namespace Code {
const int assignmentColumns = 6;
const int value = 6;
const int type = 8;
}

bool defaultMessage(QWidget *parent, const QString &text, bool question)
{
    const QString title = QStringLiteral("Activity details");
    if (question)
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
            == QMessageBox::Yes;
    QMessageBox::information(parent, title, text);
    return false;
}

QTableView *makeTable(const char *name, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(QLatin1String(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    return table;
}

void setFixedRows(QTableView *table)
{
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(RowHeight);
}

// Columns widen to what the activity shown needs and never narrow, so the
// tables do not jump about from one activity to the next.
void growColumns(QTableView *table)
{
    const QAbstractItemModel *model = table->model();
    if (!model || model->rowCount() == 0)
        return;
    const int widest = 300;
    QHeaderView *header = table->horizontalHeader();
    const int last = header->logicalIndex(header->count() - 1);
    for (int column = 0; column < model->columnCount(); ++column) {
        if (header->isSectionHidden(column) || (header->stretchLastSection() && column == last))
            continue;
        // QTableView hides the view's public size hint behind a protected override.
        const int contents = static_cast<QAbstractItemView *>(table)->sizeHintForColumn(column);
        const int wanted = qMin(widest, qMax(contents, header->sectionSizeHint(column)));
        if (wanted > header->sectionSize(column))
            header->resizeSection(column, wanted);
    }
}

QToolButton *makeArrow(const char *name, const QString &icon, const QString &toolTip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(icon));
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

ActivityDetails::ActivityDetails(Activities *activities, QWidget *parent)
    : QWidget(parent)
    , m_activities(activities)
    , m_message(defaultMessage)
{
    setupForm();

    m_activityRows = new PdKeyRowsProxyModel(this);
    m_predecessorRows = new MapHdrModel(this);
    m_predecessorRows->setHeaderMapping(QStringLiteral("Activity Name"), QStringLiteral("Predecessor Name"));
    m_predecessorRows->setKeyColumn(Pred::taskId);
    m_predecessorRows->setLagColumn(Pred::lag);
    m_successorRows = new MapHdrModel(this);
    m_successorRows->setHeaderMapping(QStringLiteral("Activity Name"), QStringLiteral("Successor Name"));
    m_successorRows->setKeyColumn(Pred::predTaskId);
    m_successorRows->setLagColumn(Pred::lag);
    m_resourceRows = new PdKeyRowsProxyModel(this);
    m_codeRows = new PdKeyRowsProxyModel(this);

    m_mapper = new QDataWidgetMapper(this);
    // The panel only shows: with the automatic policy a line edit losing
    // focus would write its formatted text back into the project.
    m_mapper->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    m_mapper->setItemDelegate(new PdDetailDelegate(m_mapper, -1, QPixmap()));

    connect(m_previous, &QToolButton::clicked, this, &ActivityDetails::previousActivity);
    connect(m_next, &QToolButton::clicked, this, &ActivityDetails::nextActivity);
    connect(m_predecessors, &QTableView::activated, this, &ActivityDetails::gotoPredecessor);
    connect(m_successors, &QTableView::activated, this, &ActivityDetails::gotoSuccessor);

    auto *back = new QAction(QStringLiteral("Back"), this);
    back->setObjectName(QStringLiteral("actionDetailsBack"));
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    // Anywhere in the window: after a jump the user is as likely to be
    // looking at the tree as at this panel.
    back->setShortcutContext(Qt::WindowShortcut);
    connect(back, &QAction::triggered, this, &ActivityDetails::goBack);
    addAction(back);

    updateButtons();
}

ActivityDetails::~ActivityDetails() = default;

void ActivityDetails::setupForm()
{
    setWindowTitle(QStringLiteral("Form"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabWidget"));
    layout->addWidget(m_tabs);

    auto *general = new QWidget(m_tabs);
    auto *form = new QFormLayout(general);
    auto *nameRow = new QHBoxLayout;
    const auto lineEdit = [general](const char *name) {
        auto *edit = new QLineEdit(general);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(true);
        return edit;
    };
    m_name = lineEdit("leName");
    m_name->setPlaceholderText(QStringLiteral("Select an activity in the tree"));
    m_previous = makeArrow("tbPrevious", QStringLiteral(":/images/button_rounded_blue_left_32.png"),
                           QStringLiteral("Previous activity"), general);
    m_next = makeArrow("tbNext", QStringLiteral(":/images/button_rounded_blue_right_32.png"),
                       QStringLiteral("Next activity"), general);
    nameRow->addWidget(m_name);
    nameRow->addWidget(m_previous);
    nameRow->addWidget(m_next);
    form->addRow(QStringLiteral("Name:"), nameRow);
    m_start = lineEdit("leStart");
    form->addRow(QStringLiteral("Start:"), m_start);
    m_finish = lineEdit("leFinish");
    form->addRow(QStringLiteral("Finish:"), m_finish);
    m_taskType = lineEdit("leTaskType");
    form->addRow(QStringLiteral("Task type:"), m_taskType);
    m_tabs->addTab(general, QStringLiteral("General"));

    auto *relationships = new QSplitter(Qt::Horizontal, m_tabs);
    const QString jumpTip = QStringLiteral("Double-click an activity to go to it; Alt+Left goes back");
    m_predecessors = makeTable("tblvwPred", relationships);
    m_successors = makeTable("tblvwSucc", relationships);
    for (QTableView *table : {m_predecessors, m_successors}) {
        table->setToolTip(jumpTip);
        setFixedRows(table);
        relationships->addWidget(table);
    }
    m_tabs->addTab(relationships, QStringLiteral("Relationships"));

    m_resources = makeTable("tblResources", m_tabs);
    m_tabs->addTab(m_resources, QStringLiteral("Resources"));

    m_codes = makeTable("tblvwCodes", m_tabs);
    setFixedRows(m_codes);
    m_tabs->addTab(m_codes, QStringLiteral("Codes"));
}

void ActivityDetails::setMessageHandler(MessageHandler handler)
{
    m_message = handler ? std::move(handler) : MessageHandler(defaultMessage);
}

void ActivityDetails::setActivityModel(QAbstractItemModel *model)
{
    m_activityModel = model;
    m_activityRows->setSourceModel(model);
    m_activityRows->setKeyColumn(0);
    m_mapper->setModel(m_activityRows);
    m_mapper->clearMapping();
    if (model) {
        const std::pair<QLineEdit *, const char *> mappings[] = {{m_name, "Activity Name"},
                                                                 {m_start, "Start Date"},
                                                                 {m_finish, "Finish Date"},
                                                                 {m_taskType, "Activity Type"}};
        for (const auto &mapping : mappings) {
            const int column = columnByName(model, QLatin1String(mapping.second));
            if (column >= 0)
                m_mapper->addMapping(mapping.first, column);
        }
    }
    updateTabs();
    showTaskId(m_currentId);
}

void ActivityDetails::setPredecessorModel(QAbstractItemModel *model)
{
    m_predecessorModel = model;
    const struct
    {
        QTableView *table;
        MapHdrModel *rows;
        QList<int> hidden;
        const char *icon;
    } tables[] = {{m_predecessors, m_predecessorRows,
                   {Pred::taskId, Pred::predTaskId, 2, Pred::successorId, Pred::successorName},
                   ":/images/task_position_predecessors.png"},
                  {m_successors, m_successorRows,
                   {Pred::taskId, Pred::predTaskId, 2, Pred::predecessorId, Pred::predecessorName},
                   ":/images/task_position_successors.png"}};
    for (const auto &t : tables) {
        t.rows->setSourceModel(model);
        t.table->setModel(model ? t.rows : nullptr);
        if (!model)
            continue;
        for (int column : t.hidden)
            t.table->setColumnHidden(column, true);
        t.table->setColumnWidth(Pred::type, 50);
        // Wide enough for a lag in hours and days, "-16h (-2d)".
        t.table->setColumnWidth(Pred::lag, 80);
        t.table->horizontalHeader()->setStretchLastSection(true);
        QAbstractItemDelegate *old = t.table->itemDelegate();
        t.table->setItemDelegate(new PdDetailDelegate(t.table, Pred::type, QPixmap(QLatin1String(t.icon))));
        if (old && old->parent() == t.table)
            old->deleteLater();
    }
    updateTabs();
    showTaskId(m_currentId);
}

void ActivityDetails::setResourceModel(QAbstractItemModel *model)
{
    m_resourceModel = model;
    m_resourceRows->setSourceModel(model);
    m_resourceRows->setKeyColumn(0);
    m_resources->setModel(model ? m_resourceRows : nullptr);
    updateTabs();
    showTaskId(m_currentId);
}

void ActivityDetails::setCodesModel(QAbstractItemModel *model)
{
    m_codesModel = model;
    if (model)
        qDebug() << "ActivityDetails::setCodesModel model rows:" << model->rowCount()
                 << " columns:" << model->columnCount();
    m_codeRows->setSourceModel(model);
    m_codeRows->setKeyColumn(0);
    m_codes->setModel(model ? m_codeRows : nullptr);
    if (model) {
        for (int column = 0; column < Code::assignmentColumns; ++column)
            m_codes->setColumnHidden(column, true);
        QHeaderView *header = m_codes->horizontalHeader();
        // The code type first, then the code's name and value.
        header->swapSections(header->visualIndex(Code::value), header->visualIndex(Code::type));
        header->setStretchLastSection(true);
        QAbstractItemDelegate *old = m_codes->itemDelegate();
        m_codes->setItemDelegate(
            new PdDetailDelegate(m_codes, Code::type, QPixmap(QStringLiteral(":/images/task_label_32.png"))));
        if (old && old->parent() == m_codes)
            old->deleteLater();
    }
    updateTabs();
    showTaskId(m_currentId);
}

void ActivityDetails::clear()
{
    for (QTableView *table : {m_predecessors, m_successors, m_resources, m_codes})
        table->setModel(nullptr);
    m_mapper->clearMapping();
    for (PdKeyRowsProxyModel *rows :
         {static_cast<PdKeyRowsProxyModel *>(m_predecessorRows), static_cast<PdKeyRowsProxyModel *>(m_successorRows),
          m_activityRows, m_resourceRows, m_codeRows}) {
        rows->setKey(QString());
        rows->setSourceModel(nullptr);
    }
    m_activityModel = nullptr;
    m_predecessorModel = nullptr;
    m_resourceModel = nullptr;
    m_codesModel = nullptr;
    m_currentId.clear();
    m_history.clear();
    clearGeneral();
    updateTabs();
    updateButtons();
}

void ActivityDetails::updateTabs()
{
    // A table the file does not have is said so on its tab, rather than
    // shown as an empty table the user might read as "none for this activity".
    const bool loaded = !m_activityModel.isNull();
    const struct
    {
        int tab;
        bool present;
        const char *missing;
    } tabs[] = {{RelationshipsTab, !m_predecessorModel.isNull(), "The file has no relationships"},
                {ResourcesTab, !m_resourceModel.isNull(), "The file has no resource assignments"},
                {CodesTab, !m_codesModel.isNull(), "The file has no activity codes"}};
    for (const auto &t : tabs) {
        const bool enabled = !loaded || t.present;
        m_tabs->setTabEnabled(t.tab, enabled);
        m_tabs->setTabToolTip(t.tab, enabled ? QString() : QLatin1String(t.missing));
    }
}

void ActivityDetails::clearGeneral()
{
    for (QLineEdit *edit : {m_name, m_start, m_finish, m_taskType})
        edit->clear();
}

void ActivityDetails::showTaskId(const QString &id)
{
    m_currentId = id;
    for (PdKeyRowsProxyModel *rows : {static_cast<PdKeyRowsProxyModel *>(m_predecessorRows),
                                      static_cast<PdKeyRowsProxyModel *>(m_successorRows), m_resourceRows, m_codeRows})
        rows->setKey(id);
    for (QTableView *table : {m_predecessors, m_successors, m_resources, m_codes})
        growColumns(table);
    m_activityRows->setKey(id);
    if (m_activityRows->rowCount() > 0)
        m_mapper->toFirst();
    else
        clearGeneral();
    updateButtons();
}

bool ActivityDetails::isGroupRow(const QModelIndex &index) const
{
    const QAbstractItemModel *model = index.model();
    if (!model)
        return false;
    const int group = columnByName(model, QStringLiteral("Group"));
    return group >= 0 && !index.siblingAtColumn(group).data().isNull();
}

void ActivityDetails::onRowChanged(const QModelIndex &current, const QModelIndex &)
{
    if (!current.isValid())
        return;
    if (isGroupRow(current)) {
        // The tables empty; the General tab keeps the last activity in view.
        for (PdKeyRowsProxyModel *rows : {static_cast<PdKeyRowsProxyModel *>(m_predecessorRows),
                                          static_cast<PdKeyRowsProxyModel *>(m_successorRows), m_resourceRows,
                                          m_codeRows})
            rows->setKey(QString());
        updateButtons();
        return;
    }
    showTaskId(current.siblingAtColumn(0).data().toString());
}

QModelIndex ActivityDetails::adjacentActivity(bool forward) const
{
    const QTreeView *tree = m_activities ? m_activities->treeView() : nullptr;
    const QAbstractItemModel *model = tree ? tree->model() : nullptr;
    if (!model)
        return QModelIndex();
    // Pre-order through the whole tree, collapsed groups included: the
    // order the rows are shown in once their groups are open.
    const auto after = [model](const QModelIndex &index) {
        if (!index.isValid())
            return model->index(0, 0);
        if (model->rowCount(index) > 0)
            return model->index(0, 0, index);
        for (QModelIndex at = index; at.isValid(); at = at.parent()) {
            const QModelIndex sibling = at.siblingAtRow(at.row() + 1);
            if (sibling.isValid())
                return sibling;
        }
        return QModelIndex();
    };
    const auto before = [model](const QModelIndex &index) {
        if (!index.isValid())
            return QModelIndex();
        if (index.row() == 0)
            return index.parent();
        QModelIndex at = index.siblingAtRow(index.row() - 1);
        for (int rows = model->rowCount(at); rows > 0; rows = model->rowCount(at))
            at = model->index(rows - 1, 0, at);
        return at;
    };
    const QModelIndex current = tree->currentIndex().siblingAtColumn(0);
    if (!forward && !current.isValid())
        return QModelIndex();
    QModelIndex at = current;
    do
        at = forward ? after(at) : before(at);
    while (at.isValid() && isGroupRow(at));
    return at;
}

QModelIndex ActivityDetails::nextActivity()
{
    const QModelIndex next = adjacentActivity(true);
    if (next.isValid())
        m_activities->makeCurrent(next);
    updateButtons();
    return next;
}

QModelIndex ActivityDetails::previousActivity()
{
    const QModelIndex previous = adjacentActivity(false);
    if (previous.isValid())
        m_activities->makeCurrent(previous);
    updateButtons();
    return previous;
}

void ActivityDetails::updateButtons()
{
    m_previous->setEnabled(adjacentActivity(false).isValid());
    m_next->setEnabled(adjacentActivity(true).isValid());
}

void ActivityDetails::gotoPredecessor(const QModelIndex &index)
{
    if (index.isValid())
        jumpTo(index.siblingAtColumn(Pred::predTaskId).data());
}

void ActivityDetails::gotoSuccessor(const QModelIndex &index)
{
    if (index.isValid())
        jumpTo(index.siblingAtColumn(Pred::taskId).data());
}

void ActivityDetails::jumpTo(const QVariant &taskId)
{
    const QString from = m_currentId;
    if (!showActivity(taskId) || from.isEmpty() || from == taskId.toString())
        return;
    m_history.append(from);
    if (m_history.size() > HistoryLimit)
        m_history.removeFirst();
}

bool ActivityDetails::goBack()
{
    while (!m_history.isEmpty()) {
        const QString id = m_history.takeLast();
        if (m_activities && m_activities->selectActivity(id))
            return true;
    }
    return false;
}

QString ActivityDetails::activityLabel(const QString &taskId) const
{
    const QList<int> rows = m_activityRows->sourceRows(taskId);
    const int column = m_activityModel ? columnByName(m_activityModel, QStringLiteral("Activity ID")) : -1;
    if (rows.isEmpty() || column < 0)
        return taskId;
    const QString code = m_activityModel->index(rows.first(), column).data().toString();
    return code.isEmpty() ? taskId : code;
}

bool ActivityDetails::showActivity(const QVariant &taskId)
{
    const QString id = taskId.toString();
    if (!m_activities || id.isEmpty())
        return false;
    if (m_activities->selectActivity(taskId))
        return true;
    if (!m_activityRows->containsKey(id)) {
        m_message(this, QStringLiteral("The related activity (task id %1) belongs to another project "
                                       "and is not in this file.").arg(id),
                  false);
        return false;
    }
    const QString label = activityLabel(id);
    const PdFilterDialogProxyModel *filters = m_activities->filterProxy();
    if (filters && filters->hasFilters()) {
        const QString question = QStringLiteral("Activity %1 is hidden by the filters of the activities view.\n"
                                                "Clear all filters and show it?")
                                     .arg(label);
        if (!m_message(this, question, true))
            return false;
        m_activities->clearAllFilters();
        if (m_activities->selectActivity(taskId))
            return true;
    }
    m_message(this, QStringLiteral("Activity %1 is not shown in the activities view.").arg(label), false);
    return false;
}
