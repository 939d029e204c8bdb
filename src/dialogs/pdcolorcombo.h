#pragma once

#include "pdpickercombo.h"

#include <QColor>

class PdColorWidget;

// Picks a colour from the palette popup and shows it as a bar.
class PdColorCombo : public PdPickerCombo
{
    Q_OBJECT
public:
    explicit PdColorCombo(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    // Shows `color` without announcing it: loading a value is not an edit.
    void setColor(const QColor &color);
    PdColorWidget *colorWidget() const;

public slots:
    void colorSelected(const QColor &color);

signals:
    void colorChanged(const QColor &color);

protected:
    void paintValue(QPainter *painter, const QRect &rect) const override;

private:
    QColor m_color;
};
