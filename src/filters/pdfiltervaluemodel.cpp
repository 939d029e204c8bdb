#include "pdfiltervaluemodel.h"

#include <QLocale>
#include <QMetaMethod>
#include <QSet>

#include <algorithm>

PdFilterValueModel::PdFilterValueModel(QObject* parent)
    : QAbstractItemModel(parent)
{
}

int PdFilterValueModel::appendNode(int parent, const QString& display, const QString& key)
{
    Node node;
    node.display = display;
    node.key = key;
    node.parent = parent;
    const int id = m_nodes.size();
    if (parent < 0) {
        // Top-level items come first, so a top-level row is its node number.
        Q_ASSERT(m_topCount == id);
        node.row = m_topCount++;
    } else {
        Node& holder = m_nodes[parent];
        if (holder.firstChild < 0)
            holder.firstChild = id;
        Q_ASSERT(holder.firstChild + holder.childCount == id);
        node.row = holder.childCount++;
    }
    m_nodes.append(node);
    return id;
}

void PdFilterValueModel::setValues(const QVector<Entry>& entries)
{
    beginResetModel();
    m_nodes.clear();
    m_topCount = 0;
    m_nodes.reserve(entries.size() + 1);
    appendNode(-1, QStringLiteral("(Select All)"), QString());
    for (const Entry& entry : entries)
        appendNode(-1, entry.display, entry.key);
    endResetModel();
}

void PdFilterValueModel::setDates(const QVector<QDate>& days, bool withBlanks)
{
    beginResetModel();
    m_nodes.clear();
    m_topCount = 0;
    appendNode(-1, QStringLiteral("(Select All)"), QString());
    // Years first, then each year's months, then each month's days: every parent's children are
    // appended in one run, which is what lets a parent address them as a range.
    QVector<int> years;
    QVector<int> yearOf;
    for (const QDate& day : days) {
        if (years.isEmpty() || day.year() != m_nodes.at(years.last()).key.toInt()) {
            years.append(appendNode(-1, QString::number(day.year()), QString::number(day.year())));
        }
        yearOf.append(years.last());
    }
    if (withBlanks)
        appendNode(-1, QStringLiteral("(Blanks)"), QString(QLatin1String("")));
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    QVector<int> monthOf;
    monthOf.reserve(days.size());
    int lastMonth = -1;
    int lastYear = -1;
    for (int i = 0; i < days.size(); ++i) {
        const QDate& day = days.at(i);
        if (yearOf.at(i) != lastYear || day.month() != m_nodes.at(lastMonth).key.toInt()) {
            lastYear = yearOf.at(i);
            lastMonth = appendNode(lastYear, english.monthName(day.month()), QString::number(day.month()));
        }
        monthOf.append(lastMonth);
    }
    for (int i = 0; i < days.size(); ++i) {
        appendNode(monthOf.at(i), days.at(i).toString(QStringLiteral("dd-MM-yyyy")),
                   days.at(i).toString(QStringLiteral("yyyy-MM-dd")));
    }
    endResetModel();
}

int PdFilterValueModel::nodeOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    const int node = int(index.internalId());
    return node >= 0 && node < m_nodes.size() ? node : -1;
}

QModelIndex PdFilterValueModel::indexOfNode(int node) const
{
    if (node < 0 || node >= m_nodes.size())
        return QModelIndex();
    return createIndex(m_nodes.at(node).row, 0, quintptr(node));
}

QModelIndex PdFilterValueModel::index(int row, int column, const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (row < 0 || column != 0)
        return QModelIndex();
    if (!parent.isValid())
        return row < m_topCount ? createIndex(row, 0, quintptr(row)) : QModelIndex();
    const int p = nodeOf(parent);
    if (p < 0 || row >= m_nodes.at(p).childCount)
        return QModelIndex();
    return createIndex(row, 0, quintptr(m_nodes.at(p).firstChild + row));
}

QModelIndex PdFilterValueModel::parent(const QModelIndex& child) const
{
    const int node = nodeOf(child);
    return node < 0 ? QModelIndex() : indexOfNode(m_nodes.at(node).parent);
}

int PdFilterValueModel::rowCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    if (!parent.isValid())
        return m_topCount;
    if (parent.column() != 0)
        return 0;
    const int node = nodeOf(parent);
    return node < 0 ? 0 : m_nodes.at(node).childCount;
}

int PdFilterValueModel::columnCount(const QModelIndex& parent) const
{
    Q_ASSERT(!parent.isValid() || parent.model() == this);
    return 1;
}

QVariant PdFilterValueModel::data(const QModelIndex& index, int role) const
{
    const int node = nodeOf(index);
    if (node < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_nodes.at(node).display;
    case Qt::CheckStateRole:
        return int(m_nodes.at(node).state);
    case Qt::UserRole:
        return m_nodes.at(node).key;
    default:
        return QVariant();
    }
}

