#pragma once

#include <QObject>

class QBrush;
class QPainter;
class QRect;
class QString;

// Draws bar bodies and end-point shapes for the style pickers, the same way
// the chart and its preview draw them, so a picker shows what a bar will get.
class PdItemPainter : public QObject
{
    Q_OBJECT
public:
    explicit PdItemPainter(QObject *parent = nullptr);

    // Fills `rect` cut to `height` pixels and moved down by `offset`; a
    // height of 0 or less draws nothing.
    void drawInnerBar(QPainter *painter, const QRect &rect, const QBrush &brush, int height, int offset) const;
    // Draws shape `code` into the size x size box at rect's top-left, in the
    // painter's pen (and, for the circle, brush). Code 0 draws nothing.
    void drawShape(QPainter *painter, const QRect &rect, int code, int size = 11) const;

    static int shapeCode(const QString &name);
    static QString shapeName(int code);
};
