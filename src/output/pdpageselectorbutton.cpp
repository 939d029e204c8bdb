#include "pdpageselectorbutton.h"

#include <QMouseEvent>
#include <QPainter>

PdPageSelectorButton::PdPageSelectorButton(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void PdPageSelectorButton::setOrientation(Orientation orientation)
{
    m_orientation = orientation;
    update();
}

void PdPageSelectorButton::setChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    update();
    if (checked)
        emit pageOrientChecked();
}

void PdPageSelectorButton::setUnchecked()
{
    if (sender() != this && m_checked) {
        m_checked = false;
        update();
    }
}

QSize PdPageSelectorButton::sizeHint() const
{
    return QSize(60, 60);
}

QRect PdPageSelectorButton::outline() const
{
    QRect r = rect();
    if (m_orientation == Portrait)
        r.setWidth(int(r.width() * 0.7));
    else
        r.setHeight(int(r.height() * 0.7));
    r.moveCenter(rect().center());
    return r.adjusted(0, 0, -1, -1);
}

void PdPageSelectorButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect box = outline();
    painter.setPen(QColor(173, 173, 173));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    if (m_checked) {
        painter.setPen(palette().color(QPalette::Highlight));
        QFont font = painter.font();
        font.setPixelSize(16);
        painter.setFont(font);
        painter.drawText(QRect(box.right() - 20, box.bottom() - 20, 20, 20), Qt::AlignCenter, QString(QChar(0x2714)));
    }
}

void PdPageSelectorButton::mousePressEvent(QMouseEvent *event)
{
    if (outline().contains(event->pos()) && !m_checked)
        setChecked(true);
}
