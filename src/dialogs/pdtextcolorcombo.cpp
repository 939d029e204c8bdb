#include "pdtextcolorcombo.h"

#include <QPainter>

PdTextColorCombo::PdTextColorCombo(QWidget *parent)
    : PdColorCombo(parent)
{
    setFixedSize(50, 22);
}

QSize PdTextColorCombo::sizeHint() const
{
    return {50, 22};
}

void PdTextColorCombo::paintValue(QPainter *painter, const QRect &rect) const
{
    const QRect letter(rect.left() + 2, rect.top(), 14, rect.height() - 3);
    QFont font = painter->font();
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(palette().color(QPalette::Text));
    painter->drawText(letter, Qt::AlignCenter, QStringLiteral("A"));
    const QRect strip(letter.left(), rect.bottom() - 3, letter.width(), 3);
    if (color().isValid())
        painter->fillRect(strip, color());
    else
        painter->drawRect(strip.adjusted(0, 0, -1, -1));
}
