#include "chartarea.h"

#include "dateaxis.h"
#include "ganttchart.h"
#include "linkgeometry.h"
#include "qgcvaxis.h"
#include "taskdrawdelegate.h"
#include "taskitem.h"
#include "taskrelationship.h"

#include <QDateTime>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace mygc {

namespace {

const QColor linkColor(38, 124, 211, 200);
const QColor selectionColor(38, 124, 211, 50);

} // namespace

ChartArea::ChartArea(GanttChart *chart, QWidget *parent)
    : QWidget(parent)
    , m_chart(chart)
{
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartArea::setCurrentRow(int row)
{
    if (row >= 0 && row < m_rows.size()) {
        if (row == m_currentRow)
            return;
        m_currentRow = row;
        update();
        emit selectionChanged(row);
        return;
    }
    if (m_currentRow != -1) {
        m_currentRow = -1;
        update();
        emit selectionChanged(-1);
    }
}

ChartRow ChartArea::recordFor(const QSharedPointer<TaskItem> &item)
{
    ChartRow record;
    record.item = item;
    const QDateTime start = item->start();
    const QDateTime finish = item->finish();
    if (start.isValid() && finish.isValid()) {
        record.startMSecs = DateAxis::wallMSecs(start);
        record.finishMSecs = DateAxis::wallMSecs(finish);
        record.hasDates = record.finishMSecs >= record.startMSecs;
    }
    return record;
}

const ChartRow &ChartArea::chartRow(int row) const
{
    ChartRow &record = m_rows[row];
    if (!record.item) {
        record = recordFor(m_chart->createItem(row));
        record.row = row;
        if (record.hasDates)
            placeRow(record);
    }
    return record;
}

void ChartArea::resetRows(int count)
{
    m_rows.clear();
    m_rows.resize(count);
    m_currentRow = -1;
    m_rangeSet = false;
    m_hasReference = false;
    if (count > 0 && m_chart->dateAxis()->isScaleHidden())
        m_chart->dateAxis()->setScaleHidden(false);
}

void ChartArea::addTask(const QSharedPointer<TaskItem> &item)
{
    DateAxis *axis = m_chart->dateAxis();
    if (axis->isScaleHidden())
        axis->setScaleHidden(false);

    ChartRow record = recordFor(item);
    const QDateTime start = item->start();
    const QDateTime finish = item->finish();
    record.row = m_rows.size();
    // A first row without dates leaves the axis its span for the later rows
    // to extend.
    if (m_rows.isEmpty()) {
        m_rangeSet = !record.hasDates;
        m_hasReference = false;
    }
    // A batch's scale is fitted to all its rows at once, when the median of
    // their starts is known.
    if (record.hasDates && !m_batch) {
        if (!m_hasReference) {
            m_reference = record.startMSecs;
            m_hasReference = true;
        }
        const bool startIn = isPlausible(record.startMSecs);
        const bool finishIn = isPlausible(record.finishMSecs);
        if (startIn || finishIn) {
            widenAxis(startIn ? record.startMSecs : record.finishMSecs, startIn ? start : finish,
                      finishIn ? record.finishMSecs : record.startMSecs, finishIn ? finish : start);
        }
        placeRow(record);
    }
    m_rows.append(record);
    if (!m_batch)
        applySize();
}

bool ChartArea::isPlausible(qint64 wallMSecs, qint64 reference)
{
    const qint64 fiftyYears = qint64(50 * 365.2425 * 86400) * 1000;
    return wallMSecs >= reference - fiftyYears && wallMSecs <= reference + fiftyYears;
}

void ChartArea::widenAxis(qint64 s, const QDateTime &from, qint64 f, const QDateTime &to)
{
    DateAxis *axis = m_chart->dateAxis();
    if (!m_rangeSet) {
        axis->setRange(from, to);
        m_rangeSet = true;
    } else if (s < axis->startWallMSecs()) {
        if (axis->endWallMSecs() < f)
            axis->setRange(from, to);
        else
            axis->setStart(from);
    } else if (f >= axis->endWallMSecs()) {
        axis->setEnd(to);
    }
}

void ChartArea::fitAxisToRows()
{
    std::vector<qint64> starts;
    starts.reserve(std::size_t(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const ChartRow &record = chartRow(r);
        if (record.hasDates)
            starts.push_back(record.startMSecs);
    }
    if (starts.empty())
        return;
    const auto middle = starts.begin() + std::ptrdiff_t(starts.size() / 2);
    std::nth_element(starts.begin(), middle, starts.end());
    const qint64 reference = *middle;

    // The earliest and latest plausible dates.
    bool found = false;
    qint64 first = 0;
    qint64 last = 0;
    for (const ChartRow &record : qAsConst(m_rows)) {
        if (!record.hasDates)
            continue;
        for (const qint64 at : {record.startMSecs, record.finishMSecs}) {
            if (!isPlausible(at, reference))
                continue;
            first = found ? std::min(first, at) : at;
            last = found ? std::max(last, at) : at;
            found = true;
        }
    }
    m_reference = reference;
    m_hasReference = true;
    if (found)
        fitAxisToSpan(reference, first, last);
}

void ChartArea::fitAxisToSpan(qint64 reference, qint64 first, qint64 last)
{
    m_reference = reference;
    m_hasReference = true;
    if (m_rows.isEmpty())
        return;
    m_rangeSet = !chartRow(0).hasDates;
    widenAxis(first, DateAxis::fromWallMSecs(first), last, DateAxis::fromWallMSecs(last));
    // Rows read before the scale moved are placed again.
    for (ChartRow &record : m_rows) {
        if (record.item && record.hasDates)
            placeRow(record);
    }
}

void ChartArea::placeRow(ChartRow &record) const
{
    const DateAxis *axis = m_chart->dateAxis();
    const qint64 s = qBound(axis->startWallMSecs(), record.startMSecs, axis->endWallMSecs());
    const qint64 f = qBound(axis->startWallMSecs(), record.finishMSecs, axis->endWallMSecs());
    record.x = std::max(0, axis->xForWallMSecs(s) - m_chart->drawDelegate()->leftExtent());
    record.width = axis->xForWallMSecs(f) + m_chart->drawDelegate()->rightExtent() - record.x;
}

void ChartArea::clear()
{
    m_rows.clear();
    m_currentRow = -1;
    m_rangeSet = false;
    setFixedSize(0, 0);
}

void ChartArea::beginBatch(int expectedRows)
{
    m_batch = true;
    m_rows.reserve(expectedRows);
}

void ChartArea::endBatch()
{
    m_batch = false;
    applySize();
    update();
}

void ChartArea::setBottomSpace(int space)
{
    space = std::max(0, space);
    if (space == m_bottomSpace)
        return;
    m_bottomSpace = space;
    if (!m_rows.isEmpty() && !m_batch)
        applySize();
}

void ChartArea::applySize()
{
    // Without rows the scale is hidden; a width left from the last project
    // would still scroll over nothing.
    if (m_rows.isEmpty()) {
        setFixedSize(0, 0);
        return;
    }
    const int rowsHeight = m_chart->verticalAxis()->totalHeight();
    setFixedSize(m_chart->dateAxis()->axisWidth(), rowsHeight > 0 ? rowsHeight + m_bottomSpace : 0);
}

void ChartArea::dateAxisWidthChanged(int, int newWidth)
{
    if (!m_batch && !m_rows.isEmpty())
        setFixedWidth(newWidth);
}

void ChartArea::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    // The rows show at once; a large project's links follow a moment later.
    const bool links = m_chart->relationshipsReady() || !m_chart->deferRelationships();
    if (!links)
        m_chart->scheduleRelationships();
    paintRows(painter, event->rect(), true, nullptr, links);
}

void ChartArea::paintRows(QPainter &painter, const QRect &exposed, bool withCurrentRow, const DateAxis *axis)
{
    paintRows(painter, exposed, withCurrentRow, axis, true);
}

void ChartArea::paintRows(QPainter &painter, const QRect &exposed, bool withCurrentRow, const DateAxis *axis,
                          bool withLinks)
{
    if (!axis)
        axis = m_chart->dateAxis();
    const int rowWidth = axis->axisWidth();

    const QGCVAxis *vaxis = m_chart->verticalAxis();
    const int count = m_rows.size();
    const int first = vaxis->rowAt(exposed.top());
    if (first < 0 || count == 0)
        return;
    int last = vaxis->rowAt(exposed.bottom());
    // An area taller than its rows exposes space below the last row.
    if (last < 0)
        last = count - 1;
    const int lastDrawn = std::min(last + 1, count - 1);

    if (withLinks)
        paintLinks(painter, exposed, first, last, axis);

    const TaskDrawDelegate *delegate = m_chart->drawDelegate();
    for (int r = first; r <= lastDrawn; ++r) {
        const ChartRow &record = chartRow(r);
        if (!record.hasDates)
            continue;
        const QRect rowRect(0, vaxis->rowTop(r), rowWidth, vaxis->rowHeight(r));
        delegate->drawTask(*record.item, &painter, axis, rowRect);
    }

    if (withCurrentRow && m_currentRow >= first && m_currentRow <= lastDrawn) {
        painter.setPen(selectionColor);
        painter.setBrush(selectionColor);
        painter.drawRect(QRect(0, vaxis->rowTop(m_currentRow), rowWidth, vaxis->rowHeight(m_currentRow)));
    }
}

void ChartArea::paintLinks(QPainter &painter, const QRect &exposed, int first, int last, const DateAxis *axis)
{
    const QVector<int> links = m_chart->linksAcrossRows(first, last + 1);
    if (links.isEmpty())
        return;
    const auto &relationships = m_chart->relationships();
    const QGCVAxis *vaxis = m_chart->verticalAxis();

    painter.setPen(linkColor);
    painter.setBrush(linkColor);
    const QRect clip = exposed.adjusted(-2, -2, 2, 2);
    QVector<QLine> segments;
    for (int i : links) {
        const TaskRelationship &link = *relationships.at(i);
        const TaskItem &pred = *chartRow(link.from()).item;
        const TaskItem &succ = *chartRow(link.to()).item;
        const QDateTime predAnchor = predecessorAnchorIsFinish(link.type()) ? pred.finish() : pred.start();
        const QDateTime succAnchor = successorAnchorIsFinish(link.type()) ? succ.finish() : succ.start();
        const int a = axis->xForDate(predAnchor);
        const int b = axis->xForDate(succAnchor);
        const int yF = int(vaxis->rowTop(link.from()) + vaxis->rowHeight(link.from()) * 0.5);
        const int yT = int(vaxis->rowTop(link.to()) + vaxis->rowHeight(link.to()) * 0.5);
        const LinkPath path = linkPath(link.type(), a, b, yF, yT, exposed, link.to() <= last + 1);
        // Long links reach far outside the exposed rows; handing the painter
        // only what can show keeps a repaint independent of link length.
        for (const QLine &line : path.lines) {
            if (QRect(line.p1(), line.p2()).normalized().intersects(clip))
                segments.append(line);
        }
        for (const LinkArc &arc : path.arcs) {
            if (arc.box.intersects(clip))
                painter.drawArc(arc.box, arc.startDegrees * 16, arc.spanDegrees * 16);
        }
        if (!path.head.isEmpty() && path.head.boundingRect().intersects(clip))
            painter.drawPolygon(path.head);
    }
    painter.drawLines(segments);
}

void ChartArea::mousePressEvent(QMouseEvent *event)
{
    m_chart->flushPendingRebuild();
    // Only the blank space below the last row is outside every row; a click
    // there must not take the selection away from the tree's current row.
    const int row = m_chart->verticalAxis()->rowAt(event->pos().y());
    if (row >= 0)
        setCurrentRow(row);
}

void ChartArea::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_chart->flushPendingRebuild();
    const int before = m_currentRow;
    if (event->key() == Qt::Key_Up && m_currentRow >= 1)
        --m_currentRow;
    else if (event->key() == Qt::Key_Down && m_currentRow < m_rows.size() - 1)
        ++m_currentRow;
    if (m_currentRow != before) {
        update();
        emit selectionChanged(m_currentRow);
    }
}

} // namespace mygc
