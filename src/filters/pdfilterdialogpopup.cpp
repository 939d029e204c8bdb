#include "pdfilterdialogpopup.h"

#include "pdfilterproxymodel.h"
#include "pdfiltervaluemodel.h"
#include "pdtextsorter.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidgetAction>

#include <algorithm>

namespace {

// Leaves mouse clicks to the view's clicked(), so that a click anywhere on a value's row toggles it
// once; the base delegate would toggle a click on the box itself as well. Keys (Space) stay with
// the base.
class ValueDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return false;
        default:
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        }
    }
};

QWidgetAction* widgetEntry(QMenu* menu, QWidget* widget)
{
    auto* action = new QWidgetAction(menu);
    action->setDefaultWidget(widget);
    menu->addAction(action);
    return action;
}

} // namespace

PdFilterDialogPopUp::PdFilterDialogPopUp(QAbstractItemModel* model, int column, QWidget* parent)
    : QMenu(parent)
{
    m_kind = PdFilterValue::kindOfColumn(model, column);

    m_sortAscending = addAction(QIcon(QStringLiteral(":/images/sort_az_32.png")), QStringLiteral("Sort A to Z"));
    m_sortAscending->setCheckable(true);
    m_sortDescending = addAction(QIcon(QStringLiteral(":/images/sort_za_32.png")), QStringLiteral("Sort Z to A"));
    m_sortDescending->setCheckable(true);
    addSeparator();
    m_clear = addAction(QIcon(QStringLiteral(":/images/filter-delete_32.png")), QStringLiteral("Clear"));
    addSeparator();

    m_values = new PdFilterValueModel(this);
    m_search = new PdFilterProxyModel(this);
    m_search->setSourceModel(m_values);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("filterTabs"));
    m_tabs->setStyleSheet(QStringLiteral(
        "QTabWidget::tab-bar { alignment: center; } QTabWidget::pane { position: absolute; top: -0.5em; }"));
    auto* listPage = new QWidget(m_tabs);
    auto* listLayout = new QVBoxLayout(listPage);
    m_searchEdit = new QLineEdit(listPage);
    m_searchEdit->setObjectName(QStringLiteral("searchEdit"));
    m_searchEdit->setClearButtonEnabled(true);
    m_searchEdit->setPlaceholderText(QStringLiteral("Search"));
    m_valueView = new QTreeView(listPage);
    m_valueView->setObjectName(QStringLiteral("valueView"));
    m_valueView->header()->hide();
    // Uniform heights let the view lay out 200,000 values without measuring each.
    m_valueView->setUniformRowHeights(true);
    m_valueView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_valueView->setItemDelegate(new ValueDelegate(m_valueView));
    // The search proxy comes in with the first search; until then the view shows the list itself,
    // which spares a mapping of every value on opening.
    m_valueView->setModel(m_values);
    listLayout->addWidget(m_searchEdit);
    listLayout->addWidget(m_valueView);
    m_tabs->addTab(listPage, QStringLiteral("List"));
    m_tabs->setMinimumSize(240, 280);
    widgetEntry(this, m_tabs);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    widgetEntry(this, m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PdFilterDialogPopUp::onAccepted);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &PdFilterDialogPopUp::onRejected);
    connect(m_clear, &QAction::triggered, this, &PdFilterDialogPopUp::onClearFilter);
    connect(m_searchEdit, &QLineEdit::textChanged, this, &PdFilterDialogPopUp::filterRegExpChanged);
    connect(m_searchEdit, &QLineEdit::returnPressed, this, &PdFilterDialogPopUp::onAccepted);
    connect(m_valueView, &QAbstractItemView::clicked, this, &PdFilterDialogPopUp::onItemClicked);
    connect(m_values, &PdFilterValueModel::selectAllRequested, this, &PdFilterDialogPopUp::onSelectAllRequested);

    fillValues(model, column);
    // Only the dates form a tree; a flat list needs no room for branches.
    m_valueView->setRootIsDecorated(m_kind == PdValueKind::Date);
}

PdFilterDialogPopUp::~PdFilterDialogPopUp() = default;

