#include "pddateindex.h"

#include <QDate>
#include <QLocale>

#include <cmath>

PdDateIndex::PdDateIndex(const QAbstractItemModel* model, int column)
    : PdIndex(model, column)
{
}

QVariant PdDateIndex::keyFor(const QModelIndex& index, int role) const
{
    const QVariant value = index.data(role);
    QDate date = value.toDate();
    if (!date.isValid())
        date = QDate::fromString(value.toString(), dateFormat);
    if (!date.isValid())
        return QVariant();
    if (withYear) {
        // Numbers that order chronologically: year, then period.
        if (period == QLatin1String("Quarter"))
            return date.year() * 10 + (date.month() + 2) / 3;
        if (period == QLatin1String("Month"))
            return date.year() * 100 + date.month();
        if (period == QLatin1String("Week")) {
            int weekYear = 0;
            const int week = date.weekNumber(&weekYear);
            return weekYear * 100 + week;
        }
    }
    if (period == QLatin1String("Year"))
        return date.year();
    if (period == QLatin1String("Quarter"))
        return int(std::lround(date.month() / 3.0 + 0.25));
    if (period == QLatin1String("Week"))
        return date.weekNumber();
    if (period == QLatin1String("Month")) {
        if (date.month() < 10)
            return QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
        return date.month();
    }
    if (period == QLatin1String("Day"))
        return date;
    return value;
}

QVariant PdDateIndex::displayFor(const QVariant& value) const
{
    if (value.isNull())
        return QVariant();
    // Period labels are English whatever the system locale, like the rest of the program's texts.
    static const QLocale english(QLocale::English, QLocale::UnitedStates);
    if (withYear) {
        const int key = value.toInt();
        if (period == QLatin1String("Quarter"))
            return QStringLiteral("%1 Q%2").arg(key / 10).arg(key % 10);
        if (period == QLatin1String("Month")) {
            const int month = key % 100;
            return month >= 1 && month <= 12
                ? QStringLiteral("%1 %2").arg(english.monthName(month, QLocale::LongFormat)).arg(key / 100)
                : QString();
        }
        if (period == QLatin1String("Week"))
            return QStringLiteral("%1 Week %2").arg(key / 100).arg(key % 100);
        if (period == QLatin1String("Day"))
            return english.toString(value.toDate(), QStringLiteral("dd MMMM yyyy"));
    }
    if (period == QLatin1String("Quarter"))
        return QStringLiteral("Q%1").arg(value.toInt());
    if (period == QLatin1String("Week"))
        return QStringLiteral("Week %1").arg(value.toInt());
    if (period == QLatin1String("Month")) {
        const int month = value.toInt();
        return month >= 1 && month <= 12 ? english.monthName(month, QLocale::LongFormat) : QString();
    }
    if (period == QLatin1String("Day"))
        return english.toString(value.toDate(), QStringLiteral("dd MMMM"));
    return value;
}
