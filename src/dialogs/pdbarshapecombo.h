#pragma once

#include "pdbarshapewidget.h"
#include "pdpickercombo.h"

// Picks a bar body from the presets. A body that matches no preset (a style
// from a layout, or the milestones' height 0 at offset 6) is kept exactly
// until the user picks another.
class PdBarShapeCombo : public PdPickerCombo
{
    Q_OBJECT
public:
    explicit PdBarShapeCombo(QWidget *parent = nullptr);

    PdBarShape shape() const { return m_shape; }
    // Preset index of the current body, or -1 for a body of its own.
    int currentIndex() const { return PdBarShapeWidget::presetOf(m_shape); }
    void setShape(const PdBarShape &shape);
    // Recolours the bodies of the combo and its popup.
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    PdBarShapeWidget *barShapeWidget() const;

public slots:
    void shapeSelected(int index);

signals:
    void shapeChanged(int index);

protected:
    void paintValue(QPainter *painter, const QRect &rect) const override;

private:
    PdBarShape m_shape;
    QColor m_color{0x99, 0xCC, 0xFF};
};