void PdFilterDialogPopUp::fillValues(QAbstractItemModel* model, int column)
{
    if (!model || column < 0 || column >= model->columnCount())
        return;
    const QString prefix = PdFilterValue::prefixOfColumn(model, column);
    bool blanks = false;
    QVector<qint64> days;
    // Every cell is kept and the distinct ones found by sorting: a hash of 200,000 texts took
    // longer to build and to free than the sort takes. Numbers list first, by value.
    QVector<QString> texts;
    QVector<int> textOrder;
    std::vector<std::pair<double, int>> numbers;
    auto take = [&](const QVariant& cell) {
        if (m_kind == PdValueKind::Date) {
            const QDate date = PdFilterValue::toDate(cell);
            if (date.isValid())
                days.append(date.toJulianDay());
            else
                blanks = true;
            return;
        }
        QString key = PdFilterValue::canonicalText(cell, m_kind);
        if (key.isEmpty()) {
            blanks = true;
            return;
        }
        double number = 0;
        if (PdFilterValue::textToNumber(key, &number))
            numbers.emplace_back(number, texts.size());
        else
            textOrder.append(texts.size());
        texts.append(std::move(key));
    };

    // Leaves only, walked with an explicit stack: a tree's group rows hold no values of their own.
    struct Level
    {
        QModelIndex parent;
        int next;
        int count;
    };
    QVector<Level> stack{{QModelIndex(), 0, model->rowCount()}};
    if (m_kind != PdValueKind::Date)
        texts.reserve(model->rowCount());
    while (!stack.isEmpty()) {
        Level& level = stack.last();
        if (level.next >= level.count) {
            stack.removeLast();
            continue;
        }
        const int row = level.next++;
        const QModelIndex parent = level.parent;
        const QModelIndex first = model->index(row, 0, parent);
        const int children = model->rowCount(first);
        if (children > 0) {
            stack.append({first, 0, children});
            continue;
        }
        take(column == 0 ? first.data() : first.sibling(row, column).data());
    }

    if (m_kind == PdValueKind::Date) {
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
        QVector<QDate> dates;
        dates.reserve(days.size());
        for (qint64 day : qAsConst(days))
            dates.append(QDate::fromJulianDay(day));
        m_values->setDates(dates, blanks);
        return;
    }
    // A text column may hold "1" and "1.0"; both are listed, next to each other.
    auto numberLess = [&texts](const std::pair<double, int>& a, const std::pair<double, int>& b) {
        return a.first != b.first ? a.first < b.first : texts.at(a.second) < texts.at(b.second);
    };
    // Columns such as the activity id usually come in order already; checking is one pass.
    if (!std::is_sorted(numbers.cbegin(), numbers.cend(), numberLess))
        std::sort(numbers.begin(), numbers.end(), numberLess);
    PdTextSorter::sort(texts, textOrder);

    QVector<PdFilterValueModel::Entry> entries;
    entries.reserve(int(numbers.size()) + textOrder.size() + 1);
    const QString* last = nullptr;
    auto add = [&](const QString& key) {
        if (last && *last == key)
            return;
        last = &key;
        QString display = key;
        if (!prefix.isEmpty() && display.startsWith(prefix))
            display.remove(0, prefix.size());
        entries.append({display, key});
    };
    for (const auto& number : numbers)
        add(texts.at(number.second));
    for (int text : qAsConst(textOrder))
        add(texts.at(text));
    if (blanks)
        entries.append({QStringLiteral("(Blanks)"), QString(QLatin1String(""))});
    m_values->setValues(entries);
}

template <typename Visit>
void PdFilterDialogPopUp::walkVisible(Visit visit) const
{
    // Only parents the list model says have children are opened in the search proxy; asking the
    // proxy about every leaf would make it build a mapping per value.
    QVector<QModelIndex> stack;
    if (m_search->searchText().isEmpty()) {
        for (int row = m_values->rowCount() - 1; row >= 0; --row)
            stack.append(m_values->index(row, 0));
        while (!stack.isEmpty()) {
            const QModelIndex item = stack.takeLast();
            visit(item);
            for (int row = m_values->rowCount(item) - 1; row >= 0; --row)
                stack.append(m_values->index(row, 0, item));
        }
        return;
    }
    const int top = m_search->rowCount();
    for (int row = top - 1; row >= 0; --row)
        stack.append(m_search->index(row, 0));
    while (!stack.isEmpty()) {
        const QModelIndex item = stack.takeLast();
        const QModelIndex source = m_search->mapToSource(item);
        visit(source);
        if (m_values->rowCount(source) > 0) {
            for (int row = m_search->rowCount(item) - 1; row >= 0; --row)
                stack.append(m_search->index(row, 0, item));
        }
    }
}

QStringList PdFilterDialogPopUp::checkedValues() const
{
    QStringList keys;
    walkVisible([&](const QModelIndex& source) {
        if (m_values->isLeaf(source) && source.data(Qt::CheckStateRole).toInt() == Qt::Checked)
            keys.append(m_values->keyOf(source));
    });
    return keys;
}

bool PdFilterDialogPopUp::isNarrowed() const
{
    if (m_search->searchText().isEmpty())
        return false;
    int visible = 0;
    walkVisible([&visible](const QModelIndex&) { ++visible; });
    return visible < m_values->itemCount();
}

