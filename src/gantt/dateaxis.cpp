#include "dateaxis.h"

#include "dateaxislevel.h"
#include "timescalelabel.h"
#include "timeunit.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace mygc {

namespace {

// Room kept clear on either side of a label, the cell's separator lines
// included.
constexpr int LabelMargin = 2;

// Seconds in the shortest period of a unit: February for a month, the
// first quarter of a common year, and so on.
qint64 shortestPeriodSecs(int unit)
{
    const qint64 day = 86400;
    switch (unit) {
    case Second: return 1;
    case Minute: return 60;
    case Hour: return 3600;
    case Day: return day;
    case Week: return 7 * day;
    case TenDays: return 10 * day;
    case Month: return 28 * day;
    case Quarter: return 90 * day;
    case HalfYear: return 181 * day;
    default: return 365 * day;
    }
}

QDateTime snappedStart(int unit, const QDateTime &from)
{
    return periodStart(unit, from);
}

QDateTime snappedEnd(int unit, const QDateTime &to)
{
    return nextPeriod(unit, periodStart(unit, to));
}

// The widest scale the axis makes: far inside Qt's widget size limit of
// 2^24 - 1 and the painter's fixed-point coordinates, yet room for a century
// of days at over 200 pixels each.
const int kMaxAxisWidth = 8000000;

// Julian days beyond this are clamped: their wall-clock milliseconds, and the
// difference of two of them, must stay inside 64 bits for any QDateTime.
const qint64 kMaxJulianDay = qint64(1) << 36;

// a * b / c for a, b >= 0 and c > 0, without overflowing the product: the
// axis spans at most a few million pixels, but the instants mapped may be
// any QDateTime.
qint64 scaled(qint64 a, qint64 b, qint64 c)
{
#ifdef __SIZEOF_INT128__
    return qint64(__int128(a) * b / c);
#else
    return qint64((long double)a * b / c);
#endif
}

// `t` moved `count` steps of `unit` forward in one go.
QDateTime addUnits(int unit, const QDateTime &t, qint64 count)
{
    switch (unit) {
    case Second: return t.addSecs(count);
    case Minute: return t.addSecs(count * 60);
    case Hour: return t.addSecs(count * 3600);
    case Day: return t.addDays(count);
    case Week: return t.addDays(count * 7);
    case TenDays: return t.addDays(count * 10);
    case Month: return t.addMonths(int(count));
    case Quarter: return t.addMonths(int(count * 3));
    case HalfYear: return t.addMonths(int(count * 6));
    case Year: return t.addYears(int(count));
    default: return t;
    }
}

} // namespace

DateAxis::DateAxis(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    const QDateTime today(QDate::currentDate(), QTime(0, 0));
    setStartEnd(today, today.addDays(1));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addLevel(Day);
}

DateAxis::~DateAxis() = default;

qint64 DateAxis::wallMSecs(const QDateTime &t)
{
    const QDateTime local = t.timeSpec() == Qt::LocalTime ? t : t.toLocalTime();
    const qint64 day = qBound(-kMaxJulianDay, local.date().toJulianDay(), kMaxJulianDay);
    return day * 86400000 + local.time().msecsSinceStartOfDay();
}

QDateTime DateAxis::fromWallMSecs(qint64 msecs)
{
    const qint64 day = msecs >= 0 ? msecs / 86400000 : -((-msecs + 86399999) / 86400000);
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(int(msecs - day * 86400000)));
}

QDateTime DateAxis::dateAt(int x) const
{
    if (x < 0)
        return QDateTime();
    // A zero-width axis has no scale to map through; its start is the only
    // instant it can name.
    if (m_axisWidth <= 0)
        return m_start;
    const qint64 span = (m_endMSecs - m_startMSecs) / 1000;
    return fromWallMSecs(m_startMSecs + scaled(span, x, m_axisWidth) * 1000);
}

int DateAxis::xForDate(const QDateTime &t) const
{
    if (!t.isValid())
        return -1;
    return xForWallMSecs(wallMSecs(t));
}

int DateAxis::xForWallMSecs(qint64 msecs) const
{
    if (msecs < m_startMSecs || msecs > m_endMSecs || m_startMSecs == m_endMSecs)
        return -1;
    const qint64 span = (m_endMSecs - m_startMSecs) / 1000;
    if (span <= 0)
        return -1;
    return int(scaled((msecs - m_startMSecs) / 1000, m_axisWidth, span));
}

QDateTime DateAxis::startDate() const { return m_start; }
QDateTime DateAxis::endDate() const { return m_end; }
int DateAxis::columnWidth() const { return m_columnWidth; }
int DateAxis::columnCount() const { return m_columnCount; }
int DateAxis::axisWidth() const { return m_axisWidth; }

void DateAxis::setColumnWidth(int width)
{
    const int widest = std::max(1, kMaxAxisWidth / std::max(1, m_columnCount));
    width = std::clamp(width, 1, widest);
    if (width == m_columnWidth)
        return;
    m_columnWidth = width;
    updateColumns();
    update();
}

