#include "timescalelabel.h"
#include "timeunit.h"

#include <QFontMetrics>
#include <QtTest>

using namespace mygc;

class tst_TimeScaleLabel : public QObject
{
    Q_OBJECT
private slots:
    void shouldOfferShorterForms_data();
    void shouldOfferShorterForms();
    void shouldChooseLongestFormThatFits_data();
    void shouldChooseLongestFormThatFits();
};

void tst_TimeScaleLabel::shouldOfferShorterForms_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QDate>("periodStart");
    QTest::addColumn<bool>("yearShown");
    QTest::addColumn<QStringList>("forms");
    QTest::newRow("ISO week of a Monday in the old year")
        << int(Week) << QDate(2025, 12, 29) << false << QStringList{"W1", "1"};
    QTest::newRow("month under a year band") << int(Month) << QDate(2026, 1, 1) << true << QStringList{"January", "Jan", "J"};
    QTest::newRow("month without a year band names its year")
        << int(Month) << QDate(2026, 3, 1) << false << QStringList{"March 2026", "Mar 2026", "March", "Mar", "M"};
    QTest::newRow("quarter without a year band names its year")
        << int(Quarter) << QDate(2026, 10, 1) << false << QStringList{"Q4 2026", "Q4"};
    QTest::newRow("quarter under a year band") << int(Quarter) << QDate(2026, 4, 1) << true << QStringList{"Q2"};
    QTest::newRow("year") << int(Year) << QDate(2026, 1, 1) << false << QStringList{"2026", "26"};
}

void tst_TimeScaleLabel::shouldOfferShorterForms()
{
    QFETCH(int, unit);
    QFETCH(QDate, periodStart);
    QFETCH(bool, yearShown);
    QFETCH(QStringList, forms);
    QCOMPARE(labelForms(unit, periodStart, yearShown), forms);
}

void tst_TimeScaleLabel::shouldChooseLongestFormThatFits_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<bool>("yearShown");
    QTest::newRow("day") << int(Day) << false;
    QTest::newRow("week") << int(Week) << false;
    QTest::newRow("month") << int(Month) << false;
    QTest::newRow("month under a year band") << int(Month) << true;
    QTest::newRow("quarter") << int(Quarter) << false;
    QTest::newRow("quarter under a year band") << int(Quarter) << true;
    QTest::newRow("year") << int(Year) << false;
}

// Every period of a year, in cells 10 to 200 pixels wide: the band's form
// fits each of them, and no longer form would.
void tst_TimeScaleLabel::shouldChooseLongestFormThatFits()
{
    QFETCH(int, unit);
    QFETCH(bool, yearShown);
    const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans"), 9));
    QVector<QStringList> periods;
    for (QDate d(2026, 1, 1); d.year() == 2026; d = d.addDays(1)) {
        const QStringList forms = labelForms(unit, periodStart(unit, QDateTime(d, QTime(0, 0))).date(), yearShown);
        if (periods.isEmpty() || periods.constLast() != forms)
            periods << forms;
    }
    for (int width = 10; width <= 200; ++width) {
        const int form = bandForm(unit, yearShown, 2026, width, metrics);
        bool longerFitsAll = form > 0;
        for (const QStringList &forms : qAsConst(periods)) {
            const QString label = fittingLabel(forms, width, metrics, form);
            QVERIFY2(label.isEmpty() || metrics.horizontalAdvance(label) <= width, qPrintable(label));
            QVERIFY2(form >= forms.size() || label == forms.at(form), qPrintable(label));
            longerFitsAll = longerFitsAll && metrics.horizontalAdvance(forms.at(form - 1)) <= width;
        }
        QVERIFY2(!longerFitsAll, qPrintable(QString::number(width)));
    }
}

QTEST_MAIN(tst_TimeScaleLabel)
#include "tst_timescalelabel.moc"
