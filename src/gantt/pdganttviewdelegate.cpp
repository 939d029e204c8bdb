#include "pdganttviewdelegate.h"

#include "barshapes.h"

#include <QPainter>

namespace mygc {

namespace {

constexpr int ShapeSize = 11;
constexpr int TextGap = 10;

QRect shapeBox(const QRect &rect, int x, int offset)
{
    QRect box(0, 0, ShapeSize, ShapeSize);
    box.moveCenter(QPoint(x, rect.center().y()));
    box.moveTop(rect.top() + offset);
    return box;
}

} // namespace

PdGanttViewDelegate::PdGanttViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
    PdGanttViewBarStyle::registerMetaType();
}

void PdGanttViewDelegate::paintBar(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                                   const PdGanttViewBarStyle &style) const
{
    painter->save();
    drawInnerBar(painter, rect, QBrush(style.bodyColor), style.bodyShapeHeight, style.bodyShapeOffset);

    painter->setPen(option.palette.color(QPalette::WindowText));
    if (style.startPointColor.isValid()) {
        painter->setPen(style.startPointColor);
        painter->setBrush(style.startPointColor);
        drawShapeByCode(painter, shapeBox(rect, rect.left(), style.bodyShapeOffset),
                        shapeCode(style.startPointShape), ShapeSize);
    }
    if (style.endPointColor.isValid()) {
        painter->setPen(style.endPointColor);
        painter->setBrush(style.endPointColor);
        drawShapeByCode(painter, shapeBox(rect, rect.right(), style.bodyShapeOffset),
                        shapeCode(style.endPointShape), ShapeSize);
    }
    painter->restore();
}

QRect PdGanttViewDelegate::textBox(int position, const QRect &rect, int textWidth, int *alignment)
{
    QRect box(0, 0, textWidth, rect.height());
    int align;
    switch (position) {
    case 2:
        box.moveBottomLeft(rect.bottomRight() + QPoint(TextGap, 0));
        align = Qt::AlignLeft | Qt::AlignVCenter;
        break;
    case 32:
        box.moveBottomLeft(rect.topLeft());
        align = Qt::AlignBottom | Qt::AlignHCenter;
        break;
    case 64:
        box.moveTopLeft(rect.bottomLeft());
        align = Qt::AlignTop | Qt::AlignHCenter;
        break;
    case 132:
        box.moveCenter(rect.center());
        align = Qt::AlignCenter;
        break;
    default:
        box.moveBottomRight(rect.bottomLeft() - QPoint(TextGap, 0));
        align = Qt::AlignRight | Qt::AlignVCenter;
        break;
    }
    if (alignment)
        *alignment = align;
    return box;
}

void PdGanttViewDelegate::paintTexts(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                                     const PdGanttViewBarStyle &style) const
{
    const QFontMetrics metrics(option.font);
    painter->save();
    painter->setFont(option.font);
    for (auto it = style.displayColumns.cbegin(); it != style.displayColumns.cend(); ++it) {
        int align = 0;
        const QRect box = textBox(it.key(), rect, metrics.horizontalAdvance(it.value()), &align);
        painter->drawText(box, align, it.value());
    }
    painter->restore();
}

} // namespace mygc
