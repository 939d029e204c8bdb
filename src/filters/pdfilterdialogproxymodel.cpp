#include "pdfilterdialogproxymodel.h"

#include "pdexpression.h"
#include "pdfiltervalue.h"
#include "pdsourcenodetable.h"
#include "pdvariantorder.h"

#include <QSet>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

struct ColumnTest
{
    int column = -1;
    PdValueKind kind = PdValueKind::Text;
    QSet<QString> values;
    const PdExpression* expression = nullptr;
};

// A sort key read once per row: blanks first, then numbers and dates by value, then texts.
struct SortKey
{
    int group = 0;
    double number = 0;
    QString text;
};

SortKey sortKeyOf(const QVariant& value, PdValueKind kind)
{
    SortKey key;
    if (PdFilterValue::isBlank(value))
        return key;
    if (kind == PdValueKind::Date) {
        // Day and time without the time zone: QDateTime's own conversion to epoch time asks the
        // system for every value, which dominates the sort of a large project.
        const QDateTime moment = value.toDateTime();
        const QDate date = moment.isValid() ? moment.date() : PdFilterValue::toDate(value);
        if (date.isValid()) {
            key.group = 1;
            key.number = double(date.toJulianDay()) * 86400000.0
                + (moment.isValid() ? double(moment.time().msecsSinceStartOfDay()) : 0.0);
            return key;
        }
    } else if (kind == PdValueKind::Text) {
        bool ok = false;
        const double number = value.userType() == QMetaType::QString ? value.toString().toDouble(&ok)
                                                                      : value.toDouble(&ok);
        if (ok && std::isfinite(number)) {
            key.group = 1;
            key.number = number;
            return key;
        }
    } else if (PdFilterValue::toNumber(value, &key.number)) {
        key.group = 1;
        return key;
    }
    key.group = 2;
    key.text = value.toString();
    return key;
}

bool keyLess(const SortKey& a, const SortKey& b)
{
    if (a.group != b.group)
        return a.group < b.group;
    if (a.group == 1)
        return a.number < b.number;
    return a.text < b.text;
}

} // namespace

struct PdFilterDialogProxyModel::Private
{
    QMap<int, QVariantList> patterns;
    std::map<int, std::unique_ptr<PdExpression>> expressions;
    QVector<QMetaObject::Connection> connections;
    QTimer notify;
    bool refilterPending = false;

    // Rebuilt on first use after the source or the filters changed, so a burst of source signals
    // costs one walk, not one per signal.
    mutable PdSourceNodeTable table;
    mutable bool tableDirty = true;
    mutable QVector<bool> accepted;
    mutable int acceptedLeaves = 0;
    mutable bool flagsDirty = true;
    mutable QVector<int> ranks;
    mutable int rankColumn = -1;
    mutable bool ranksDirty = true;

    bool hasFilters() const { return !patterns.isEmpty() || !expressions.empty(); }
    void ensureTable(const QAbstractItemModel* source) const;
    void ensureFlags(const QAbstractItemModel* source) const;
    void ensureRanks(const QAbstractItemModel* source, int column) const;
    QVector<ColumnTest> tests(const QAbstractItemModel* source) const;
};

void PdFilterDialogProxyModel::Private::ensureTable(const QAbstractItemModel* source) const
{
    if (!tableDirty)
        return;
    table.build(source);
    tableDirty = false;
    flagsDirty = true;
    ranksDirty = true;
}

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

void PdFilterDialogProxyModel::Private::ensureFlags(const QAbstractItemModel* source) const
{
    ensureTable(source);
    if (!flagsDirty)
        return;
    flagsDirty = false;
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

void PdFilterDialogProxyModel::Private::ensureRanks(const QAbstractItemModel* source, int column) const
{
    ensureTable(source);
    if (!ranksDirty && rankColumn == column)
        return;
    ranksDirty = false;
    rankColumn = column;
    const int n = table.size();
    const PdValueKind kind = PdFilterValue::kindOfColumn(source, column);
    QVector<SortKey> keys(n);
    QVector<int> order(n);
    for (int slot = 0; slot < n; ++slot) {
        const QModelIndex& row = table.indexAt(slot);
        keys[slot] = sortKeyOf(row.sibling(row.row(), column).data(), kind);
        order[slot] = slot;
    }
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) { return keyLess(keys.at(a), keys.at(b)); });
    ranks.fill(0, n);
    int rank = 0;
    for (int i = 0; i < n; ++i) {
        if (i > 0 && keyLess(keys.at(order.at(i - 1)), keys.at(order.at(i))))
            ++rank;
        ranks[order.at(i)] = rank;
    }
}

