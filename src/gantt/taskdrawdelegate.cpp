#include "taskdrawdelegate.h"

#include "barshapes.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "taskitem.h"

#include <QPainter>

#include <algorithm>

namespace mygc {

TaskDrawDelegate::TaskDrawDelegate(GanttChart *chart)
    : m_chart(chart)
{
}

TaskDrawDelegate::~TaskDrawDelegate() = default;

int TaskDrawDelegate::leftExtent() const { return 0; }
int TaskDrawDelegate::rightExtent() const { return 0; }

void TaskDrawDelegate::drawShape(QPainter *painter, const QRect &rect, const QString &name, int size)
{
    mygc::drawShape(painter, rect, name, size);
}

void TaskDrawDelegate::drawBar(const TaskItem &, QPainter *painter, const DateAxis *axis,
                               const QRect &rowRect, int styleIndex, const QDateTime &from,
                               const QDateTime &to) const
{
    if (!m_chart || !axis || !from.isValid() || !to.isValid())
        return;
    const QList<PdGanttViewBarStyle> &styles = m_chart->barStylesRef();
    if (styleIndex < 0 || styleIndex >= styles.size())
        return;
    const PdGanttViewBarStyle &style = styles.at(styleIndex);
    if (!style.visible)
        return;

    // Baseline and actual dates do not widen the axis, so they may fall
    // outside it; such bars are cut at the chart's edges instead of being
    // drawn backwards from the -1 that the axis answers there.
    const qint64 f = DateAxis::wallMSecs(from);
    const qint64 t = DateAxis::wallMSecs(to);
    if (t < axis->startWallMSecs() || f > axis->endWallMSecs())
        return;
    const int x1 = axis->xForWallMSecs(std::max(f, axis->startWallMSecs()));
    const int x2 = axis->xForWallMSecs(std::min(t, axis->endWallMSecs()));
    const int y = rowRect.top() + style.bodyShapeOffset - 1;

    painter->setPen(style.bodyColor);
    painter->setBrush(style.bodyColor);
    painter->drawRect(x1, y, x2 - x1, style.bodyShapeHeight);

    if (style.startPointColor.isValid()) {
        painter->setPen(style.startPointColor);
        painter->setBrush(style.startPointColor);
        drawShape(painter, QRect(x1 - 5, y, ShapeSize, ShapeSize), style.startPointShape, ShapeSize);
    }
    if (style.endPointColor.isValid()) {
        painter->setPen(style.endPointColor);
        painter->setBrush(style.endPointColor);
        drawShape(painter, QRect(x2 - 5, y, ShapeSize, ShapeSize), style.endPointShape, ShapeSize);
    }
}

void TaskDrawDelegate::drawMilestone(const TaskItem &item, QPainter *painter, const DateAxis *axis,
                                     const QRect &rowRect) const
{
    if (!m_chart || !axis)
        return;
    const QList<PdGanttViewBarStyle> &styles = m_chart->barStylesRef();
    const int index = m_chart->styleIndexForRole(GanttChart::MilestoneStyle);
    if (index < 0 || index >= styles.size())
        return;
    const PdGanttViewBarStyle &style = styles.at(index);
    if (!style.visible || !style.startPointColor.isValid())
        return;
    // A milestone outside the scale (a placeholder date) has no place on it.
    const int x = axis->xForDate(item.start());
    if (x < 0)
        return;
    painter->setPen(style.startPointColor);
    painter->setBrush(style.startPointColor);
    drawShape(painter, QRect(x - 5, rowRect.top() + rowRect.height() / 2 - 6, ShapeSize, ShapeSize),
              style.startPointShape, ShapeSize);
}

void TaskDrawDelegate::drawTask(const TaskItem &item, QPainter *painter, const DateAxis *axis,
                                const QRect &rowRect) const
{
    if (!m_chart)
        return;
    const auto role = [this](int r) { return m_chart->styleIndexForRole(r); };
    switch (item.kind()) {
    case TaskItem::Milestone:
        drawMilestone(item, painter, axis, rowRect);
        break;
    case TaskItem::Summary:
        drawBar(item, painter, axis, rowRect, role(GanttChart::SummaryStyle), item.start(), item.finish());
        break;
    case TaskItem::Task:
        drawBar(item, painter, axis, rowRect, role(GanttChart::TaskStyle), item.start(), item.finish());
        drawBar(item, painter, axis, rowRect, role(GanttChart::BaselineStyle), item.baselineStart(),
                item.baselineFinish());
        drawBar(item, painter, axis, rowRect, role(GanttChart::ActualStyle), item.actualStart(),
                item.actualFinish());
        break;
    default:
        break;
    }
}

} // namespace mygc
