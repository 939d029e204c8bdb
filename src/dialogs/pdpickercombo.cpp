#include "pdpickercombo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>

PdPickerCombo::PdPickerCombo(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize PdPickerCombo::sizeHint() const
{
    return {100, 50};
}

QSize PdPickerCombo::minimumSizeHint() const
{
    return {60, 22};
}

void PdPickerCombo::setPopup(QWidget *popup)
{
    m_popup = popup;
    popup->setParent(this, Qt::Popup | Qt::FramelessWindowHint);
    popup->hide();
}

void PdPickerCombo::showPopup()
{
    if (!m_popup)
        return;
    const int width = qMax(this->width(), m_popup->sizeHint().width());
    QPoint pos = mapToGlobal(QPoint(0, height()));
    // Open upwards when there is no room below, as a combo box does.
    if (const QScreen *s = screen()) {
        const QRect avail = s->availableGeometry();
        if (pos.y() + m_popup->sizeHint().height() > avail.bottom())
            pos.ry() = mapToGlobal(QPoint(0, 0)).y() - m_popup->sizeHint().height();
    }
    m_popup->resize(width, m_popup->sizeHint().height());
    m_popup->move(pos);
    m_popup->show();
    m_popup->setFocus(Qt::PopupFocusReason);
}

void PdPickerCombo::hidePopup()
{
    if (m_popup)
        m_popup->hide();
    update();
}

void PdPickerCombo::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = false;
    option.frame = true;
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect edit = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.save();
    painter.setClipRect(edit);
    paintValue(&painter, edit);
    painter.restore();
}

void PdPickerCombo::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        showPopup();
    else
        QWidget::mouseReleaseEvent(event);
}

void PdPickerCombo::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_F4:
        showPopup();
        return;
    case Qt::Key_Down:
        if (event->modifiers() & Qt::AltModifier) {
            showPopup();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}