bool PdFilterDialogPopUp::isAllChecked() const
{
    return m_values->index(0, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void PdFilterDialogPopUp::showPatternFilter(const QVariantList& values)
{
    QStringList keys;
    keys.reserve(values.size());
    for (const QVariant& value : values)
        keys.append(PdFilterValue::canonicalText(value, m_kind));
    m_values->checkKeys(keys);
}

void PdFilterDialogPopUp::onSelectAllRequested(Qt::CheckState state)
{
    QModelIndexList items;
    const bool searching = !m_search->searchText().isEmpty();
    const int rows = searching ? m_search->rowCount() : m_values->rowCount();
    items.reserve(rows);
    for (int row = 1; row < rows; ++row)
        items.append(searching ? m_search->mapToSource(m_search->index(row, 0)) : m_values->index(row, 0));
    m_values->setCheckState(items, state);
}

bool PdFilterDialogPopUp::isListTabCurrent() const
{
    return m_tabs->currentIndex() == 0;
}

bool PdFilterDialogPopUp::isExpressionTabCurrent() const
{
    return hasExpressionTab() && m_tabs->currentIndex() == 1;
}

void PdFilterDialogPopUp::onClearFilter()
{
    m_cleared = true;
    close();
}

void PdFilterDialogPopUp::onItemClicked(const QModelIndex& index)
{
    // Clicks on the branch arrow of a year or month never arrive here. The model settles parents
    // and "(Select All)".
    QAbstractItemModel* model = m_valueView->model();
    if (!index.isValid() || index.model() != model)
        return;
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void PdFilterDialogPopUp::filterRegExpChanged(const QString& text)
{
    m_search->setSearchText(text);
    if (!text.isEmpty() && m_valueView->model() != m_search)
        m_valueView->setModel(m_search);
}

void PdFilterDialogPopUp::onAccepted()
{
    m_accepted = true;
    close();
}

void PdFilterDialogPopUp::onRejected()
{
    m_rejected = true;
    close();
}

void PdFilterDialogPopUp::keyPressEvent(QKeyEvent* event)
{
    // Enter applies the popup unless it is on one of the menu's own actions.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !activeAction()) {
        onAccepted();
        return;
    }
    QMenu::keyPressEvent(event);
}

void PdFilterDialogPopUp::showEvent(QShowEvent* event)
{
    QMenu::showEvent(event);
    m_searchEdit->setFocus(Qt::PopupFocusReason);
}

void PdFilterDialogPopUp::addExpressionTab(const QStringList& operators, QWidget* firstEditor, QWidget* secondEditor)
{
    auto* page = new QWidget(m_tabs);
    auto* grid = new QGridLayout(page);
    m_firstOperator = new QComboBox(page);
    m_firstOperator->setObjectName(QStringLiteral("firstOperator"));
    m_firstOperator->addItems(operators);
    m_secondOperator = new QComboBox(page);
    m_secondOperator->setObjectName(QStringLiteral("secondOperator"));
    m_secondOperator->addItem(QString());
    m_secondOperator->addItems(operators);
    m_and = new QRadioButton(QStringLiteral("&AND"), page);
    m_and->setChecked(true);
    m_or = new QRadioButton(QStringLiteral("&OR"), page);
    m_firstEditor = firstEditor;
    m_secondEditor = secondEditor;
    firstEditor->setParent(page);
    secondEditor->setParent(page);
    firstEditor->setObjectName(QStringLiteral("firstValue"));
    secondEditor->setObjectName(QStringLiteral("secondValue"));
    grid->addWidget(m_firstOperator, 0, 0);
    grid->addWidget(firstEditor, 0, 1, 1, 2);
    grid->addWidget(m_and, 1, 0);
    grid->addWidget(m_or, 1, 1);
    grid->addWidget(m_secondOperator, 2, 0);
    grid->addWidget(secondEditor, 2, 1, 1, 2);
    grid->setRowStretch(3, 1);
    m_tabs->addTab(page, QStringLiteral("Expression"));
}

void PdFilterDialogPopUp::showExpression(const QString& firstOp, const QVariant& firstValue, const QString& secondOp,
                                         const QVariant& secondValue, bool isAnd)
{
    if (!hasExpressionTab())
        return;
    m_firstOperator->setCurrentIndex(qMax(0, m_firstOperator->findText(operatorText(firstOp))));
    setEditorValue(m_firstEditor, firstValue);
    const int second = secondOp.isEmpty() ? 0 : m_secondOperator->findText(operatorText(secondOp));
    m_secondOperator->setCurrentIndex(qMax(0, second));
    if (second > 0)
        setEditorValue(m_secondEditor, secondValue);
    (isAnd ? m_and : m_or)->setChecked(true);
}

QString PdFilterDialogPopUp::firstOperator() const
{
    return m_firstOperator ? m_firstOperator->currentText() : QString();
}

QString PdFilterDialogPopUp::secondOperator() const
{
    return m_secondOperator ? m_secondOperator->currentText() : QString();
}

QVariant PdFilterDialogPopUp::firstValue() const
{
    return QVariant();
}

QVariant PdFilterDialogPopUp::secondValue() const
{
    return QVariant();
}

QString PdFilterDialogPopUp::operatorText(const QString& stored) const
{
    if (stored == QLatin1String("="))
        return QStringLiteral("equals");
    if (stored == QLatin1String("!="))
        return QStringLiteral("does not equal");
    return stored;
}

bool PdFilterDialogPopUp::isAnd() const
{
    return m_and && m_and->isChecked();
}

void PdFilterDialogPopUp::setEditorValue(QWidget* editor, const QVariant& value)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(value.toString());
}
