#include "pdfilterdialogproxymodel.h"

#include "pdexpression.h"
#include "pdfiltervalue.h"
#include "pdsourcenodetable.h"
#include "pdtextsorter.h"

#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

struct ColumnTest
{
    int column = -1;
    PdValueKind kind = PdValueKind::Text;
    QSet<QString> values;
    const PdExpression* expression = nullptr;
};

// Where a cell stands in a sort: blanks first, then numbers and dates by value, then texts by their
// code units.
enum class SortGroup { Blank, Number, Text };

SortGroup sortKeyOf(const QVariant& value, PdValueKind kind, double* number, QString* text)
{
    if (PdFilterValue::isBlank(value))
        return SortGroup::Blank;
    if (kind == PdValueKind::Date) {
        // Day and time without the time zone: QDateTime's own conversion to epoch time asks the
        // system for every value, which dominates the sort of a large project.
        const QDateTime moment = value.toDateTime();
        const QDate date = moment.isValid() ? moment.date() : PdFilterValue::toDate(value);
        if (date.isValid()) {
            *number = double(date.toJulianDay()) * 86400000.0
                + (moment.isValid() ? double(moment.time().msecsSinceStartOfDay()) : 0.0);
            return SortGroup::Number;
        }
    } else if (kind == PdValueKind::Text) {
        *text = value.toString();
        const bool numeric = value.userType() == QMetaType::QString ? PdFilterValue::textToNumber(*text, number)
                                                                     : PdFilterValue::toNumber(value, number);
        if (!numeric)
            return SortGroup::Text;
        text->clear();
        return SortGroup::Number;
    } else if (PdFilterValue::toNumber(value, number)) {
        return SortGroup::Number;
    }
    *text = value.toString();
    return SortGroup::Text;
}

} // namespace

struct PdFilterDialogProxyModel::Private
{
    QMap<int, QVariantList> patterns;
    std::map<int, std::unique_ptr<PdExpression>> expressions;
    int sortColumn = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;

    QVector<QMetaObject::Connection> connections;
    QTimer notify;
    bool resetting = false;
    bool flagsStale = false;
    bool ranksStale = false;

    PdSourceNodeTable table;
    // Empty while no filter is set: every row passes.
    QVector<bool> accepted;
    int acceptedLeaves = 0;
    // Empty while unsorted: rows keep the source's order. Otherwise the slots in ascending order of
    // their keys (equal keys in slot order), and each slot's rank, equal for equal keys.
    QVector<int> order;
    QVector<int> ranks;
    // The rows shown under each parent, in the order shown; entry 0 is the root, entry s + 1 the row
    // in slot s. A proxy index carries its row's slot as internal id.
    QVector<QVector<int>> children = QVector<QVector<int>>(1);
    QVector<int> positions;
    QList<QPersistentModelIndex> layoutSources;
    QModelIndexList layoutProxies;

    bool hasFilters() const { return !patterns.isEmpty() || !expressions.empty(); }
    QVector<ColumnTest> tests(const QAbstractItemModel* source) const;
    void computeFlags(const QAbstractItemModel* source);
    void computeRanks(const QAbstractItemModel* source);
    void arrange();
    void rebuild(const QAbstractItemModel* source);
    int slotOf(const QModelIndex& index) const { return table.slotOf(index); }
};

QVector<ColumnTest> PdFilterDialogProxyModel::Private::tests(const QAbstractItemModel* source) const
{
    QMap<int, ColumnTest> byColumn;
    for (auto it = patterns.cbegin(); it != patterns.cend(); ++it) {
        ColumnTest& test = byColumn[it.key()];
        test.column = it.key();
        test.kind = PdFilterValue::kindOfColumn(source, it.key());
        test.values.reserve(it->size());
        for (const QVariant& value : it.value())
            test.values.insert(PdFilterValue::canonicalText(value, test.kind));
    }
    for (const auto& entry : expressions) {
        ColumnTest& test = byColumn[entry.first];
        test.column = entry.first;
        test.kind = PdFilterValue::kindOfColumn(source, entry.first);
        test.expression = entry.second.get();
    }
    return byColumn.values().toVector();
}

