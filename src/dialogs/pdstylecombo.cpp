#include "pdstylecombo.h"

#include "pdstylewidget.h"

#include <QMouseEvent>
#include <QPainter>

PdStyleCombo::PdStyleCombo(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    m_popup = new PdStyleWidget;
    m_popup->setParent(this, Qt::Popup | Qt::FramelessWindowHint);
    m_popup->hide();
    connect(m_popup, &PdStyleWidget::accepted, this, [this] {
        m_writingBack = true;
        hidePopup();
        emit accepted();
    });
}

QFont PdStyleCombo::textFont() const
{
    return m_popup->textFont();
}

void PdStyleCombo::setTextFont(const QFont &font)
{
    m_popup->setTextFont(font);
}

QColor PdStyleCombo::textColor() const
{
    return m_popup->textColor();
}

void PdStyleCombo::setTextColor(const QColor &color)
{
    m_popup->setTextColor(color);
}

QColor PdStyleCombo::background() const
{
    return m_popup->background();
}

void PdStyleCombo::setBackground(const QColor &color)
{
    m_popup->setBackground(color);
}

QRect PdStyleCombo::buttonRect() const
{
    return QRect(width() - 16, height() - 16, 15, 15);
}

void PdStyleCombo::showPopup()
{
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_popup->setFocus(Qt::PopupFocusReason);
}

void PdStyleCombo::hidePopup()
{
    m_popup->hide();
    update();
}

void PdStyleCombo::paintEvent(QPaintEvent *)
{
    // Drawn like a header's filter button, so the cell reads as one that
    // opens a popup.
    QPainter p(this);
    const QRect button = buttonRect();
    const bool hovered = button.contains(mapFromGlobal(QCursor::pos()));
    p.setPen(hovered ? QColor(186, 186, 186) : QColor(223, 223, 223));
    p.setBrush(QColor(246, 246, 246));
    p.drawRect(button);
    p.setPen(hovered ? QColor(71, 71, 71) : QColor(193, 193, 193));
    const QPoint c = button.center();
    p.drawLine(c.x() - 3, c.y() - 1, c.x() + 3, c.y() - 1);
    p.drawLine(c.x() - 2, c.y(), c.x() + 2, c.y());
    p.drawLine(c.x() - 1, c.y() + 1, c.x() + 1, c.y() + 1);
    p.drawPoint(c.x(), c.y() + 2);
}

void PdStyleCombo::mouseMoveEvent(QMouseEvent *event)
{
    update();
    QWidget::mouseMoveEvent(event);
}

void PdStyleCombo::leaveEvent(QEvent *)
{
    update();
}

void PdStyleCombo::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && buttonRect().contains(event->pos()))
        showPopup();
    else
        QWidget::mouseReleaseEvent(event);
}
