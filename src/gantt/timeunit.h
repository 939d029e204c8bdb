#pragma once

#include <QDateTime>

namespace mygc {

// Integer codes shared by the date axis bands and the Time menu.
enum TimeUnit {
    Second = 0,
    Minute = 1,
    Hour = 2,
    Day = 3,
    Week = 4,
    TenDays = 5,
    Month = 6,
    Quarter = 7,
    HalfYear = 8,
    Year = 9
};

// Start of the period of `unit` that contains `t`; invalid for an unknown unit.
QDateTime periodStart(int unit, const QDateTime &t);
// `t` moved one step of `unit` forward; unchanged for an unknown unit.
QDateTime nextPeriod(int unit, const QDateTime &t);
// Whole units of `unit` from `from` to `to`, truncated toward zero; -1 for an unknown unit.
qint64 unitsBetween(const QDateTime &from, const QDateTime &to, int unit);

} // namespace mygc