void PdFilterDialogProxyModel::Private::computeFlags(const QAbstractItemModel* source)
{
    flagsStale = false;
    accepted.clear();
    acceptedLeaves = table.leafCount();
    if (!hasFilters())
        return;
    const int n = table.size();
    accepted.fill(false, n);
    acceptedLeaves = 0;
    const QVector<ColumnTest> columnTests = tests(source);
    // Children stand after their parent in pre-order, so walking backwards settles every child
    // before the parent that takes its result.
    for (int slot = n - 1; slot >= 0; --slot) {
        if (table.isLeaf(slot)) {
            const QModelIndex& row = table.indexAt(slot);
            bool pass = true;
            for (const ColumnTest& test : columnTests) {
                const QVariant cell = row.sibling(row.row(), test.column).data();
                pass = test.expression ? test.expression->accepts(cell, test.kind)
                                       : test.values.contains(PdFilterValue::canonicalText(cell, test.kind));
                if (!pass)
                    break;
            }
            accepted[slot] = pass;
            if (pass)
                ++acceptedLeaves;
        }
        const int parent = table.parentOf(slot);
        if (accepted.at(slot) && parent >= 0)
            accepted[parent] = true;
    }
}

void PdFilterDialogProxyModel::Private::computeRanks(const QAbstractItemModel* source)
{
    ranksStale = false;
    order.clear();
    ranks.clear();
    if (sortColumn < 0 || !source || sortColumn >= source->columnCount())
        return;
    // Each cell is read once; blanks, numbers and texts are then ordered apart, each with the means
    // that suits it, and joined.
    const int n = table.size();
    const PdValueKind kind = PdFilterValue::kindOfColumn(source, sortColumn);
    QVector<QString> texts(n);
    QVector<int> textSlots;
    std::vector<std::pair<double, int>> numbers;
    order.reserve(n);
    for (int slot = 0; slot < n; ++slot) {
        const QModelIndex& row = table.indexAt(slot);
        double number = 0;
        switch (sortKeyOf(row.sibling(row.row(), sortColumn).data(), kind, &number, &texts[slot])) {
        case SortGroup::Blank:
            order.append(slot);
            break;
        case SortGroup::Number:
            numbers.emplace_back(number, slot);
            break;
        case SortGroup::Text:
            textSlots.append(slot);
            break;
        }
    }
    // Pairs order by slot after value, so equal keys keep the source's order.
    std::sort(numbers.begin(), numbers.end());
    PdTextSorter::sort(texts, textSlots);

    ranks.resize(n);
    int rank = 0;
    for (int slot : qAsConst(order))
        ranks[slot] = rank;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i == 0 || numbers[i - 1].first != numbers[i].first)
            ++rank;
        ranks[numbers[i].second] = rank;
        order.append(numbers[i].second);
    }
    for (int i = 0; i < textSlots.size(); ++i) {
        if (i == 0 || texts.at(textSlots.at(i - 1)) != texts.at(textSlots.at(i)))
            ++rank;
        ranks[textSlots.at(i)] = rank;
        order.append(textSlots.at(i));
    }
}

void PdFilterDialogProxyModel::Private::arrange()
{
    const int n = table.size();
    children = QVector<QVector<int>>(n + 1);
    auto place = [this](int slot) {
        if (accepted.isEmpty() || accepted.at(slot))
            children[table.parentOf(slot) + 1].append(slot);
    };
    if (order.isEmpty()) {
        for (int slot = 0; slot < n; ++slot)
            place(slot);
    } else if (sortOrder == Qt::AscendingOrder) {
        // Walking the sorted slots once fills every parent's list in order; no list is sorted.
        for (int slot : qAsConst(order))
            place(slot);
    } else {
        // Descending: runs of equal keys from the last to the first, each run in the source's order.
        for (int end = n; end > 0;) {
            int begin = end - 1;
            while (begin > 0 && ranks.at(order.at(begin - 1)) == ranks.at(order.at(end - 1)))
                --begin;
            for (int i = begin; i < end; ++i)
                place(order.at(i));
            end = begin;
        }
    }
    positions.fill(-1, n);
    for (const QVector<int>& list : qAsConst(children)) {
        for (int i = 0; i < list.size(); ++i)
            positions[list.at(i)] = i;
    }
}

void PdFilterDialogProxyModel::Private::rebuild(const QAbstractItemModel* source)
{
    table.build(source);
    computeFlags(source);
    computeRanks(source);
    arrange();
}

PdFilterDialogProxyModel::PdFilterDialogProxyModel(QObject* parent)
    : QAbstractProxyModel(parent), d(std::make_unique<Private>())
{
    d->notify.setSingleShot(true);
    d->notify.setInterval(0);
    connect(&d->notify, &QTimer::timeout, this, [this] {
        // Only a change of what passes reaches the views: a view that renumbers its rows on every
        // layout change would otherwise feed its own writes back here without end.
        if (d->flagsStale) {
            const QVector<bool> before = d->accepted;
            d->computeFlags(sourceModel());
            if (d->accepted != before) {
                relayout();
                return;
            }
        }
        emit countsChanged();
    });
}