Qt::ItemFlags PdFilterValueModel::flags(const QModelIndex& index) const
{
    const int node = nodeOf(index);
    if (node < 0)
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    if (m_nodes.at(node).childCount == 0)
        result |= Qt::ItemNeverHasChildren;
    return result;
}

bool PdFilterValueModel::isSelectAll(const QModelIndex& index) const
{
    return nodeOf(index) == 0;
}

bool PdFilterValueModel::isLeaf(const QModelIndex& index) const
{
    const int node = nodeOf(index);
    return node > 0 && m_nodes.at(node).childCount == 0;
}

QString PdFilterValueModel::keyOf(const QModelIndex& index) const
{
    const int node = nodeOf(index);
    return node < 0 ? QString() : m_nodes.at(node).key;
}

bool PdFilterValueModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const int node = nodeOf(index);
    if (node < 0 || role != Qt::CheckStateRole)
        return false;
    const auto state = Qt::CheckState(value.toInt()) == Qt::Unchecked ? Qt::Unchecked : Qt::Checked;
    if (node == 0) {
        if (isSignalConnected(QMetaMethod::fromSignal(&PdFilterValueModel::selectAllRequested))) {
            emit selectAllRequested(state);
            return true;
        }
        QModelIndexList all;
        for (int row = 1; row < m_topCount; ++row)
            all.append(indexOfNode(row));
        setCheckState(all, state);
        return true;
    }
    setCheckState({index}, state);
    return true;
}

void PdFilterValueModel::setCheckState(const QModelIndexList& items, Qt::CheckState state)
{
    QSet<int> changedParents;
    QVector<int> settle;
    QVector<int> stack;
    for (const QModelIndex& item : items) {
        const int start = nodeOf(item);
        if (start <= 0)
            continue;
        changedParents.insert(m_nodes.at(start).parent);
        settle.append(m_nodes.at(start).parent);
        stack.append(start);
        while (!stack.isEmpty()) {
            Node& node = m_nodes[stack.takeLast()];
            node.state = state;
            if (node.childCount > 0) {
                changedParents.insert(int(&node - m_nodes.constData()));
                for (int c = 0; c < node.childCount; ++c)
                    stack.append(node.firstChild + c);
            }
        }
    }
    // Ancestors take their children's common state; mixed children leave them unchecked. Deeper
    // parents settle first, so a parent never reads a child that is about to change.
    std::sort(settle.begin(), settle.end());
    settle.erase(std::unique(settle.begin(), settle.end()), settle.end());
    auto depth = [this](int node) {
        int d = 0;
        for (; node >= 0; node = m_nodes.at(node).parent)
            ++d;
        return d;
    };
    std::stable_sort(settle.begin(), settle.end(), [&depth](int a, int b) { return depth(a) > depth(b); });
    for (int parent : qAsConst(settle)) {
        for (int p = parent; p >= 0; p = m_nodes.at(p).parent) {
            const Node& holder = m_nodes.at(p);
            bool all = true;
            for (int c = 0; c < holder.childCount && all; ++c)
                all = m_nodes.at(holder.firstChild + c).state == Qt::Checked;
            const Qt::CheckState common = all ? Qt::Checked : Qt::Unchecked;
            if (holder.state != common) {
                m_nodes[p].state = common;
                changedParents.insert(m_nodes.at(p).parent);
            }
        }
    }
    updateSelectAll();
    changedParents.insert(-1);
    for (int parent : qAsConst(changedParents))
        emitChildrenChanged(parent);
}

void PdFilterValueModel::checkKeys(const QStringList& keys)
{
    const QSet<QString> wanted(keys.cbegin(), keys.cend());
    beginResetModel();
    // Children always stand after their parent, so a backward pass settles children first.
    for (int node = m_nodes.size() - 1; node > 0; --node) {
        Node& n = m_nodes[node];
        if (n.childCount == 0) {
            n.state = wanted.contains(n.key) ? Qt::Checked : Qt::Unchecked;
            continue;
        }
        bool all = true;
        for (int c = 0; c < n.childCount && all; ++c)
            all = m_nodes.at(n.firstChild + c).state == Qt::Checked;
        n.state = all ? Qt::Checked : Qt::Unchecked;
    }
    updateSelectAll();
    endResetModel();
}

void PdFilterValueModel::updateSelectAll()
{
    if (m_nodes.isEmpty())
        return;
    // A parent is checked only when its whole subtree is, so the top level answers for every item.
    bool all = true;
    for (int node = 1; node < m_topCount && all; ++node)
        all = m_nodes.at(node).state == Qt::Checked;
    m_nodes[0].state = all ? Qt::Checked : Qt::Unchecked;
}

void PdFilterValueModel::emitChildrenChanged(int parent)
{
    const QModelIndex parentIndex = indexOfNode(parent);
    const int count = rowCount(parentIndex);
    if (count > 0)
        emit dataChanged(index(0, 0, parentIndex), index(count - 1, 0, parentIndex), {Qt::CheckStateRole});
}