int DateAxis::bottomUnit() const
{
    return m_levels.isEmpty() ? int(Day) : m_levels.first()->unit();
}

int DateAxis::totalHeight() const
{
    int h = 0;
    for (const auto &level : m_levels)
        h += level->height();
    return h;
}

int DateAxis::scrollOffset() const
{
    if (auto *area = qobject_cast<QScrollArea *>(parentWidget()))
        return area->horizontalScrollBar()->value();
    return 0;
}

void DateAxis::addLevel(int unit)
{
    m_levels.append(QSharedPointer<DateAxisLevel>::create(unit, this));
    const int h = totalHeight();
    setFixedHeight(h);
    if (m_levels.size() == 1)
        updateColumns();
    emit heightChanged(h);
}

void DateAxis::setLevels(const QVector<int> &units)
{
    m_levels.clear();
    for (int unit : units)
        m_levels.append(QSharedPointer<DateAxisLevel>::create(unit, this));
    if (m_levels.isEmpty())
        m_levels.append(QSharedPointer<DateAxisLevel>::create(Day, this));
    const int h = totalHeight();
    setFixedHeight(h);

    // Before any range was requested there is nothing to re-snap from; keep
    // the shown span so the axis never loses its dates.
    const QDateTime from = m_requestedStart.isValid() ? m_requestedStart : m_start;
    const QDateTime to = m_requestedEnd.isValid() ? m_requestedEnd : m_end.addMSecs(-1);
    const QDateTime s = snappedStart(bottomUnit(), from);
    const QDateTime e = snappedEnd(bottomUnit(), to);
    if (s.isValid() && e.isValid()) {
        setStartEnd(s, e);
        correctEmptySpan();
    }
    updateColumns();
    update();
    emit heightChanged(h);
}

QVector<int> DateAxis::levelUnits() const
{
    QVector<int> units;
    units.reserve(m_levels.size());
    for (const auto &level : m_levels)
        units.append(level->unit());
    return units;
}

void DateAxis::setRange(const QDateTime &from, const QDateTime &to)
{
    if (from == m_requestedStart && to == m_requestedEnd)
        return;
    m_requestedStart = from;
    m_requestedEnd = to;
    const QDateTime s = snappedStart(bottomUnit(), from);
    const QDateTime e = snappedEnd(bottomUnit(), to);
    if (!s.isValid() || !e.isValid())
        return;
    if (s != m_start || e != m_end) {
        setStartEnd(s, e);
        correctEmptySpan();
        updateColumns();
        update();
    }
}

void DateAxis::setStart(const QDateTime &from)
{
    if (from == m_requestedStart)
        return;
    m_requestedStart = from;
    const QDateTime s = snappedStart(bottomUnit(), from);
    if (s.isValid() && s != m_start) {
        setStartEnd(s, m_end);
        correctEmptySpan();
        updateColumns();
        update();
    }
}

void DateAxis::setEnd(const QDateTime &to)
{
    if (to == m_requestedEnd)
        return;
    m_requestedEnd = to;
    const QDateTime e = snappedEnd(bottomUnit(), to);
    if (e.isValid() && e != m_end) {
        setStartEnd(m_start, e);
        if (m_startMSecs < m_endMSecs) {
            updateColumns();
            update();
        }
    }
}

void DateAxis::setScaleHidden(bool hidden)
{
    m_scaleHidden = hidden;
    update();
}

void DateAxis::setStartEnd(const QDateTime &start, const QDateTime &end)
{
    m_start = start;
    m_end = end;
    m_startMSecs = wallMSecs(start);
    m_endMSecs = wallMSecs(end);
}

void DateAxis::correctEmptySpan()
{
    if (!(m_startMSecs < m_endMSecs))
        setStartEnd(m_start, m_start.addDays(1));
}

void DateAxis::updateColumns()
{
    const int oldColumns = m_columnCount;
    const int oldWidth = m_axisWidth;
    qint64 columns = unitsBetween(m_start, m_end, bottomUnit());
    const qint64 maxColumns = kMaxAxisWidth / qMax(1, m_columnWidth);
    if (columns > maxColumns) {
        // A range this wide in this unit has no drawable scale; it is cut at
        // its end rather than overflow the width (and every pixel after it).
        setStartEnd(m_start, periodStart(bottomUnit(), addUnits(bottomUnit(), m_start, maxColumns)));
        columns = unitsBetween(m_start, m_end, bottomUnit());
    }
    m_columnCount = int(qBound<qint64>(-1, columns, maxColumns));
    m_axisWidth = m_columnWidth * m_columnCount;
    if (m_axisWidth != oldWidth)
        emit axisWidthChanged(oldWidth, m_axisWidth);
    if (m_columnCount != oldColumns)
        emit columnsChanged(oldColumns, m_columnCount);
}

bool DateAxis::isColumnBoundary(int x, int y) const
{
    if (m_levels.isEmpty() || m_columnWidth <= 0)
        return false;
    const int h0 = m_levels.first()->height();
    if (y < height() - h0 || y >= height() || x < 2)
        return false;
    const int m = (scrollOffset() + x) % m_columnWidth;
    return m < 2 || m >= m_columnWidth - 1;
}

