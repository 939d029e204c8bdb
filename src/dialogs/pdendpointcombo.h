#pragma once

#include "pdpickercombo.h"

#include <QColor>

class PdEndPointWidget;

// Picks the shape drawn at one end of a bar.
class PdEndPointCombo : public PdPickerCombo
{
    Q_OBJECT
public:
    explicit PdEndPointCombo(QWidget *parent = nullptr);

    int code() const { return m_code; }
    void setCode(int code);
    QString shapeName() const;
    // An unknown name selects "<None>".
    void setShapeName(const QString &name);
    // Both the combo and its popup draw their shapes in `color`.
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    PdEndPointWidget *endPointWidget() const;

public slots:
    void endpointSelected(int code);

signals:
    void endpointChanged(int code);

protected:
    void paintValue(QPainter *painter, const QRect &rect) const override;

private:
    int m_code = 0;
    QColor m_color = Qt::black;
};
