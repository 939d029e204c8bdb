#pragma once

#include <QRect>
#include <QString>

class QPainter;

namespace mygc {

// Shape codes: 0 none, 1 "Circle", 2 "Square", 3 "Diamond", 4 "SouthPenta",
// 5 "NorthPenta", 6 "WestPenta", 7 "EastPenta", 8 "NorthCone", 9 "SouthCone",
// 10 "EastCone", 11 "WestCone".
int shapeCode(const QString &name);
QString shapeName(int code);

// Draws a named end-point shape into the size x size box at rect's top-left,
// in the painter's pen colour (the circle also uses its brush). Unknown names
// draw nothing.
void drawShape(QPainter *painter, const QRect &rect, const QString &name, int size);
void drawShapeByCode(QPainter *painter, const QRect &rect, int code, int size);

} // namespace mygc

class QBrush;

namespace mygc {

// Fills `rect` with `brush` as a bar body: cut to `height` pixels and moved
// down by `offset`. A height of 0 or less draws no body.
void drawInnerBar(QPainter *painter, const QRect &rect, const QBrush &brush, int height, int offset);

} // namespace mygc