void DateAxis::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintScale(painter, event->rect(), scrollOffset(), width());
    if (m_dragging && !m_levels.isEmpty()) {
        const int h0 = m_levels.first()->height();
        painter.setPen(QColor(200, 200, 255));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_dragOriginX, height() - h0, m_dragCurrentX - m_dragOriginX, h0 - 1);
    }
}

void DateAxis::paintScale(QPainter &painter, const QRect &exposed, int offset, int shownWidth) const
{
    const QPalette pal = QApplication::palette();
    painter.fillRect(exposed, pal.color(QPalette::Window));

    const QDateTime leftInstant = dateAt(offset + exposed.left());
    const QDateTime rightInstant = dateAt(offset + exposed.right());
    if (m_scaleHidden || !leftInstant.isValid() || !rightInstant.isValid())
        return;

    const QFontMetrics metrics = painter.fontMetrics();
    const bool yearShown = levelUnits().contains(Year);
    int y = height();
    for (const auto &level : m_levels) {
        const int h = level->height();
        const int top = y - h;
        const int bottom = y - 1;
        y = top;
        if (bottom < exposed.top() || top > exposed.bottom())
            continue;
        const int unit = level->unit();
        const QDateTime first = periodStart(unit, leftInstant);
        const QDateTime last = nextPeriod(unit, periodStart(unit, rightInstant));
        // A band finer than a pixel per cell has nothing legible to show and
        // would cost one label per instant.
        if (!first.isValid() || unitsBetween(first, last, unit) > exposed.width() + 2)
            continue;

        // One form for the whole band, chosen for its narrowest cell, so that
        // months do not read "Jun", "J", "Jul" side by side; only the cells
        // cut by the view's edges fall back to shorter forms.
        const qint64 spanSecs = std::max<qint64>(1, (m_endMSecs - m_startMSecs) / 1000);
        const int narrowest = int(std::min<qint64>(shortestPeriodSecs(unit) * m_axisWidth / spanSecs, 1 << 20));
        const int form = bandForm(unit, yearShown, m_start.date().year(), narrowest - 2 * LabelMargin, metrics);

        QVector<QLine> dark;
        QVector<QLine> light;
        painter.setPen(pal.color(QPalette::WindowText));
        // Periods past the end have no place on the scale; drawn with the -1
        // that xForDate() gives them they would pile up over the first cells.
        for (QDateTime p = first; p < last && p < m_end;) {
            const QDateTime next = nextPeriod(unit, p);
            const int x1 = xForDate(p);
            // A period that runs past the end is cut at the end of the scale;
            // -1 there would fold its label back over the earlier cells.
            const int x2 = next > m_end ? m_axisWidth : xForDate(next);
            // A cell wider than the view is labelled in the part that shows,
            // so a long period keeps its name on screen while it scrolls.
            const int left = std::max(x1 - offset, 0) + LabelMargin;
            const int right = std::min(x2 - offset, shownWidth) - LabelMargin;
            const QString label = fittingLabel(labelForms(unit, p.date(), yearShown), right - left, metrics, form);
            if (!label.isEmpty())
                painter.drawText(QRect(left, top, right - left, h), Qt::AlignCenter, label);
            dark.append(QLine(x1 - offset, bottom, x1 - offset, top));
            light.append(QLine(x1 - offset + 1, bottom, x1 - offset + 1, top));
            p = next;
        }
        if (!dark.isEmpty()) {
            painter.setPen(pal.color(QPalette::Midlight));
            painter.drawLines(dark);
            painter.setPen(pal.color(QPalette::Light));
            painter.drawLines(light);
        }
    }
}

void DateAxis::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        m_dragCurrentX = event->pos().x();
        update();
        return;
    }
    if (isColumnBoundary(event->pos().x(), event->pos().y())) {
        if (cursor().shape() != Qt::SizeHorCursor)
            setCursor(Qt::SizeHorCursor);
    } else if (cursor().shape() != Qt::ArrowCursor) {
        setCursor(Qt::ArrowCursor);
    }
}

void DateAxis::mousePressEvent(QMouseEvent *event)
{
    const int x = event->pos().x();
    if (!isColumnBoundary(x, event->pos().y()))
        return;
    const int offset = scrollOffset();
    m_dragging = true;
    const int c = (x + 1 + offset) / m_columnWidth;
    m_dragCurrentX = x;
    m_dragOriginX = std::max(0, m_columnWidth * (c - 1)) - offset;
    update();
}

void DateAxis::mouseReleaseEvent(QMouseEvent *)
{
    if (!m_dragging)
        return;
    // Zooming in stops where the scale would grow past its widest.
    const int widest = std::max(10, kMaxAxisWidth / std::max(1, m_columnCount));
    const int w = std::min(widest, std::max(10, m_dragCurrentX - m_dragOriginX));
    m_dragging = false;
    if (w != m_columnWidth) {
        m_columnWidth = w;
        updateColumns();
    }
    m_dragOriginX = 0;
    m_dragCurrentX = 0;
    update();
}

} // namespace mygc
