#pragma once

#include <QLine>
#include <QPolygon>
#include <QRect>
#include <QVector>

namespace mygc {

// A quarter arc of a link's hook: the box it is inscribed in and its angles in
// degrees (positive counter-clockwise), as QPainter::drawArc takes them / 16.
struct LinkArc
{
    QRect box;
    int startDegrees = 0;
    int spanDegrees = 0;
};

// Everything one relationship link draws: straight segments, hook arcs and the
// arrowhead. Computed before painting so the geometry can be checked alone.
struct LinkPath
{
    QVector<QLine> lines;
    QVector<LinkArc> arcs;
    QPolygon head;
};

bool predecessorAnchorIsFinish(int type);
bool successorAnchorIsFinish(int type);

// `a` and `b` are the x of the predecessor's and successor's anchors, `yF` and
// `yT` the centre lines of their rows. The vertical leg is kept inside
// `exposed`; the arrow is added only when `withArrow` is set.
LinkPath linkPath(int type, int a, int b, int yF, int yT, const QRect &exposed, bool withArrow);

} // namespace mygc
