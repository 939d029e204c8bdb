#include "pdbarshapewidget.h"

#include "pditempainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PdBarShapeWidget::PdBarShapeWidget(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

const QVector<PdBarShape> &PdBarShapeWidget::presets()
{
    static const QVector<PdBarShape> list{{0, 0}, {11, 6}, {5, 3}, {5, 9}, {5, 12},
                                          {3, 6}, {3, 10}, {3, 14}, {3, 18}};
    return list;
}

int PdBarShapeWidget::presetOf(const PdBarShape &shape)
{
    return presets().indexOf(shape);
}

void PdBarShapeWidget::setCurrentIndex(int index)
{
    m_current = index >= 0 && index < presets().size() ? index : -1;
    update();
}

void PdBarShapeWidget::setColor(const QColor &color)
{
    m_color = color;
    update();
}

int PdBarShapeWidget::rowAt(const QPoint &pos) const
{
    if (!rect().contains(pos))
        return -1;
    const int row = pos.y() / RowHeight;
    return row < presets().size() ? row : -1;
}

QSize PdBarShapeWidget::sizeHint() const
{
    const int width = parentWidget() ? parentWidget()->width() : 100;
    return {width, RowHeight * int(presets().size())};
}

void PdBarShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    PdItemPainter painter;
    const QBrush brush(m_color.isValid() ? m_color : palette().color(QPalette::Text));
    for (int i = 0; i < presets().size(); ++i) {
        const QRect row(0, i * RowHeight, width(), RowHeight);
        const PdBarShape &shape = presets().at(i);
        if (shape.height > 0) {
            painter.drawInnerBar(&p, row.adjusted(6, 0, -6, 0), brush, shape.height, shape.offset);
        } else {
            p.setPen(palette().color(QPalette::PlaceholderText));
            p.drawText(row, Qt::AlignCenter, tr("No bar"));
        }
        if (i == m_current || i == m_hover) {
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(row.adjusted(1, 1, -2, -2));
        }
    }
}

void PdBarShapeWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int row = rowAt(event->pos());
    if (row != m_hover) {
        m_hover = row;
        update();
    }
}

void PdBarShapeWidget::leaveEvent(QEvent *)
{
    m_hover = -1;
    update();
}

void PdBarShapeWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!rect().contains(event->pos())) {
        close();
        return;
    }
    const int row = rowAt(event->pos());
    if (row < 0)
        return;
    m_current = row;
    update();
    emit selected(row);
}

void PdBarShapeWidget::keyPressEvent(QKeyEvent *event)
{
    const int last = int(presets().size()) - 1;
    switch (event->key()) {
    case Qt::Key_Down:
        setCurrentIndex(qMin(last, m_current + 1));
        break;
    case Qt::Key_Up:
        setCurrentIndex(qMax(0, m_current - 1));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A custom body matches no row; Enter then keeps it instead of
        // choosing row -1.
        if (m_current >= 0)
            emit selected(m_current);
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
        break;
    }
}
