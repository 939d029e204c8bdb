#include "dateaxis.h"
#include "timeunit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

using namespace mygc;

namespace {

QDateTime dt(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void sendMove(QWidget *w, const QPoint &pos, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

class TestDateAxis : public QObject
{
    Q_OBJECT
private slots:
    // Each row: the period holding "from" starts at "start", and "to" lies
    // "units" whole units after "from".
    void calendarArithmetic_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("to");
        QTest::addColumn<qint64>("units");
        QTest::newRow("second drops milliseconds") << int(Second) << dt("2017-05-04 10:11:12").addMSecs(345) << dt("2017-05-04 10:11:12") << dt("2017-05-04 10:12:12") << qint64(59);
        QTest::newRow("days count calendar dates") << int(Day) << dt("2017-01-01 23:00:00") << dt("2017-01-01 00:00:00") << dt("2017-01-02 01:00:00") << qint64(1);
        QTest::newRow("week of a sunday starts the monday before, weeks count dates") << int(Week) << dt("2017-01-01 12:00:00") << dt("2016-12-26 00:00:00") << dt("2017-01-08 11:00:00") << qint64(1);
        QTest::newRow("week of a monday starts that day, thirteen days are one week") << int(Week) << dt("2017-01-02 00:00:00") << dt("2017-01-02 00:00:00") << dt("2017-01-15 00:00:00") << qint64(1);
        QTest::newRow("ten days: early january starts on 31 december") << int(TenDays) << dt("2017-01-05 08:00:00") << dt("2016-12-31 00:00:00") << dt("2017-01-25 07:00:00") << qint64(2);
        QTest::newRow("ten days: day of year 10") << int(TenDays) << dt("2017-01-10 08:00:00") << dt("2017-01-10 00:00:00") << dt("2017-01-20 08:00:00") << qint64(1);
        QTest::newRow("month on its last minute, months across a year end") << int(Month) << dt("2016-11-30 23:59:00") << dt("2016-11-01 00:00:00") << dt("2017-02-01 00:00:00") << qint64(3);
        QTest::newRow("quarter at year end, quarters across it") << int(Quarter) << dt("2016-12-31 10:00:00") << dt("2016-10-01 00:00:00") << dt("2017-07-01 00:00:00") << qint64(2);
        QTest::newRow("half year, last day of june") << int(HalfYear) << dt("2017-06-30 10:00:00") << dt("2017-01-01 00:00:00") << dt("2017-07-01 00:00:00") << qint64(0);
        QTest::newRow("half year, first of july") << int(HalfYear) << dt("2017-07-01 10:00:00") << dt("2017-07-01 00:00:00") << dt("2018-06-30 00:00:00") << qint64(1);
        QTest::newRow("years by calendar year") << int(Year) << dt("2016-12-31 00:00:00") << dt("2016-01-01 00:00:00") << dt("2017-01-01 00:00:00") << qint64(1);
        QTest::newRow("unknown unit") << 42 << dt("2016-12-31 00:00:00") << QDateTime() << dt("2017-01-01 00:00:00") << qint64(-1);
    }

    void calendarArithmetic()
    {
        QFETCH(int, unit);
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, to);
        QFETCH(qint64, units);
        QCOMPARE(mygc::periodStart(unit, from), start);
        QCOMPARE(mygc::unitsBetween(from, to, unit), units);
    }

    void roundTripWithinOnePixel_data()
    {
        QTest::addColumn<int>("unit");
        const char *names[] = {"second", "minute", "hour", "day", "week", "ten days", "month", "quarter", "half year", "year"};
        for (int unit = Second; unit <= Year; ++unit)
            QTest::newRow(names[unit]) << unit;
    }

    // Forty units from an odd instant, mapped both ways at every few pixels
    // and seconds; outside the scale there is no x and no date.
    void roundTripWithinOnePixel()
    {
        QFETCH(int, unit);
        DateAxis axis;
        axis.setLevels({unit});
        const QDateTime from = dt("2016-11-17 09:41:23");
        QDateTime to = from;
        for (int i = 0; i < 40; ++i)
            to = nextPeriod(unit, to);
        axis.setRange(from, to);
        QVERIFY(axis.axisWidth() > 0);
        QCOMPARE(axis.xForDate(axis.endDate()), axis.axisWidth());
        const qint64 span = axis.startDate().secsTo(axis.endDate());
        const double secsPerPixel = double(span) / axis.axisWidth();
        // The scale counts whole seconds, so where one second is wider than a
        // pixel the round trip can only land within that second.
        const double pixelTolerance = qMax(1.0, 1.0 / secsPerPixel);
        for (int x = 0; x <= axis.axisWidth(); x += 7)
            QVERIFY2(qAbs(axis.xForDate(axis.dateAt(x)) - x) <= pixelTolerance, qPrintable(QString("x %1").arg(x)));
        for (qint64 s = 0; s <= span; s += qMax<qint64>(1, span / 97)) {
            const QDateTime t = axis.startDate().addSecs(s);
            QVERIFY2(qAbs(axis.dateAt(axis.xForDate(t)).secsTo(t)) <= secsPerPixel + 1, qPrintable(t.toString()));
        }
        QCOMPARE(axis.xForDate(axis.startDate().addSecs(-1)), -1);
        QCOMPARE(axis.xForDate(axis.endDate().addSecs(1)), -1);
        QVERIFY(!axis.dateAt(-1).isValid());
    }

    void extremeRangesStayDrawable_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("to");
        const QDateTime ordinary = dt("2026-03-02 08:00:00");
        const QDateTime first = dt("0001-01-01 00:00:00");
        const QDateTime last = dt("9999-12-31 00:00:00");
        QTest::newRow("days from year 1 to an ordinary date") << int(Day) << first << ordinary;
        QTest::newRow("days from an ordinary date to 9999") << int(Day) << ordinary << last;
        QTest::newRow("minutes from year 1 to 9999") << int(Minute) << first << last;
        QTest::newRow("years across the whole calendar")
            << int(Year) << QDateTime(QDate(-4000000, 1, 1), QTime(0, 0)) << QDateTime(QDate(4000000, 1, 1), QTime(0, 0));
    }

