#include "pditempainter.h"

#include "barshapes.h"

#include <QString>

PdItemPainter::PdItemPainter(QObject *parent)
    : QObject(parent)
{
}

void PdItemPainter::drawInnerBar(QPainter *painter, const QRect &rect, const QBrush &brush, int height,
                                 int offset) const
{
    mygc::drawInnerBar(painter, rect, brush, height, offset);
}

void PdItemPainter::drawShape(QPainter *painter, const QRect &rect, int code, int size) const
{
    mygc::drawShapeByCode(painter, rect, code, size);
}

int PdItemPainter::shapeCode(const QString &name)
{
    return mygc::shapeCode(name);
}

QString PdItemPainter::shapeName(int code)
{
    return mygc::shapeName(code);
}
