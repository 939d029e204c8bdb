#include "timescalelabel.h"

#include "timeunit.h"

#include <QFontMetrics>
#include <QLocale>
#include <QVector>

#include <algorithm>

namespace mygc {

namespace {

// Periods whose labels include the widest a band of `unit` can show: every
// day number, week number, month and quarter.
QVector<QDate> samplePeriods(int unit, int year)
{
    QVector<QDate> periods;
    const QDate january(year, 1, 1);
    switch (unit) {
    case Day:
        for (int day = 1; day <= 31; ++day)
            periods << QDate(year, 1, day);
        break;
    case Week: {
        const QDate monday = january.addDays(1 - january.dayOfWeek());
        for (int week = 0; week < 54; ++week)
            periods << monday.addDays(7 * week);
        break;
    }
    case Month:
        for (int month = 1; month <= 12; ++month)
            periods << QDate(year, month, 1);
        break;
    case Quarter:
        for (int month = 1; month <= 12; month += 3)
            periods << QDate(year, month, 1);
        break;
    default:
        periods << january;
        break;
    }
    return periods;
}

} // namespace

QStringList labelForms(int unit, const QDate &periodStart, bool yearShown)
{
    // The C locale, as everywhere else on the scale: a month name must not
    // change with the machine the chart is printed on.
    const QLocale c = QLocale::c();
    const QString year = QString::number(periodStart.year());
    switch (unit) {
    case Day:
        return {periodStart.toString(QStringLiteral("dd"))};
    case Week: {
        const QString week = QString::number(periodStart.weekNumber());
        return {QLatin1Char('W') + week, week};
    }
    case Month: {
        // The C locale's narrow month name is the month's number.
        const QString shortName = c.monthName(periodStart.month(), QLocale::ShortFormat);
        const QString longName = c.monthName(periodStart.month(), QLocale::LongFormat);
        // Above a Day or Week band alone, the month is the only place the year can be read.
        if (!yearShown)
            return {longName + QLatin1Char(' ') + year, shortName + QLatin1Char(' ') + year, longName, shortName,
                    shortName.left(1)};
        return {longName, shortName, shortName.left(1)};
    }
    case Quarter: {
        const QString quarter = QStringLiteral("Q%1").arg((periodStart.month() - 1) / 3 + 1);
        if (yearShown)
            return {quarter};
        return {quarter + QLatin1Char(' ') + year, quarter};
    }
    case Year:
        return {year, periodStart.toString(QStringLiteral("yy"))};
    default:
        return {periodStart.toString(QStringLiteral("dd.MM.yyyy"))};
    }
}

int bandForm(int unit, bool yearShown, int year, int width, const QFontMetrics &metrics)
{
    QVector<QStringList> labels;
    for (const QDate &period : samplePeriods(unit, year))
        labels << labelForms(unit, period, yearShown);
    const int forms = labels.constFirst().size();
    for (int form = 0; form < forms; ++form) {
        bool fitsAll = true;
        for (const QStringList &label : qAsConst(labels))
            fitsAll = fitsAll && metrics.horizontalAdvance(label.at(form)) <= width;
        if (fitsAll)
            return form;
    }
    return forms;
}

QString fittingLabel(const QStringList &forms, int width, const QFontMetrics &metrics, int first)
{
    for (int form = std::max(first, 0); form < forms.size(); ++form) {
        if (metrics.horizontalAdvance(forms.at(form)) <= width)
            return forms.at(form);
    }
    return QString();
}

} // namespace mygc
