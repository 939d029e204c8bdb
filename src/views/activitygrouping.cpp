#include "activitygrouping.h"

#include "pddateindex.h"
#include "pdindex.h"
#include "pdjoinproxymodel.h"
#include "pdmodelutils.h"
#include "pdstructuredkeylistindex.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace {

bool isBlank(const QVariant &key)
{
    if (!key.isValid() || key.isNull())
        return true;
    // An empty text is no value either; two "(No value)" groups side by side
    // would only puzzle.
    return key.userType() == QMetaType::QString && key.toString().isEmpty();
}

// Orders structured keys as the scheduling tool lists them: by sequence
// number, then code, then key. Keyed by the key's text, as the index's own
// tree of keys is.
QHash<QString, int> structureRanks(const QAbstractItemModel *model, const QString &keyName, const QString &codeName)
{
    QHash<QString, int> ranks;
    if (!model)
        return ranks;
    const int keyColumn = columnByName(model, keyName);
    const int seqColumn = columnByName(model, QStringLiteral("seq_num"));
    const int codeColumn = columnByName(model, codeName);
    if (keyColumn < 0)
        return ranks;
    struct Node
    {
        double seq;
        QString code;
        QString key;
    };
    std::vector<Node> nodes;
    const int rows = model->rowCount();
    nodes.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        const QVariant key = model->index(r, keyColumn).data();
        if (!key.isValid())
            continue;
        nodes.push_back({seqColumn >= 0 ? model->index(r, seqColumn).data().toDouble() : 0.0,
                         codeColumn >= 0 ? model->index(r, codeColumn).data().toString() : QString(),
                         key.toString()});
    }
    std::stable_sort(nodes.begin(), nodes.end(), [](const Node &a, const Node &b) {
        if (a.seq != b.seq)
            return a.seq < b.seq;
        return a.code < b.code;
    });
    ranks.reserve(int(nodes.size()));
    for (const Node &node : nodes) {
        if (!ranks.contains(node.key))
            ranks.insert(node.key, ranks.size());
    }
    return ranks;
}

quint64 textDigest(const QString &text)
{
    return (quint64(qHash(text, 0x9E3779B9u)) << 32) | qHash(text, 0x85EBCA6Bu);
}

// Order matters: a parent's digest mixed with its child's key differs from
// the same key one level up.
quint64 mixIdentity(quint64 seed, quint64 value)
{
    quint64 h = seed ^ (value + 0x9E3779B97F4A7C15ull + (seed << 6) + (seed >> 2));
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

// The depth a structured level is cut at, or 0 for all of it.
int depthLimit(const QString &interval)
{
    if (interval.isEmpty() || interval == QLatin1String("All"))
        return 0;
    bool ok = false;
    const int depth = interval.right(2).trimmed().toInt(&ok);
    return ok && depth > 0 ? depth : 0;
}

} // namespace

ActivityGroupingLevel ActivityGroupingLevel::fromIndex(const PdIndex &index, int rowCount, bool structured,
                                                       const QHash<QString, int> &ranks)
{
    ActivityGroupingLevel level;
    level.keyOfRow.fill(-1, rowCount);
    const int keys = index.map.size();
    level.keyTexts.reserve(keys);
    level.displays.reserve(keys);
    // The index links keys by their text; so does this lookup.
    QHash<QString, int> positions;
    if (structured)
        positions.reserve(keys);
    int position = 0;
    for (auto it = index.map.cbegin(); it != index.map.cend(); ++it, ++position) {
        const QString text = it.key().toString();
        if (structured)
            positions.insert(text, position);
        level.keyTexts.append(text);
        const QVariant &display = it->display;
        level.displays.append(display.isNull() || display.toString().isEmpty() ? QVariant(text) : display);
        if (isBlank(it.key()))
            continue;
        for (int row : it->rows) {
            if (row >= 0 && row < rowCount)
                level.keyOfRow[row] = position;
        }
    }
    if (structured) {
        level.parentOf.fill(-1, position);
        position = 0;
        for (auto it = index.map.cbegin(); it != index.map.cend(); ++it, ++position) {
            if (it->parentKey.isValid())
                level.parentOf[position] = positions.value(it->parentKey.toString(), -1);
        }
    }
    if (!ranks.isEmpty()) {
        level.rank.resize(position);
        const int unranked = ranks.size();
        for (int k = 0; k < position; ++k)
            level.rank[k] = ranks.value(level.keyTexts.at(k), unranked + k);
    }
    return level;
}

