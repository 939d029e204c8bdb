#pragma once

#include "pdparentitemproxymodel.h"

#include <QHash>
#include <QMap>
#include <QString>
#include <QVariant>
#include <QVector>

#include "pdgrouplevel.h"

class PdIndex;
class PdJoinProxyModel;

// The keys of one grouping level, turned from an index into plain numbers:
// the key of every activity row and, for structured keys, each key's parent.
struct ActivityGroupingLevel
{
    // Per activity row: the position of its key, or -1 when it has none.
    QVector<int> keyOfRow;
    QVector<QVariant> displays;
    QVector<QString> keyTexts;
    // Per key: the position of its parent key, or -1; empty for a flat level.
    QVector<int> parentOf;
    // Per key: its place among its siblings; empty means key order.
    QVector<int> rank;
    // Names the level in the groups' identities, so that equal keys of
    // different fields or periods are different groups.
    QString name;

    // `ranks` orders structured keys as the scheduling tool lists them; keys
    // it does not hold come after, in key order.
    static ActivityGroupingLevel fromIndex(const PdIndex &index, int rowCount, bool structured,
                                           const QHash<QString, int> &ranks = QHash<QString, int>());
};

// Crosses grouping levels into one tree of groups over the activity rows.
// Activities keep the file's order inside a group; sub-groups follow their
// own key's order, whatever the keys of the levels above; rows without a key
// go into a "(No value)" group, last among their siblings; groups that would
// hold nothing are never made.
class ActivityGrouping
{
public:
    struct Group
    {
        QVariant display;
        // Names the group across regroupings: a 64-bit digest of its level
        // names and keys from the top down. A text of them all made every
        // regrouping of a deep structure allocate and hash long strings; two
        // groups of a project sharing a digest is so unlikely that the worst
        // it could do, a group shown open or closed wrongly, is accepted.
        quint64 identity = 0;
        int parent = -1;
        QVector<int> rows;
        QVector<int> children;
    };

    // The models a grouping reads its keys from; any but the activities may
    // be missing, which leaves the levels that need them out.
    struct Sources
    {
        const PdJoinProxyModel *activities = nullptr;
        const QAbstractItemModel *wbs = nullptr;
        const QAbstractItemModel *codeTypes = nullptr;
        const QAbstractItemModel *codes = nullptr;
    };
    // The keys of each level in use, in order. False when a level's field is
    // supplied by no model: the grouping is then abandoned whole.
    // Levels read before, by field and interval: the activities' keys do not
    // change while a project is open, so a regrouping reads only new levels.
    using LevelCache = QHash<QString, ActivityGroupingLevel>;
    static bool readLevels(const QList<PdGroupLevel> &groupLevels, const Sources &sources,
                           QVector<ActivityGroupingLevel> *levels, LevelCache *cache = nullptr);

    static QString noValueText();

    void build(const QVector<ActivityGroupingLevel> &levels, int rowCount);

    // Groups in pre-order: a group's master row is its position plus the
    // first group row.
    const QVector<Group> &groups() const { return m_groups; }
    const QVector<int> &roots() const { return m_roots; }
    PdParentItemProxyModel::ParentMap parentMap(int firstGroupRow) const;

private:
    QVector<Group> m_groups;
    QVector<int> m_roots;
};
