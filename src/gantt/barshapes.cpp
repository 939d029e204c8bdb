#include "barshapes.h"

#include <QPainter>
#include <QStringList>
#include <QVector>

namespace mygc {

namespace {

const QStringList &names()
{
    static const QStringList list{
        QString(), QStringLiteral("Circle"), QStringLiteral("Square"), QStringLiteral("Diamond"),
        QStringLiteral("SouthPenta"), QStringLiteral("NorthPenta"), QStringLiteral("WestPenta"),
        QStringLiteral("EastPenta"), QStringLiteral("NorthCone"), QStringLiteral("SouthCone"),
        QStringLiteral("EastCone"), QStringLiteral("WestCone")};
    return list;
}

enum Code { None, Circle, Square, Diamond, SouthPenta, NorthPenta, WestPenta, EastPenta,
            NorthCone, SouthCone, EastCone, WestCone };

} // namespace

int shapeCode(const QString &name)
{
    if (name.isEmpty())
        return None;
    const int i = names().indexOf(name);
    return i < 0 ? int(None) : i;
}

QString shapeName(int code)
{
    return code > 0 && code < names().size() ? names().at(code) : QString();
}

void drawShape(QPainter *painter, const QRect &rect, const QString &name, int size)
{
    drawShapeByCode(painter, rect, shapeCode(name), size);
}

void drawShapeByCode(QPainter *painter, const QRect &rect, int code, int size)
{
    if (!painter || code <= None || code > WestCone || size <= 0)
        return;
    const int n = size;
    const int h = n / 2;
    const int L = rect.left();
    const int T = rect.top();
    const int R = L + n - 1;
    const int B = T + n - 1;

    if (code == Circle) {
        const QRect box(L, T, n, n);
        painter->drawEllipse(box.center(), box.width() / 2, box.height() / 2);
        return;
    }

    QVector<QLine> lines;
    lines.reserve(n);
    // Cones narrow by one pixel on each side every second line; `m` walks the
    // other way for the cones that start at their point.
    int m = n / 2;
    for (int i = 0; i < n; ++i) {
        const int k = (i + 1) / 2;
        if (i % 2 == 1)
            --m;
        const int y = T + i;
        switch (code) {
        case SouthCone: lines.append(QLine(L + k, y, R - k, y)); break;
        case NorthCone: lines.append(QLine(L + m, y, R - m, y)); break;
        case EastCone: lines.append(QLine(L + i, T + k, L + i, B - k)); break;
        case WestCone: lines.append(QLine(L + i, T + m, L + i, B - m)); break;
        case Diamond:
            if (i < h)
                lines.append(QLine(L + h - i, y, R - h + i, y));
            else
                lines.append(QLine(L - h + i, y, R + h - i, y));
            break;
        case Square:
            if (i <= n - 3)
                lines.append(QLine(L + 1, T + 1 + i, R - 1, T + 1 + i));
            break;
        case SouthPenta:
            if (i <= h)
                lines.append(QLine(L, y, R, y));
            else
                lines.append(QLine(L - h + i, y, R + h - i, y));
            break;
        case NorthPenta:
            if (i < h)
                lines.append(QLine(L + h - i, y, R - h + i, y));
            else
                lines.append(QLine(L, y, R, y));
            break;
        case EastPenta:
            if (i < h)
                lines.append(QLine(L, y, R - h + i, y));
            else
                lines.append(QLine(L, y, R + h - i, y));
            break;
        case WestPenta:
            if (i < h)
                lines.append(QLine(L + h - i, y, R, y));
            else
                lines.append(QLine(L - h + i, y, R, y));
            break;
        default:
            break;
        }
    }
    painter->drawLines(lines);
}

} // namespace mygc

namespace mygc {

void drawInnerBar(QPainter *painter, const QRect &rect, const QBrush &brush, int height, int offset)
{
    if (!painter)
        return;
    if (brush == QBrush())
        qWarning("Invalid brush assigned in drawInnerBar");
    if (height <= 0)
        return;
    QRect body = rect;
    body.setHeight(height);
    body.moveTop(rect.top() + offset);
    painter->fillRect(body, brush);
}

} // namespace mygc