PdFilterDialogProxyModel::~PdFilterDialogProxyModel() = default;

void PdFilterDialogProxyModel::setSourceModel(QAbstractItemModel* model)
{
    beginResetModel();
    for (const QMetaObject::Connection& c : qAsConst(d->connections))
        disconnect(c);
    d->connections.clear();
    QAbstractProxyModel::setSourceModel(model);
    if (model) {
        using M = QAbstractItemModel;
        using P = PdFilterDialogProxyModel;
        // Rows or columns that come or go change slots everywhere, so they are taken as a reset;
        // the sources this proxy serves announce regroupings as resets anyway.
        d->connections << connect(model, &M::modelAboutToBeReset, this, &P::onSourceAboutToChange)
                       << connect(model, &M::modelReset, this, &P::onSourceChanged)
                       << connect(model, &M::rowsAboutToBeInserted, this, &P::onSourceAboutToChange)
                       << connect(model, &M::rowsInserted, this, &P::onSourceChanged)
                       << connect(model, &M::rowsAboutToBeRemoved, this, &P::onSourceAboutToChange)
                       << connect(model, &M::rowsRemoved, this, &P::onSourceChanged)
                       << connect(model, &M::rowsAboutToBeMoved, this, &P::onSourceAboutToChange)
                       << connect(model, &M::rowsMoved, this, &P::onSourceChanged)
                       << connect(model, &M::columnsAboutToBeInserted, this, &P::onSourceAboutToChange)
                       << connect(model, &M::columnsInserted, this, &P::onSourceChanged)
                       << connect(model, &M::columnsAboutToBeRemoved, this, &P::onSourceAboutToChange)
                       << connect(model, &M::columnsRemoved, this, &P::onSourceChanged)
                       << connect(model, &M::columnsAboutToBeMoved, this, &P::onSourceAboutToChange)
                       << connect(model, &M::columnsMoved, this, &P::onSourceChanged)
                       << connect(model, &M::layoutAboutToBeChanged, this, &P::onSourceLayoutAboutToChange)
                       << connect(model, &M::layoutChanged, this, &P::onSourceLayoutChanged)
                       << connect(model, &M::dataChanged, this, &P::onSourceDataChanged)
                       << connect(model, &M::headerDataChanged, this, &P::onSourceHeaderDataChanged)
                       << connect(model, &QObject::destroyed, this, [this] {
                              beginResetModel();
                              d->connections.clear();
                              d->rebuild(nullptr);
                              endResetModel();
                          });
    }
    d->rebuild(model);
    endResetModel();
    d->notify.start();
}

void PdFilterDialogProxyModel::onSourceAboutToChange()
{
    if (d->resetting)
        return;
    d->resetting = true;
    beginResetModel();
}

void PdFilterDialogProxyModel::onSourceChanged()
{
    if (!d->resetting)
        beginResetModel();
    d->rebuild(sourceModel());
    d->resetting = false;
    endResetModel();
    d->notify.start();
}

void PdFilterDialogProxyModel::onSourceLayoutAboutToChange()
{
    emit layoutAboutToBeChanged();
    d->layoutProxies = persistentIndexList();
    d->layoutSources.clear();
    d->layoutSources.reserve(d->layoutProxies.size());
    for (const QModelIndex& index : qAsConst(d->layoutProxies))
        d->layoutSources.append(QPersistentModelIndex(mapToSource(index)));
}

void PdFilterDialogProxyModel::onSourceLayoutChanged()
{
    d->rebuild(sourceModel());
    QModelIndexList after;
    after.reserve(d->layoutSources.size());
    for (const QPersistentModelIndex& source : qAsConst(d->layoutSources))
        after.append(mapFromSource(source));
    changePersistentIndexList(d->layoutProxies, after);
    d->layoutProxies.clear();
    d->layoutSources.clear();
    emit layoutChanged();
    d->notify.start();
}

