#include "linkgeometry.h"

#include "taskrelationship.h"

#include <algorithm>

namespace mygc {

bool predecessorAnchorIsFinish(int type)
{
    return type == TaskRelationship::FinishToStart || type == TaskRelationship::FinishToFinish;
}

bool successorAnchorIsFinish(int type)
{
    return type == TaskRelationship::StartToFinish || type == TaskRelationship::FinishToFinish;
}

LinkPath linkPath(int type, int a, int b, int yF, int yT, const QRect &exposed, bool withArrow)
{
    LinkPath path;
    const int fo = predecessorAnchorIsFinish(type) ? 10 : -10;
    const int to = successorAnchorIsFinish(type) ? 10 : -10;
    const int xF = a + fo;
    const int xT = b + to;
    int legTop;

    if (fo > 0 && xF <= xT) {
        path.lines.append(QLine(a, yF, xT - 3, yF));
        path.arcs.append({QRect(xT - 6, yF, 6, 6), 0, 90});
        legTop = yF + 3;
    } else if (fo > 0) {
        // The successor starts left of the leaving stub: hook right, then back.
        path.lines.append(QLine(a, yF, xF - 3, yF));
        path.lines.append(QLine(xF, yF + 3, xF, yF + 5));
        path.lines.append(QLine(xF - 3, yF + 8, xT, yF + 8));
        path.arcs.append({QRect(xF - 6, yF, 6, 6), 90, -90});
        path.arcs.append({QRect(xF - 6, yF + 2, 6, 6), 0, -90});
        legTop = yF + 8;
    } else if (xF >= xT) {
        path.lines.append(QLine(a, yF, xT + 3, yF));
        path.arcs.append({QRect(xT, yF, 6, 6), 90, 90});
        legTop = yF + 3;
    } else {
        path.lines.append(QLine(a, yF, xF + 3, yF));
        path.lines.append(QLine(xF, yF + 3, xF, yF + 5));
        path.lines.append(QLine(xF + 3, yF + 8, xT, yF + 8));
        path.arcs.append({QRect(xF, yF, 6, 6), 90, 90});
        path.arcs.append({QRect(xF, yF + 2, 6, 6), 270, -90});
        legTop = yF + 8;
    }

    if (xT >= exposed.left() && xT <= exposed.right()) {
        const int top = std::max(legTop, exposed.top());
        const int bottom = std::min(yT, exposed.bottom());
        path.lines.append(QLine(xT, top, xT, bottom));
    }

    if (withArrow) {
        path.lines.append(QLine(xT, yT, b, yT));
        path.head << QPoint(b, yT) << QPoint(xT - to / 2, yT - to / 2) << QPoint(xT - to / 2, yT + to / 2);
    }
    return path;
}

} // namespace mygc