bool ActivityGrouping::readLevels(const QList<PdGroupLevel> &groupLevels, const Sources &sources,
                                  QVector<ActivityGroupingLevel> *levels, LevelCache *cache)
{
    const PdJoinProxyModel *join = sources.activities;
    const QAbstractItemModel *model = join;
    if (!model)
        return false;
    const int rows = model->rowCount();
    for (const PdGroupLevel &level : groupLevels) {
        if (!level.inUse())
            break;
        const QString name = level.field + QLatin1Char(';') + level.interval;
        const auto addLevel = [&](ActivityGroupingLevel keys) {
            keys.name = name;
            if (cache)
                cache->insert(name, keys);
            levels->append(keys);
        };
        const int column = columnByName(model, level.field);
        const QAbstractItemModel *supplier = join && column >= 0 ? join->modelForColumn(column) : nullptr;
        if (!supplier)
            return false;
        const auto cached = cache ? cache->constFind(name) : LevelCache::const_iterator();
        if (cache && cached != cache->constEnd() && cached->keyOfRow.size() == rows) {
            levels->append(*cached);
            continue;
        }
        const QVariantMap descriptor = model->headerData(column, Qt::Horizontal, Qt::UserRole + 2).toMap();
        const bool structured = descriptor.value(QStringLiteral("structure")).toBool();
        const QString supplierName = supplier->objectName();
        if (descriptor.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime")) {
            PdDateIndex index(model, column);
            index.period = level.interval.isEmpty() ? QStringLiteral("Month") : level.interval;
            index.withYear = true;
            index.group(Qt::DisplayRole);
            addLevel(ActivityGroupingLevel::fromIndex(index, rows, false));
        } else if (!structured) {
            PdIndex index(model, column);
            index.group(Qt::DisplayRole);
            addLevel(ActivityGroupingLevel::fromIndex(index, rows, false));
        } else if (supplierName == QLatin1String("PROJWBS") && sources.wbs) {
            PdIndex index(model, columnByName(model, QStringLiteral("wbs_id")));
            index.buildStructure(sources.wbs, columnByName(sources.wbs, QStringLiteral("wbs_id")),
                                 columnByName(sources.wbs, QStringLiteral("parent_wbs_id")), 3);
            index.group(Qt::DisplayRole);
            if (const int depth = depthLimit(level.interval))
                index.limitLevels(depth);
            addLevel(ActivityGroupingLevel::fromIndex(
                index, rows, true, structureRanks(sources.wbs, QStringLiteral("wbs_id"), QStringLiteral("WBS Code"))));
        } else if (supplierName == QLatin1String("taskCodesAssignmentModel") && sources.codeTypes && sources.codes) {
            PdStructuredKeyListIndex index(model, column);
            index.codeType = verticalLookup(sources.codeTypes, level.field, 0, 3).data();
            index.codeTypeColumn = columnByName(sources.codes, QStringLiteral("actv_code_type_id"));
            index.buildStructure(sources.codes, columnByName(sources.codes, QStringLiteral("actv_code_id")),
                                 columnByName(sources.codes, QStringLiteral("parent_actv_code_id")),
                                 columnByName(sources.codes, QStringLiteral("Code Name")));
            index.group(Qt::UserRole);
            if (const int depth = depthLimit(level.interval))
                index.limitLevels(depth);
            addLevel(ActivityGroupingLevel::fromIndex(
                index, rows, true,
                structureRanks(sources.codes, QStringLiteral("actv_code_id"), QStringLiteral("Code Value"))));
        }
    }
    return true;
}

QString ActivityGrouping::noValueText()
{
    return QStringLiteral("(No value)");
}