    // Whatever range a caller asks for, the scale stays far inside Qt's widget size limit and every
    // instant, however far outside it, maps to a position on it or to -1.
    void extremeRangesStayDrawable()
    {
        QFETCH(int, unit);
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, to);
        DateAxis axis;
        axis.setLevels({unit});
        axis.setRange(from, to);
        QVERIFY(axis.axisWidth() > 0);
        QVERIFY(axis.axisWidth() < QWIDGETSIZE_MAX / 2);
        QCOMPARE(axis.axisWidth(), axis.columnWidth() * axis.columnCount());
        QCOMPARE(axis.startDate(), periodStart(unit, from));
        const QDateTime probes[] = {from, to, dt("2026-03-02 08:00:00"), dt("0001-01-01 00:00:00"),
                                    dt("9999-12-31 23:59:00"), QDateTime(QDate(200000000, 1, 1), QTime(0, 0)),
                                    QDateTime(QDate(-200000000, 1, 1), QTime(0, 0))};
        for (const QDateTime &t : probes) {
            const int x = axis.xForDate(t);
            QVERIFY2(x == -1 || (x >= 0 && x <= axis.axisWidth()), qPrintable(t.toString()));
        }
        for (int x : {0, 1, axis.axisWidth() / 2, axis.axisWidth()})
            QVERIFY(axis.dateAt(x) >= axis.startDate() && axis.dateAt(x) <= axis.endDate());
    }

    void emptySpanIsCorrectedToOneDay_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<bool>("viaSetStart");
        QTest::addColumn<int>("expectedColumns");
        QTest::newRow("setRange, finish before start in the same day") << int(Day) << false << 1;
        QTest::newRow("setStart past the end") << int(Day) << true << 1;
        QTest::newRow("hour bands over the corrected day") << int(Hour) << false << 24;
    }

    void emptySpanIsCorrectedToOneDay()
    {
        QFETCH(int, unit);
        QFETCH(bool, viaSetStart);
        QFETCH(int, expectedColumns);
        DateAxis axis;
        axis.setLevels({unit});
        if (viaSetStart) {
            axis.setRange(dt("2017-03-01 08:00:00"), dt("2017-03-02 08:00:00"));
            axis.setStart(dt("2017-03-10 08:00:00"));
        } else {
            axis.setRange(dt("2017-03-01 17:00:00"), dt("2017-03-01 15:00:00"));
        }
        QCOMPARE(axis.endDate(), axis.startDate().addDays(1));
        QCOMPARE(axis.columnCount(), expectedColumns);
    }

    void widthSignalComesBeforeColumnSignal()
    {
        DateAxis axis;
        QStringList order;
        connect(&axis, &DateAxis::axisWidthChanged, [&](int o, int n) { order << QString("width %1>%2").arg(o).arg(n); });
        connect(&axis, &DateAxis::columnsChanged, [&](int o, int n) { order << QString("columns %1>%2").arg(o).arg(n); });
        axis.setRange(dt("2017-03-01 08:00:00"), dt("2017-03-03 08:00:00"));
        QCOMPARE(order, (QStringList{"width 25>75", "columns 1>3"}));
        order.clear();
        axis.setRange(dt("2017-03-01 08:00:00"), dt("2017-03-03 08:00:00"));
        axis.setEnd(dt("2017-03-03 09:00:00"));
        QVERIFY2(order.isEmpty(), "same snapped range must not signal");
    }

    // Bands stack, each as high as the lone band; the columns are the lowest band's.
    void levelsStackAndSetHeight()
    {
        DateAxis axis;
        axis.setRange(dt("2017-01-01 00:00:00"), dt("2017-03-01 00:00:00"));
        axis.setLevels({});
        QCOMPARE(axis.levelUnits(), QVector<int>{Day});
        const int band = axis.height();
        QSignalSpy heights(&axis, &DateAxis::heightChanged);
        axis.setLevels({Day, Week, Month});
        QCOMPARE(axis.height(), 3 * band);
        QCOMPARE(heights.takeLast().at(0).toInt(), 3 * band);
        QCOMPARE(axis.columnCount(), 60);
        axis.setLevels({Month});
        QCOMPARE(axis.columnCount(), 3);
    }

    void dragZoomsColumns_data()
    {
        QTest::addColumn<int>("pressX");
        QTest::addColumn<int>("releaseX");
        QTest::addColumn<int>("expectedWidth");
        // Ten day columns of 25 pixels; the boundary at x = 50 closes column 2,
        // which starts at x = 25.
        QTest::newRow("narrower") << 50 << 40 << 15;
        QTest::newRow("wider, from the pixel left of the boundary") << 49 << 85 << 60;
        QTest::newRow("never below 10") << 50 << 27 << 10;
        QTest::newRow("released at the old width") << 50 << 50 << 25;
        QTest::newRow("press off a boundary is ignored") << 37 << 90 << 25;
    }

    void dragZoomsColumns()
    {
        QFETCH(int, pressX);
        QFETCH(int, releaseX);
        QFETCH(int, expectedWidth);
        DateAxis axis;
        axis.setRange(dt("2017-03-01 00:00:00"), dt("2017-03-10 00:00:00"));
        axis.resize(400, axis.height());
        QCOMPARE(axis.axisWidth(), 250);
        QSignalSpy widths(&axis, &DateAxis::axisWidthChanged);
        QSignalSpy columns(&axis, &DateAxis::columnsChanged);
        sendMove(&axis, QPoint(pressX, 14), Qt::NoButton);
        QTest::mousePress(&axis, Qt::LeftButton, Qt::NoModifier, QPoint(pressX, 14));
        sendMove(&axis, QPoint(releaseX, 14), Qt::LeftButton);
        QTest::mouseRelease(&axis, Qt::LeftButton, Qt::NoModifier, QPoint(releaseX, 14));
        QCOMPARE(axis.columnWidth(), expectedWidth);
        QCOMPARE(axis.axisWidth(), expectedWidth * 10);
        QCOMPARE(columns.count(), 0);
        QCOMPARE(widths.count(), expectedWidth == 25 ? 0 : 1);
        if (expectedWidth != 25)
            QCOMPARE(widths.at(0), (QVariantList{250, expectedWidth * 10}));
    }
};

QTEST_MAIN(TestDateAxis)
#include "tst_dateaxis.moc"
