#include "pdendpointcombo.h"

#include "pdendpointwidget.h"
#include "pditempainter.h"

#include <QPainter>

PdEndPointCombo::PdEndPointCombo(QWidget *parent)
    : PdPickerCombo(parent)
{
    auto *popup = new PdEndPointWidget;
    popup->setObjectName(QStringLiteral("PdEndPointPopup"));
    setPopup(popup);
    connect(popup, &PdEndPointWidget::selected, this, &PdEndPointCombo::endpointSelected);
}

PdEndPointWidget *PdEndPointCombo::endPointWidget() const
{
    return static_cast<PdEndPointWidget *>(popup());
}

void PdEndPointCombo::setCode(int code)
{
    m_code = PdEndPointWidget::choiceOfCode(code) < 0 ? 0 : code;
    endPointWidget()->setCurrentCode(m_code);
    update();
}

QString PdEndPointCombo::shapeName() const
{
    return PdItemPainter::shapeName(m_code);
}

void PdEndPointCombo::setShapeName(const QString &name)
{
    setCode(PdItemPainter::shapeCode(name));
}

void PdEndPointCombo::setColor(const QColor &color)
{
    m_color = color;
    endPointWidget()->setColor(color);
    update();
}

void PdEndPointCombo::endpointSelected(int code)
{
    m_code = code;
    hidePopup();
    emit endpointChanged(code);
}

void PdEndPointCombo::paintValue(QPainter *painter, const QRect &rect) const
{
    if (m_code == 0) {
        painter->setPen(palette().color(QPalette::PlaceholderText));
        painter->drawText(rect.adjusted(10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tr("None"));
        return;
    }
    const QColor ink = m_color.isValid() ? m_color : palette().color(QPalette::Text);
    QRect box(0, 0, 12, 12);
    box.moveCenter(rect.center());
    painter->setPen(ink);
    painter->setBrush(ink);
    PdItemPainter().drawShape(painter, box, m_code, 11);
}
