#pragma once

#include <QGraphicsScene>

class QGraphicsLineItem;
class QGraphicsRectItem;

// An overview picture of the chart with two handles that mark the slice to
// cut out; what lies outside the handles is shaded.
class PdSnipGraphicsScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit PdSnipGraphicsScene(const QImage &overview, QObject *parent = nullptr);

    int sceneWidth() const { return m_sceneWidth; }
    int sceneHeight() const { return m_sceneHeight; }
    qreal leftX() const;
    qreal rightX() const;
    // Moves a handle (0 left, 1 right) as a drag would, within the scene and
    // never past the other handle.
    void moveHandle(int handle, qreal x);

signals:
    void cursorUpdated(bool onHandle);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    int handleAt(const QPointF &pos) const;

    bool m_dragging = false;
    int m_activeHandle = -1;
    int m_sceneWidth = 0;
    int m_sceneHeight = 0;
    QGraphicsLineItem *m_leftHandle = nullptr;
    QGraphicsLineItem *m_rightHandle = nullptr;
    QGraphicsRectItem *m_leftShade = nullptr;
    QGraphicsRectItem *m_rightShade = nullptr;
};