PdFilterDialogProxyModel::PdFilterDialogProxyModel(QObject* parent)
    : QSortFilterProxyModel(parent), d(std::make_unique<Private>())
{
    // Sorting and filtering follow the user's commands; re-sorting on every cell write would turn
    // the numbering of 200,000 rows into 200,000 moves.
    setDynamicSortFilter(false);
    d->notify.setSingleShot(true);
    d->notify.setInterval(0);
    connect(&d->notify, &QTimer::timeout, this, [this] {
        if (d->refilterPending) {
            d->refilterPending = false;
            invalidate();
        }
        emit countsChanged();
    });
}

PdFilterDialogProxyModel::~PdFilterDialogProxyModel() = default;

void PdFilterDialogProxyModel::setSourceModel(QAbstractItemModel* model)
{
    for (const QMetaObject::Connection& c : qAsConst(d->connections))
        disconnect(c);
    d->connections.clear();
    d->tableDirty = true;
    d->table.clear();
    // Made before the base class connects its own handlers, so the tables are marked stale before
    // the base class asks which rows pass.
    if (model) {
        using M = QAbstractItemModel;
        using P = PdFilterDialogProxyModel;
        d->connections << connect(model, &M::modelReset, this, &P::onSourceStructureChanged)
                       << connect(model, &M::layoutChanged, this, &P::onSourceStructureChanged)
                       << connect(model, &M::rowsInserted, this, &P::onSourceStructureChanged)
                       << connect(model, &M::rowsRemoved, this, &P::onSourceStructureChanged)
                       << connect(model, &M::rowsMoved, this, &P::onSourceStructureChanged)
                       << connect(model, &M::dataChanged, this, &P::onSourceDataChanged)
                       << connect(model, &QObject::destroyed, this, &P::onSourceStructureChanged);
    }
    QSortFilterProxyModel::setSourceModel(model);
    d->notify.start();
}

void PdFilterDialogProxyModel::onSourceStructureChanged()
{
    d->tableDirty = true;
    d->flagsDirty = true;
    d->ranksDirty = true;
    d->table.clear();
    d->notify.start();
}

void PdFilterDialogProxyModel::onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (!topLeft.isValid() || !bottomRight.isValid())
        return;
    const int left = topLeft.column();
    const int right = bottomRight.column();
    if (d->rankColumn >= left && d->rankColumn <= right)
        d->ranksDirty = true;
    if (!d->hasFilters())
        return;
    for (int column : filteredColumns()) {
        if (column >= left && column <= right) {
            d->flagsDirty = true;
            d->refilterPending = true;
            d->notify.start();
            return;
        }
    }
}

void PdFilterDialogProxyModel::filtersChanged()
{
    d->flagsDirty = true;
    d->refilterPending = false;
    // One layout change: removing the rows that fail as separate runs costs the base class a pass
    // over its mapping per run, which turns a scattered result on a large project quadratic.
    invalidate();
    emit countsChanged();
}

void PdFilterDialogProxyModel::sort(int column, Qt::SortOrder order)
{
    d->ranksDirty = true;
    QSortFilterProxyModel::sort(column, order);
}

void PdFilterDialogProxyModel::setPatternFilter(int column, const QVariantList& values)
{
    d->expressions.erase(column);
    d->patterns.insert(column, values);
    filtersChanged();
}

void PdFilterDialogProxyModel::setExpressionFilter(int column, std::unique_ptr<PdExpression> expression)
{
    d->patterns.remove(column);
    if (expression)
        d->expressions[column] = std::move(expression);
    else
        d->expressions.erase(column);
    filtersChanged();
}

void PdFilterDialogProxyModel::removeColumnFilters(int column)
{
    d->patterns.remove(column);
    d->expressions.erase(column);
    filtersChanged();
}

void PdFilterDialogProxyModel::clearFilters()
{
    d->patterns.clear();
    d->expressions.clear();
    filtersChanged();
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
    filtersChanged();
}

int PdFilterDialogProxyModel::sourceLeafCount() const
{
    d->ensureTable(sourceModel());
    return d->table.leafCount();
}

int PdFilterDialogProxyModel::acceptedLeafCount() const
{
    if (!d->hasFilters())
        return sourceLeafCount();
    d->ensureFlags(sourceModel());
    return d->acceptedLeaves;
}

bool PdFilterDialogProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!d->hasFilters() || !sourceModel())
        return true;
    d->ensureFlags(sourceModel());
    const int slot = d->table.slotOf(sourceModel()->index(sourceRow, 0, sourceParent));
    return slot < 0 || d->accepted.at(slot);
}

bool PdFilterDialogProxyModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    d->ensureRanks(sourceModel(), left.column());
    const int a = d->table.slotOf(left);
    const int b = d->table.slotOf(right);
    if (a < 0 || b < 0)
        return pdVariantLess(left.data(sortRole()), right.data(sortRole()));
    return d->ranks.at(a) < d->ranks.at(b);
}
