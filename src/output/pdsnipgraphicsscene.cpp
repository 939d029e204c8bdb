#include "pdsnipgraphicsscene.h"

#include <QGraphicsLineItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsRectItem>
#include <QGraphicsSceneMouseEvent>
#include <QPen>

#include <algorithm>
#include <cmath>

PdSnipGraphicsScene::PdSnipGraphicsScene(const QImage &overview, QObject *parent)
    : QGraphicsScene(parent)
{
    addPixmap(QPixmap::fromImage(overview));
    m_sceneWidth = overview.width();
    m_sceneHeight = overview.height();
    setSceneRect(0, 0, m_sceneWidth, m_sceneHeight);

    const QPen pen(QColor(255, 165, 0), 5);
    const QBrush shade(QColor(223, 222, 222, 150));
    m_leftShade = addRect(0, 0, 0, m_sceneHeight, Qt::NoPen, shade);
    m_rightShade = addRect(0, 0, 0, m_sceneHeight, Qt::NoPen, shade);
    m_rightShade->setPos(m_sceneWidth, 0);
    m_leftHandle = addLine(0, 0, 0, m_sceneHeight, pen);
    m_rightHandle = addLine(0, 0, 0, m_sceneHeight, pen);
    m_rightHandle->setPos(m_sceneWidth, 0);
    for (QGraphicsItem *item : {static_cast<QGraphicsItem *>(m_leftShade), static_cast<QGraphicsItem *>(m_rightShade),
                                static_cast<QGraphicsItem *>(m_leftHandle), static_cast<QGraphicsItem *>(m_rightHandle)})
        item->setZValue(1);
}

qreal PdSnipGraphicsScene::leftX() const
{
    return m_leftHandle->x();
}

qreal PdSnipGraphicsScene::rightX() const
{
    return m_rightHandle->x();
}

void PdSnipGraphicsScene::moveHandle(int handle, qreal x)
{
    x = std::clamp<qreal>(x, 0, m_sceneWidth);
    if (handle == 0) {
        x = std::min(x, rightX());
        m_leftHandle->setPos(x, 0);
        m_leftShade->setRect(0, 0, x, m_sceneHeight);
    } else if (handle == 1) {
        x = std::max(x, leftX());
        m_rightHandle->setPos(x, 0);
        m_rightShade->setPos(x, 0);
        m_rightShade->setRect(0, 0, m_sceneWidth - x, m_sceneHeight);
    }
}

int PdSnipGraphicsScene::handleAt(const QPointF &pos) const
{
    // A 5-pixel line is hard to hit exactly; a few pixels either side count.
    const auto hits = [&](const QGraphicsLineItem *line) {
        return std::abs(pos.x() - line->x()) < 3 && pos.y() > -3 && pos.y() < m_sceneHeight + 3;
    };
    if (hits(m_leftHandle))
        return 0;
    if (hits(m_rightHandle))
        return 1;
    return -1;
}

void PdSnipGraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_activeHandle = handleAt(event->scenePos());
    m_dragging = m_activeHandle >= 0 && event->button() == Qt::LeftButton;
    event->accept();
}

void PdSnipGraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_dragging)
        moveHandle(m_activeHandle, event->scenePos().x());
    else
        emit cursorUpdated(handleAt(event->scenePos()) >= 0);
}

void PdSnipGraphicsScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *)
{
    m_dragging = false;
}
