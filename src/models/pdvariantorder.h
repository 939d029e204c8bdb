#ifndef PDVARIANTORDER_H
#define PDVARIANTORDER_H

#include <QMap>
#include <QVariant>

// The ordering of group and join keys: numbers (and numeric texts) numerically, other texts by
// character code, dates chronologically; a strict weak ordering even when one map mixes numbers
// and texts.
bool pdVariantLess(const QVariant& a, const QVariant& b);

// QMap<QVariant, T> would otherwise reach QVariant's deprecated operator<.
template <>
inline bool qMapLessThanKey<QVariant>(const QVariant& key1, const QVariant& key2)
{
    return pdVariantLess(key1, key2);
}

#endif // PDVARIANTORDER_H
