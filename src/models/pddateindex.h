#ifndef PDDATEINDEX_H
#define PDDATEINDEX_H

#include "pdindex.h"

#include <QString>

// Groups dates by period: "Year", "Quarter", "Month", "Week" or "Day". Months and weeks leave the year
// out, so March of every year falls into one group.
class PdDateIndex : public PdIndex
{
public:
    PdDateIndex() = default;
    PdDateIndex(const QAbstractItemModel* model, int column);

    QVariant keyFor(const QModelIndex& index, int role) const override;
    QVariant displayFor(const QVariant& value) const override;

    QString period = QStringLiteral("Month");
    QString dateFormat = QStringLiteral("dd.MM.yyyy");
    // Keys and labels carry the year ("2026 Q1", "March 2026", "2026 Week 12"), so the same period of
    // two years gives two groups; without it a year-by-month combination stays possible.
    bool withYear = false;
};

#endif // PDDATEINDEX_H