void PdFilterDialogProxyModel::onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                                   const QVector<int>& roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid() || d->resetting)
        return;
    const int left = topLeft.column();
    const int right = bottomRight.column();
    // Results are worked out again once the burst of writes is over, not once per cell. The order
    // follows the user's sort commands only, so new values in the sort column wait for the next.
    if (d->sortColumn >= left && d->sortColumn <= right)
        d->ranksStale = true;
    for (int column : filteredColumns()) {
        if (column >= left && column <= right) {
            d->flagsStale = true;
            d->notify.start();
            break;
        }
    }
    const QModelIndex sourceParent = topLeft.parent();
    const QModelIndex proxyParent = mapFromSource(sourceParent);
    if (sourceParent.isValid() && !proxyParent.isValid())
        return;
    int first = -1;
    int last = -1;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const int slot = d->slotOf(sourceModel()->index(row, 0, sourceParent));
        const int position = slot >= 0 ? d->positions.at(slot) : -1;
        if (position < 0)
            continue;
        first = first < 0 ? position : qMin(first, position);
        last = qMax(last, position);
    }
    if (first >= 0)
        emit dataChanged(index(first, left, proxyParent), index(last, right, proxyParent), roles);
}

void PdFilterDialogProxyModel::onSourceHeaderDataChanged(Qt::Orientation orientation, int first, int last)
{
    emit headerDataChanged(orientation, first, last);
}

void PdFilterDialogProxyModel::relayout()
{
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    if (d->flagsStale || d->accepted.size() != d->table.size() || d->hasFilters() != !d->accepted.isEmpty())
        d->computeFlags(sourceModel());
    if (d->ranksStale || (d->sortColumn >= 0) != !d->order.isEmpty())
        d->computeRanks(sourceModel());
    d->arrange();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int slot = int(index.internalId());
        const int position = slot < d->positions.size() ? d->positions.at(slot) : -1;
        after.append(position >= 0 ? createIndex(position, index.column(), quintptr(slot)) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
    emit countsChanged();
}

QModelIndex PdFilterDialogProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this)
        return QModelIndex();
    const int slot = int(proxyIndex.internalId());
    if (slot < 0 || slot >= d->table.size())
        return QModelIndex();
    const QModelIndex& row = d->table.indexAt(slot);
    return proxyIndex.column() == 0 ? row : row.sibling(row.row(), proxyIndex.column());
}

QModelIndex PdFilterDialogProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel())
        return QModelIndex();
    const int slot = d->slotOf(sourceIndex);
    if (slot < 0 || d->positions.at(slot) < 0)
        return QModelIndex();
    return createIndex(d->positions.at(slot), sourceIndex.column(), quintptr(slot));
}

QModelIndex PdFilterDialogProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (row < 0 || column < 0 || parent.column() > 0 || column >= columnCount(parent))
        return QModelIndex();
    const int holder = parent.isValid() ? int(parent.internalId()) + 1 : 0;
    if (holder >= d->children.size() || row >= d->children.at(holder).size())
        return QModelIndex();
    return createIndex(row, column, quintptr(d->children.at(holder).at(row)));
}

QModelIndex PdFilterDialogProxyModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.model() != this)
        return QModelIndex();
    const int slot = int(child.internalId());
    if (slot < 0 || slot >= d->table.size())
        return QModelIndex();
    const int parentSlot = d->table.parentOf(slot);
    if (parentSlot < 0)
        return QModelIndex();
    return createIndex(d->positions.at(parentSlot), 0, quintptr(parentSlot));
}

QModelIndex PdFilterDialogProxyModel::sibling(int row, int column, const QModelIndex& idx) const
{
    if (idx.isValid() && row == idx.row() && column >= 0 && column < columnCount())
        return createIndex(row, column, idx.internalId());
    return index(row, column, parent(idx));
}

int PdFilterDialogProxyModel::rowCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (parent.column() > 0)
        return 0;
    const int holder = parent.isValid() ? int(parent.internalId()) + 1 : 0;
    return holder < d->children.size() ? d->children.at(holder).size() : 0;
}

int PdFilterDialogProxyModel::columnCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return sourceModel() ? sourceModel()->columnCount(mapToSource(parent)) : 0;
}

bool PdFilterDialogProxyModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant PdFilterDialogProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The base class finds a column through row 0, which is gone when every row is filtered out.
    if (orientation == Qt::Horizontal)
        return sourceModel() ? sourceModel()->headerData(section, orientation, role) : QVariant();
    return QAbstractProxyModel::headerData(section, orientation, role);
}

Qt::ItemFlags PdFilterDialogProxyModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QAbstractProxyModel::flags(index);
    // Rows without children in the source never get any here. Said aloud, it keeps a tree view's
    // "expand all" from storing every activity as an expanded item, which every later sort and
    // filter would then have to move.
    const int slot = index.isValid() ? int(index.internalId()) : -1;
    if (slot >= 0 && slot < d->table.size() && d->table.isLeaf(slot))
        return flags | Qt::ItemNeverHasChildren;
    return flags;
}

void PdFilterDialogProxyModel::sort(int column, Qt::SortOrder order)
{
    d->sortColumn = column < 0 ? -1 : column;
    d->sortOrder = order;
    d->ranksStale = true;
    relayout();
}

