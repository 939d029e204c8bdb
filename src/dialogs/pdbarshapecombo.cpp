#include "pdbarshapecombo.h"

#include "pditempainter.h"

#include <QPainter>

PdBarShapeCombo::PdBarShapeCombo(QWidget *parent)
    : PdPickerCombo(parent)
{
    auto *popup = new PdBarShapeWidget;
    popup->setObjectName(QStringLiteral("PdBarShapePopup"));
    setPopup(popup);
    connect(popup, &PdBarShapeWidget::selected, this, &PdBarShapeCombo::shapeSelected);
    setShape(PdBarShapeWidget::presets().value(1));
}

PdBarShapeWidget *PdBarShapeCombo::barShapeWidget() const
{
    return static_cast<PdBarShapeWidget *>(popup());
}

void PdBarShapeCombo::setShape(const PdBarShape &shape)
{
    m_shape = shape;
    barShapeWidget()->setCurrentIndex(currentIndex());
    update();
}

void PdBarShapeCombo::setColor(const QColor &color)
{
    m_color = color;
    barShapeWidget()->setColor(color);
    update();
}

void PdBarShapeCombo::shapeSelected(int index)
{
    if (index < 0 || index >= PdBarShapeWidget::presets().size())
        return;
    m_shape = PdBarShapeWidget::presets().at(index);
    hidePopup();
    emit shapeChanged(index);
}

void PdBarShapeCombo::paintValue(QPainter *painter, const QRect &rect) const
{
    // The body as it sits in a chart row, that row centred on the combo.
    QRect row(rect.left() + 10, 0, qMax(0, width() - 42), PdBarShapeWidget::RowHeight);
    row.moveTop(rect.center().y() - PdBarShapeWidget::RowHeight / 2);
    if (m_shape.height <= 0) {
        painter->setPen(palette().color(QPalette::PlaceholderText));
        painter->drawText(rect.adjusted(10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tr("No bar"));
        return;
    }
    const QBrush brush(m_color.isValid() ? m_color : palette().color(QPalette::Text));
    PdItemPainter().drawInnerBar(painter, row, brush, m_shape.height, m_shape.offset);
}