void ActivityGrouping::build(const QVector<ActivityGroupingLevel> &levels, int rowCount)
{
    QVector<quint64> levelDigests;
    for (const ActivityGroupingLevel &level : levels)
        levelDigests.append(textDigest(level.name));
    QVector<Group> groups;
    QVector<int> roots;
    QVector<int> sortKeys;

    auto create = [&](int parent, int level, const QString &key, const QVariant &display, int sortKey) {
        Group group;
        group.display = display;
        group.identity = mixIdentity(mixIdentity(parent >= 0 ? groups.at(parent).identity : 0x243F6A8885A308D3ull,
                                                 levelDigests.at(level)),
                                     textDigest(key));
        group.parent = parent;
        const int made = groups.size();
        groups.append(group);
        sortKeys.append(sortKey);
        if (parent >= 0)
            groups[parent].children.append(made);
        else
            roots.append(made);
        return made;
    };

    // The groups whose rows the next level splits: at first the whole
    // project, later each group that has no sub-groups of its own.
    struct Owner
    {
        int group;
        QVector<int> rows;
    };
    QVector<Owner> owners;
    {
        Owner all{-1, QVector<int>(rowCount)};
        for (int r = 0; r < rowCount; ++r)
            all.rows[r] = r;
        owners.append(all);
    }

    for (int l = 0; l < levels.size(); ++l) {
        const ActivityGroupingLevel &level = levels.at(l);
        const int keyCount = level.keyTexts.size();
        const bool structured = !level.parentOf.isEmpty();
        const int madeBefore = groups.size();
        // Per key: its group under the current owner, or -1; reset after
        // each owner through the keys it touched, so thousands of owners
        // cost no table each.
        std::vector<int> groupOfKey(std::size_t(keyCount), -1);
        std::vector<char> onChain(std::size_t(keyCount), 0);
        std::vector<int> touched;
        std::vector<int> chain;
        for (const Owner &owner : qAsConst(owners)) {
            int noValueGroup = -1;
            auto groupFor = [&](int key) {
                if (groupOfKey[std::size_t(key)] >= 0)
                    return groupOfKey[std::size_t(key)];
                // The key's ancestors down from the nearest one already made;
                // a damaged structure may loop, so each key is taken once.
                chain.clear();
                int current = key;
                while (current >= 0 && current < keyCount && groupOfKey[std::size_t(current)] < 0
                       && !onChain[std::size_t(current)]) {
                    onChain[std::size_t(current)] = 1;
                    chain.push_back(current);
                    current = structured ? level.parentOf.at(current) : -1;
                }
                for (int k : chain)
                    onChain[std::size_t(k)] = 0;
                int parent = current >= 0 && current < keyCount && groupOfKey[std::size_t(current)] >= 0
                    ? groupOfKey[std::size_t(current)]
                    : owner.group;
                for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
                    const int k = *it;
                    parent = create(parent, l, level.keyTexts.at(k), level.displays.at(k),
                                    level.rank.isEmpty() ? k : level.rank.at(k));
                    groupOfKey[std::size_t(k)] = parent;
                    touched.push_back(k);
                }
                return parent;
            };
            for (int row : owner.rows) {
                const int key = row >= 0 && row < level.keyOfRow.size() ? level.keyOfRow.at(row) : -1;
                int group;
                if (key < 0) {
                    if (noValueGroup < 0)
                        noValueGroup = create(owner.group, l, QStringLiteral("\x01"), noValueText(), INT_MAX);
                    group = noValueGroup;
                } else {
                    group = groupFor(key);
                }
                groups[group].rows.append(row);
            }
            if (owner.group >= 0)
                groups[owner.group].rows.clear();
            for (int k : touched)
                groupOfKey[std::size_t(k)] = -1;
            touched.clear();
        }
        if (l + 1 == levels.size())
            break;
        owners.clear();
        for (int g = madeBefore; g < groups.size(); ++g) {
            if (groups.at(g).children.isEmpty())
                owners.append(Owner{g, groups.at(g).rows});
        }
    }

    const auto bySortKey = [&](int a, int b) { return sortKeys.at(a) < sortKeys.at(b); };
    std::stable_sort(roots.begin(), roots.end(), bySortKey);
    for (Group &group : groups)
        std::stable_sort(group.children.begin(), group.children.end(), bySortKey);

    // Renumbered in pre-order, so the group rows of the master read top down
    // as the tree shows them.
    QVector<int> order;
    order.reserve(groups.size());
    QVector<int> pending(roots.crbegin(), roots.crend());
    while (!pending.isEmpty()) {
        const int g = pending.takeLast();
        order.append(g);
        const QVector<int> &children = groups.at(g).children;
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            pending.append(*it);
    }
    QVector<int> newIndex(groups.size(), -1);
    for (int i = 0; i < order.size(); ++i)
        newIndex[order.at(i)] = i;
    m_groups.clear();
    m_groups.reserve(order.size());
    for (int g : qAsConst(order)) {
        Group group = std::move(groups[g]);
        group.parent = group.parent >= 0 ? newIndex.at(group.parent) : -1;
        for (int &child : group.children)
            child = newIndex.at(child);
        m_groups.append(group);
    }
    m_roots.clear();
    for (int root : qAsConst(roots))
        m_roots.append(newIndex.at(root));
}

PdParentItemProxyModel::ParentMap ActivityGrouping::parentMap(int firstGroupRow) const
{
    PdParentItemProxyModel::ParentMap map;
    QList<int> &top = map[-1];
    for (int root : m_roots)
        top.append(firstGroupRow + root);
    for (int g = 0; g < m_groups.size(); ++g) {
        const Group &group = m_groups.at(g);
        QList<int> list;
        list.reserve(group.rows.size() + group.children.size());
        for (int row : group.rows)
            list.append(row);
        for (int child : group.children)
            list.append(firstGroupRow + child);
        map.insert(firstGroupRow + g, list);
    }
    return map;
}