int PdFilterDialogProxyModel::sortColumn() const
{
    return d->sortColumn;
}

Qt::SortOrder PdFilterDialogProxyModel::sortOrder() const
{
    return d->sortOrder;
}

void PdFilterDialogProxyModel::setPatternFilter(int column, const QVariantList& values)
{
    d->expressions.erase(column);
    d->patterns.insert(column, values);
    d->flagsStale = true;
    relayout();
}

void PdFilterDialogProxyModel::setExpressionFilter(int column, std::unique_ptr<PdExpression> expression)
{
    d->patterns.remove(column);
    if (expression)
        d->expressions[column] = std::move(expression);
    else
        d->expressions.erase(column);
    d->flagsStale = true;
    relayout();
}

void PdFilterDialogProxyModel::removeColumnFilters(int column)
{
    d->patterns.remove(column);
    d->expressions.erase(column);
    d->flagsStale = true;
    relayout();
}

void PdFilterDialogProxyModel::clearFilters()
{
    d->patterns.clear();
    d->expressions.clear();
    d->flagsStale = true;
    relayout();
}

bool PdFilterDialogProxyModel::hasFilters() const
{
    return d->hasFilters();
}

bool PdFilterDialogProxyModel::isColumnFiltered(int column) const
{
    return d->patterns.contains(column) || d->expressions.count(column) > 0;
}

QList<int> PdFilterDialogProxyModel::filteredColumns() const
{
    QList<int> columns = d->patterns.keys();
    for (const auto& entry : d->expressions)
        columns.append(entry.first);
    std::sort(columns.begin(), columns.end());
    return columns;
}

bool PdFilterDialogProxyModel::hasPatternFilter(int column) const
{
    return d->patterns.contains(column);
}

QVariantList PdFilterDialogProxyModel::patternFilter(int column) const
{
    return d->patterns.value(column);
}

const PdExpression* PdFilterDialogProxyModel::expressionFilter(int column) const
{
    const auto it = d->expressions.find(column);
    return it == d->expressions.end() ? nullptr : it->second.get();
}

QVariantMap PdFilterDialogProxyModel::filtersToVariant() const
{
    QVariantMap patterns;
    for (auto it = d->patterns.cbegin(); it != d->patterns.cend(); ++it)
        patterns.insert(QString::number(it.key()), it.value());
    // Each condition as a list of texts, so a value holding ";" reads back whole.
    QVariantMap expressions;
    for (const auto& entry : d->expressions)
        expressions.insert(QString::number(entry.first), entry.second->toParts());
    return QVariantMap{{QStringLiteral("patterns"), patterns}, {QStringLiteral("expressions"), expressions}};
}

void PdFilterDialogProxyModel::filtersFromVariant(const QVariantMap& map)
{
    d->patterns.clear();
    d->expressions.clear();
    const QVariantMap patterns = map.value(QStringLiteral("patterns")).toMap();
    for (auto it = patterns.cbegin(); it != patterns.cend(); ++it) {
        bool ok = false;
        const int column = it.key().toInt(&ok);
        if (!ok || column < 0)
            continue;
        const QVariantList values = it->userType() == QMetaType::QString ? QVariantList{*it} : it->toList();
        d->patterns.insert(column, values);
    }
    const QVariantMap expressions = map.value(QStringLiteral("expressions")).toMap();
    for (auto it = expressions.cbegin(); it != expressions.cend(); ++it) {
        bool ok = false;
        const int column = it.key().toInt(&ok);
        if (!ok || column < 0 || d->patterns.contains(column))
            continue;
        // Layouts written before conditions were saved as lists hold one text joined by ";".
        const QStringList parts = it->userType() == QMetaType::QString
            ? it->toString().split(QLatin1Char(';'), Qt::KeepEmptyParts)
            : it->toStringList();
        std::unique_ptr<PdExpression> chain = PdExpression::fromParts(parts);
        if (chain)
            d->expressions[column] = std::move(chain);
    }
    d->flagsStale = true;
    relayout();
}

int PdFilterDialogProxyModel::sourceLeafCount() const
{
    return d->table.leafCount();
}

int PdFilterDialogProxyModel::acceptedLeafCount() const
{
    return d->acceptedLeaves;
}

bool PdFilterDialogProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (d->accepted.isEmpty() || !sourceModel())
        return true;
    const int slot = d->slotOf(sourceModel()->index(sourceRow, 0, sourceParent));
    return slot < 0 || d->accepted.at(slot);
}
