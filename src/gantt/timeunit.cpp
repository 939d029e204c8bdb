#include "timeunit.h"

namespace mygc {

namespace {

QDateTime withTime(const QDateTime &t, const QTime &time)
{
    QDateTime r = t;
    r.setTime(time);
    return r;
}

QDateTime midnight(const QDate &d)
{
    return QDateTime(d, QTime(0, 0));
}

} // namespace

QDateTime periodStart(int unit, const QDateTime &t)
{
    if (!t.isValid())
        return QDateTime();
    const QDate d = t.date();
    const QTime tm = t.time();
    switch (unit) {
    case Second:
        return withTime(t, QTime(tm.hour(), tm.minute(), tm.second()));
    case Minute:
        return withTime(t, QTime(tm.hour(), tm.minute()));
    case Hour:
        return withTime(t, QTime(tm.hour(), 0));
    case Day:
        return midnight(d);
    case Week:
        return midnight(d.addDays(-(d.dayOfWeek() - 1)));
    case TenDays:
        // Day 0 of a year is the last day of the year before, so the first
        // nine days of January belong to a period that starts on 31 December.
        return midnight(QDate(d.year(), 1, 1).addDays(10 * (d.dayOfYear() / 10) - 1));
    case Month:
        return midnight(QDate(d.year(), d.month(), 1));
    case Quarter:
        return midnight(QDate(d.year(), 3 * ((d.month() - 1) / 3) + 1, 1));
    case HalfYear:
        return midnight(QDate(d.year(), 6 * ((d.month() - 1) / 6) + 1, 1));
    case Year:
        return midnight(QDate(d.year(), 1, 1));
    default:
        return QDateTime();
    }
}

QDateTime nextPeriod(int unit, const QDateTime &t)
{
    switch (unit) {
    case Second: return t.addSecs(1);
    case Minute: return t.addSecs(60);
    case Hour: return t.addSecs(3600);
    case Day: return t.addDays(1);
    case Week: return t.addDays(7);
    case TenDays: return t.addDays(10);
    case Month: return t.addMonths(1);
    case Quarter: return t.addMonths(3);
    case HalfYear: return t.addMonths(6);
    case Year: return t.addYears(1);
    default: return t;
    }
}

qint64 unitsBetween(const QDateTime &from, const QDateTime &to, int unit)
{
    const qint64 months = qint64(to.date().year() - from.date().year()) * 12
            + to.date().month() - from.date().month();
    switch (unit) {
    case Second: return from.secsTo(to);
    case Minute: return from.secsTo(to) / 60;
    case Hour: return from.secsTo(to) / 3600;
    case Day: return from.daysTo(to);
    case Week: return from.daysTo(to) / 7;
    case TenDays: return from.daysTo(to) / 10;
    case Month: return months;
    case Quarter: return months / 3;
    case HalfYear: return months / 6;
    case Year: return to.date().year() - from.date().year();
    default: return -1;
    }
}

} // namespace mygc
