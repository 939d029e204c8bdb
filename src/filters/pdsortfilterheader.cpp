#include "pdsortfilterheader.h"

#include "pdsortfilterwidget.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

PdSortFilterHeader::PdSortFilterHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent)
{
    // The hover button follows the mouse, so the header repaints while it moves.
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    viewport()->setAttribute(Qt::WA_Hover);
}

void PdSortFilterHeader::addFilter(int column)
{
    if (m_filtered.contains(column))
        return;
    m_filtered.append(column);
    emit filterSettingsChanged();
}

void PdSortFilterHeader::removeFilter(int column)
{
    if (m_filtered.removeAll(column) > 0)
        emit filterSettingsChanged();
}

void PdSortFilterHeader::clearFilters()
{
    if (m_filtered.isEmpty())
        return;
    m_filtered.clear();
    emit filterSettingsChanged();
}

void PdSortFilterHeader::setSort(int column, int order)
{
    if (column == m_sortColumn && order == m_sortOrder)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    emit filterSettingsChanged();
}

void PdSortFilterHeader::setSortFilterWidget(PdSortFilterWidget* widget)
{
    m_widget = widget;
    viewport()->update();
}

QRect PdSortFilterHeader::sectionRect(int logicalIndex) const
{
    return QRect(sectionViewportPosition(logicalIndex), 0, sectionSize(logicalIndex), height());
}

QSize PdSortFilterHeader::sizeHint() const
{
    return QHeaderView::sizeHint().expandedTo(minimumSize());
}

void PdSortFilterHeader::mousePressEvent(QMouseEvent* event)
{
    QHeaderView::mousePressEvent(event);
    const int section = logicalIndexAt(event->pos());
    if (section >= 0)
        emit popUp(sectionRect(section), section, event->pos());
}

void PdSortFilterHeader::mouseMoveEvent(QMouseEvent* event)
{
    QHeaderView::mouseMoveEvent(event);
    // The whole viewport: the button must also vanish from the section the mouse just left.
    viewport()->update();
}

bool PdSortFilterHeader::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave)
        viewport()->update();
    return QHeaderView::viewportEvent(event);
}

void PdSortFilterHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (m_widget)
        m_widget->paintSection(painter, rect, logicalIndex, viewport()->mapFromGlobal(QCursor::pos()));
}

PdSortFilterWidget* PdSortFilterHeader::sortFilterWidget() const
{
    return m_widget;
}
