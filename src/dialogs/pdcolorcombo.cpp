#include "pdcolorcombo.h"

#include "pdcolorwidget.h"

#include <QPainter>

PdColorCombo::PdColorCombo(QWidget *parent)
    : PdPickerCombo(parent)
{
    auto *popup = new PdColorWidget;
    popup->setObjectName(QStringLiteral("PdColorPickerPopup"));
    setPopup(popup);
    connect(popup, &PdColorWidget::selected, this, &PdColorCombo::colorSelected);
}

PdColorWidget *PdColorCombo::colorWidget() const
{
    return static_cast<PdColorWidget *>(popup());
}

void PdColorCombo::setColor(const QColor &color)
{
    m_color = color;
    colorWidget()->setColor(color);
    update();
}

void PdColorCombo::colorSelected(const QColor &color)
{
    m_color = color;
    hidePopup();
    emit colorChanged(color);
}

void PdColorCombo::paintValue(QPainter *painter, const QRect &rect) const
{
    // The edit field already leaves room for the arrow; the inset keeps the
    // bar clear of the frame on every style.
    QRect bar(rect.left() + 10, 0, qMax(0, width() - 42), 10);
    bar.moveTop(rect.center().y() - 4);
    if (m_color.isValid()) {
        painter->fillRect(bar, m_color);
    } else {
        painter->setPen(palette().color(QPalette::Text));
        painter->drawText(rect.adjusted(10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tr("No Color"));
    }
}
