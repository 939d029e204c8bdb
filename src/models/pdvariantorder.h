#ifndef PDVARIANTORDER_H
#define PDVARIANTORDER_H

#include <QMap>
#include <QVariant>

// The ordering of group and join keys: numbers (and numeric texts) numerically, other texts by
// character code, dates chronologically; a strict weak ordering even when one map mixes numbers
// and texts.
bool pdVariantLess(const QVariant& a, const QVariant& b);

// How a key can stand in a hash without changing which keys pdVariantLess holds equal: integers
// (whatever their integral type) by value, invalid keys as one key, and every kind the ordering
// reads as text by that text, numeric texts included, as "5" and "05" stay apart from 5 and from
// each other. Fractional numbers and dates equal keys of other representations (5.0 and 5, a date
// and its midnight), so they have no hashable form and need the ordering itself.
enum class PdHashForm { Invalid, Integer, Text, OrderedOnly };
PdHashForm pdVariantHashForm(const QVariant& v, qlonglong* integer, QString* text);

// QMap<QVariant, T> would otherwise reach QVariant's deprecated operator<.
template <>
inline bool qMapLessThanKey<QVariant>(const QVariant& key1, const QVariant& key2)
{
    return pdVariantLess(key1, key2);
}

#endif // PDVARIANTORDER_H
