#pragma once

#include <QSharedPointer>
#include <QVector>

namespace mygc {

class TaskRelationship;

// Finds the links near the painted rows without walking all of them: short
// links sorted by their upper row are found by a binary search, the few long
// ones are checked one by one.
class ChartLinkIndex
{
public:
    using Links = QVector<QSharedPointer<TaskRelationship>>;

    void invalidate() { m_valid = false; }
    bool isValid() const { return m_valid; }
    void build(const Links &links);
    // Indexes into links of those whose rows span any of the rows first to last.
    QVector<int> across(const Links &links, int first, int last) const;

private:
    QVector<int> m_shortLinks;
    QVector<int> m_shortLinkTops;
    QVector<int> m_longLinks;
    bool m_valid = false;
};

} // namespace mygc
