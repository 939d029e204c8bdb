#pragma once

#include "pdcolorcombo.h"

// The colour combo for text: a letter "A" over a strip of the colour, small
// enough to sit beside the font buttons.
class PdTextColorCombo : public PdColorCombo
{
    Q_OBJECT
public:
    explicit PdTextColorCombo(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintValue(QPainter *painter, const QRect &rect) const override;
};
