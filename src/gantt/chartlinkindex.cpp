#include "chartlinkindex.h"

#include "taskrelationship.h"

#include <QPair>

#include <algorithm>
#include <cstdlib>

namespace mygc {

namespace {
// Links spanning more rows than this are kept apart from the sorted ones.
constexpr int ShortLinkSpan = 256;
} // namespace

void ChartLinkIndex::build(const Links &links)
{
    m_valid = true;
    m_shortLinks.clear();
    m_shortLinkTops.clear();
    m_longLinks.clear();
    const int n = links.size();
    QVector<QPair<int, int>> shortOnes;
    shortOnes.reserve(n);
    for (int i = 0; i < n; ++i) {
        const TaskRelationship &l = *links.at(i);
        const int top = std::min(l.from(), l.to());
        if (std::abs(l.to() - l.from()) > ShortLinkSpan)
            m_longLinks.append(i);
        else
            shortOnes.append(qMakePair(top, i));
    }
    std::sort(shortOnes.begin(), shortOnes.end());
    m_shortLinks.reserve(shortOnes.size());
    m_shortLinkTops.reserve(shortOnes.size());
    for (const auto &p : qAsConst(shortOnes)) {
        m_shortLinkTops.append(p.first);
        m_shortLinks.append(p.second);
    }
}

QVector<int> ChartLinkIndex::across(const Links &links, int first, int last) const
{
    QVector<int> result;
    const auto crosses = [&](int i) {
        const TaskRelationship &l = *links.at(i);
        return std::min(l.from(), l.to()) <= last && std::max(l.from(), l.to()) >= first;
    };
    const auto begin = std::lower_bound(m_shortLinkTops.cbegin(), m_shortLinkTops.cend(), first - ShortLinkSpan);
    const auto end = std::upper_bound(begin, m_shortLinkTops.cend(), last);
    for (auto it = begin; it != end; ++it) {
        const int i = m_shortLinks.at(int(it - m_shortLinkTops.cbegin()));
        if (crosses(i))
            result.append(i);
    }
    for (int i : m_longLinks) {
        if (crosses(i))
            result.append(i);
    }
    return result;
}

} // namespace mygc
