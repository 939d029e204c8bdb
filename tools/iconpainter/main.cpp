// Draws every icon of the resource bundle with QPainter and writes them as PNG files.
// Usage: plandeck-iconpainter OUTPUT_DIR
// Run with QT_QPA_PLATFORM=offscreen on a machine without a display.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <functional>

namespace {

// Every icon is drawn on a 32 x 32 grid and scaled to its file size.
using Drawer = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 48);
const QColor kBlue(38, 110, 205);
const QColor kLightBlue(170, 205, 245);
const QColor kGreen(40, 150, 60);
const QColor kRed(205, 40, 35);
const QColor kPaper(252, 252, 248);
const QColor kFunnel(235, 150, 30);

QPen pen(const QColor& c, qreal w)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QFont font(int pixelSize, bool bold = false, bool italic = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, qreal width, qreal head)
{
    p.setPen(pen(c, width));
    const QLineF line(from, to);
    QLineF back(to, from);
    back.setLength(head);
    p.drawLine(QLineF(from, back.p2()));
    const QLineF left = QLineF::fromPolar(head, line.angle() + 150).translated(to);
    const QLineF right = QLineF::fromPolar(head, line.angle() - 150).translated(to);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF() << to << left.p2() << right.p2());
}

void funnel(QPainter& p, const QRectF& r, const QColor& fill)
{
    const qreal neck = r.width() * 0.16;
    const qreal cx = r.center().x();
    const qreal waist = r.top() + r.height() * 0.45;
    QPolygonF shape;
    shape << r.topLeft() << r.topRight() << QPointF(cx + neck, waist) << QPointF(cx + neck, r.bottom() - r.height() * 0.12)
          << QPointF(cx - neck, r.bottom()) << QPointF(cx - neck, waist);
    p.setPen(pen(kInk, 1.6));
    p.setBrush(fill);
    p.drawPolygon(shape);
}

void sheet(QPainter& p, const QRectF& r)
{
    p.setPen(pen(kInk, 1.5));
    p.setBrush(kPaper);
    const qreal fold = r.width() * 0.3;
    QPolygonF s;
    s << r.topLeft() << QPointF(r.right() - fold, r.top()) << QPointF(r.right(), r.top() + fold) << r.bottomRight() << r.bottomLeft();
    p.drawPolygon(s);
    p.drawPolyline(QPolygonF() << QPointF(r.right() - fold, r.top()) << QPointF(r.right() - fold, r.top() + fold)
                               << QPointF(r.right(), r.top() + fold));
}

void grid(QPainter& p, const QRectF& r, int cols, int rows, int highlightCol, const QColor& highlight)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(r);
    const qreal cw = r.width() / cols;
    const qreal rh = r.height() / rows;
    if (highlightCol >= 0) {
        p.setBrush(highlight);
        p.drawRect(QRectF(r.left() + highlightCol * cw, r.top(), cw, r.height()));
    }
    p.setBrush(kBlue);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), rh));
    p.setPen(pen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    for (int c = 1; c < cols; ++c)
        p.drawLine(QPointF(r.left() + c * cw, r.top()), QPointF(r.left() + c * cw, r.bottom()));
    for (int row = 1; row < rows; ++row)
        p.drawLine(QPointF(r.left(), r.top() + row * rh), QPointF(r.right(), r.top() + row * rh));
}

void pyramid(QPainter& p)
{
    const QPointF apex(16, 2.5), left(1.5, 28.5), right(30.5, 28.5), front(19.5, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(228, 60, 45));
    p.drawPolygon(QPolygonF() << apex << left << front);
    p.setBrush(QColor(150, 22, 18));
    p.drawPolygon(QPolygonF() << apex << front << right);
    p.setPen(pen(QColor(100, 10, 10), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF() << apex << left << front << right);
    p.drawLine(apex, front);
}

void roundButton(QPainter& p, qreal angle)
{
    QLinearGradient g(0, 2, 0, 30);
    g.setColorAt(0, QColor(95, 160, 240));
    g.setColorAt(1, QColor(25, 80, 170));
    p.setPen(pen(QColor(20, 60, 130), 1.2));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(2, 2, 28, 28), 8, 8);
    p.translate(16, 16);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF() << QPointF(-8, 0) << QPointF(1, -9) << QPointF(1, -4) << QPointF(9, -4)
                              << QPointF(9, 4) << QPointF(1, 4) << QPointF(1, 9));
}

void bar(QPainter& p, const QRectF& r, const QColor& c)
{
    p.setPen(pen(c.darker(150), 1));
    p.setBrush(c);
    p.drawRect(r);
}

void plusMinusBox(QPainter& p, const QRectF& r, bool plus)
{
    p.setPen(pen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(pen(kBlue, 2.2));
    const QPointF c = r.center();
    const qreal a = r.width() * 0.28;
    p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
    if (plus)
        p.drawLine(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
}

void treeLines(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2, Qt::DotLine));
    p.drawLine(QPointF(9, 13), QPointF(9, 26));
    p.drawLine(QPointF(9, 20), QPointF(16, 20));
    p.drawLine(QPointF(9, 26), QPointF(16, 26));
    p.setPen(pen(kInk, 2));
    p.drawLine(QPointF(18, 20), QPointF(29, 20));
    p.drawLine(QPointF(18, 26), QPointF(29, 26));
}

void letterArrow(QPainter& p, const QString& top, const QString& bottom)
{
    p.setFont(font(13, true));
    p.setPen(kInk);
    p.drawText(QRectF(1, 0, 16, 16), Qt::AlignCenter, top);
    p.drawText(QRectF(1, 16, 16, 16), Qt::AlignCenter, bottom);
    arrow(p, QPointF(24, 3), QPointF(24, 29), kBlue, 3, 7);
}

void gear(QPainter& p, QPointF c, qreal r)
{
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal radius = (i % 2 == 0) ? r : r * 0.72;
        const QLineF a = QLineF::fromPolar(radius, i * 360.0 / (teeth * 2) - 8).translated(c);
        const QLineF b = QLineF::fromPolar(radius, i * 360.0 / (teeth * 2) + 8).translated(c);
        if (i == 0)
            path.moveTo(a.p2());
        else
            path.lineTo(a.p2());
        path.lineTo(b.p2());
    }
    path.closeSubpath();
    path.addEllipse(c, r * 0.3, r * 0.3);
    p.setPen(pen(kInk, 1));
    p.setBrush(QColor(120, 125, 135));
    p.drawPath(path);
}

void person(QPainter& p, QPointF head, qreal s, const QColor& c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(head, 4.5 * s, 4.5 * s);
    QPainterPath body;
    body.moveTo(head.x() - 9 * s, head.y() + 16 * s);
    body.cubicTo(head.x() - 9 * s, head.y() + 5 * s, head.x() + 9 * s, head.y() + 5 * s, head.x() + 9 * s, head.y() + 16 * s);
    body.closeSubpath();
    p.drawPath(body);
}

void smallArrow(QPainter& p, bool up, const QColor& c, const QRectF& r)
{
    const qreal cx = r.center().x();
    QPolygonF head;
    if (up)
        head << QPointF(cx, r.top()) << QPointF(r.right(), r.top() + r.height() * 0.5) << QPointF(r.left(), r.top() + r.height() * 0.5);
    else
        head << QPointF(cx, r.bottom()) << QPointF(r.right(), r.top() + r.height() * 0.5) << QPointF(r.left(), r.top() + r.height() * 0.5);
    p.setPen(pen(c.darker(140), 1));
    p.setBrush(c);
    p.drawPolygon(head);
    const qreal w = r.width() * 0.34;
    const QRectF shaft = up ? QRectF(cx - w / 2, r.top() + r.height() * 0.5, w, r.height() * 0.5)
                            : QRectF(cx - w / 2, r.top(), w, r.height() * 0.5);
    p.setPen(Qt::NoPen);
    p.drawRect(shaft);
}

void letter(QPainter& p, const QString& text, bool bold, bool italic, bool underline)
{
    QFont f = font(26, bold, italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(kInk);
    p.drawText(QRectF(0, -1, 32, 32), Qt::AlignCenter, text);
}

void positionBars(QPainter& p, bool predecessors)
{
    bar(p, QRectF(predecessors ? 2 : 16, 5, 13, 7), predecessors ? QColor(150, 150, 160) : kBlue);
    bar(p, QRectF(predecessors ? 16 : 2, 19, 13, 7), predecessors ? kBlue : QColor(150, 150, 160));
    if (predecessors) {
        p.setPen(pen(kRed, 2));
        p.drawLine(QPointF(15, 8.5), QPointF(10, 8.5));
        p.drawLine(QPointF(10, 8.5), QPointF(10, 14));
        arrow(p, QPointF(10, 14), QPointF(16, 22.5), kRed, 2, 5);
    } else {
        p.setPen(pen(kRed, 2));
        p.drawLine(QPointF(15, 22.5), QPointF(21, 22.5));
        arrow(p, QPointF(21, 22.5), QPointF(21, 12), kRed, 2, 5);
    }
}

struct Icon {
    const char* file;
    int size;
    Drawer draw;
};

QVector<Icon> icons()
{
    QVector<Icon> list;
    list.append({ "pyramid_128.png", 128, pyramid });
    list.append({ "pyramid_48.png", 48, pyramid });
    list.append({ "red_pyramid.png", 32, pyramid });
    list.append({ "project-add2_32.png", 32, [](QPainter& p) {
        p.setPen(pen(QColor(150, 110, 20), 1.4));
        p.setBrush(QColor(245, 200, 90));
        p.drawPolygon(QPolygonF() << QPointF(2, 7) << QPointF(11, 7) << QPointF(14, 10) << QPointF(27, 10)
                                  << QPointF(27, 26) << QPointF(2, 26));
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(23, 23), 8, 8);
        p.setPen(pen(Qt::white, 3));
        p.drawLine(QPointF(23, 18.5), QPointF(23, 27.5));
        p.drawLine(QPointF(18.5, 23), QPointF(27.5, 23));
    } });
    list.append({ "table_column_f_32.png", 32, [](QPainter& p) {
        grid(p, QRectF(2.5, 3.5, 27, 25), 3, 5, 1, QColor(250, 220, 120));
    } });
    list.append({ "table_column_filter_32.png", 32, [](QPainter& p) {
        grid(p, QRectF(1.5, 1.5, 24, 22), 3, 5, 1, QColor(250, 220, 120));
        funnel(p, QRectF(16, 16, 15, 15), kFunnel);
    } });
    list.append({ "network_diagram_f_32.png", 32, [](QPainter& p) {
        p.setPen(pen(kInk, 1.8));
        p.drawLine(QPointF(9, 16), QPointF(16, 7));
        p.drawLine(QPointF(9, 16), QPointF(16, 25));
        p.setPen(pen(kInk, 1.2));
        p.setBrush(kLightBlue);
        p.drawRect(QRectF(1.5, 12.5, 9, 7));
        p.drawRect(QRectF(15.5, 3.5, 9, 7));
        p.drawRect(QRectF(15.5, 21.5, 9, 7));
        arrow(p, QPointF(25, 7), QPointF(31, 14), kRed, 1.8, 5);
        arrow(p, QPointF(25, 25), QPointF(31, 18), kRed, 1.8, 5);
    } });
    list.append({ "details_32.png", 32, [](QPainter& p) {
        sheet(p, QRectF(5.5, 2.5, 21, 27));
        p.setPen(pen(kBlue, 2));
        for (int y : { 11, 15, 19, 23 })
            p.drawLine(QPointF(9, y), QPointF(y == 23 ? 17 : 22, y));
        p.setPen(pen(kInk, 2));
        p.drawLine(QPointF(9, 7), QPointF(15, 7));
    } });
    list.append({ "gantt_chart-gear_32.png", 32, [](QPainter& p) {
        p.setPen(pen(kInk, 1.5));
        p.drawLine(QPointF(2, 2), QPointF(2, 30));
        bar(p, QRectF(4, 4, 12, 5), kBlue);
        bar(p, QRectF(10, 12, 14, 5), kBlue);
        bar(p, QRectF(18, 20, 10, 5), kGreen);
        gear(p, QPointF(10, 24), 7);
    } });
    list.append({ "export_to_csv_32.png", 32, [](QPainter& p) {
        sheet(p, QRectF(2.5, 2.5, 20, 27));
        p.setFont(font(8, true));
        p.setPen(kGreen.darker(120));
        p.drawText(QRectF(3, 9, 19, 10), Qt::AlignCenter, QStringLiteral("CSV"));
        p.setPen(pen(QColor(150, 150, 150), 1));
        for (int y : { 21, 24, 27 })
            p.drawLine(QPointF(5, y), QPointF(19, y));
        arrow(p, QPointF(16, 20), QPointF(31, 20), kGreen, 3.2, 7);
    } });
    list.append({ "expand_all_32.png", 32, [](QPainter& p) {
        plusMinusBox(p, QRectF(2.5, 2.5, 12, 12), true);
        plusMinusBox(p, QRectF(10.5, 17.5, 12, 12), true);
        p.setPen(QPen(kInk, 1.2, Qt::DotLine));
        p.drawLine(QPointF(8.5, 15), QPointF(8.5, 23.5));
        p.drawLine(QPointF(8.5, 23.5), QPointF(10, 23.5));
        p.setPen(pen(kInk, 2));
        p.drawLine(QPointF(17, 8.5), QPointF(30, 8.5));
        p.drawLine(QPointF(25, 23.5), QPointF(30, 23.5));
    } });
    list.append({ "collapse_all_32.png", 32, [](QPainter& p) {
        plusMinusBox(p, QRectF(2.5, 2.5, 12, 12), false);
        plusMinusBox(p, QRectF(10.5, 17.5, 12, 12), false);
        p.setPen(QPen(kInk, 1.2, Qt::DotLine));
        p.drawLine(QPointF(8.5, 15), QPointF(8.5, 23.5));
        p.drawLine(QPointF(8.5, 23.5), QPointF(10, 23.5));
        p.setPen(pen(kInk, 2));
        p.drawLine(QPointF(17, 8.5), QPointF(30, 8.5));
        p.drawLine(QPointF(25, 23.5), QPointF(30, 23.5));
    } });
    list.append({ "expand_32.png", 32, [](QPainter& p) {
        plusMinusBox(p, QRectF(3.5, 1.5, 12, 12), true);
        treeLines(p);
    } });
    list.append({ "remove_32.png", 32, [](QPainter& p) {
        p.setPen(pen(kRed.darker(140), 1.2));
        p.setBrush(kRed);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(pen(Qt::white, 4));
        p.drawLine(QPointF(9, 16), QPointF(23, 16));
    } });
    list.append({ "outline_32.png", 32, [](QPainter& p) {
        const int indents[] = { 0, 1, 2, 2, 1, 0 };
        for (int i = 0; i < 6; ++i) {
            const qreal y = 4 + i * 4.8;
            const qreal x = 3 + indents[i] * 6;
            p.setPen(Qt::NoPen);
            p.setBrush(indents[i] == 0 ? kBlue : kInk);
            p.drawRect(QRectF(x, y - 1.5, 3, 3));
            p.setPen(pen(indents[i] == 0 ? kBlue : kInk, 2));
            p.drawLine(QPointF(x + 5, y), QPointF(29, y));
        }
    } });
    list.append({ "table_stack.png", 32, [](QPainter& p) {
        grid(p, QRectF(9.5, 1.5, 20, 14), 3, 3, -1, Qt::transparent);
        grid(p, QRectF(6, 8.5, 20, 14), 3, 3, -1, Qt::transparent);
        grid(p, QRectF(2.5, 15.5, 20, 14), 3, 3, -1, Qt::transparent);
    } });
    list.append({ "time_f_32.png", 32, [](QPainter& p) {
        p.setPen(pen(kInk, 1.4));
        p.setBrush(kPaper);
        p.drawRect(QRectF(1.5, 4.5, 22, 21));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRect(QRectF(2.2, 5.2, 20.6, 5));
        p.setPen(pen(QColor(120, 120, 120), 1));
        for (int x : { 7, 12, 17 })
            for (int y : { 14, 19 })
                p.drawPoint(QPointF(x, y));
        p.setPen(pen(kInk, 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(22, 22), 8.5, 8.5);
        p.setPen(pen(kBlue, 2));
        p.drawLine(QPointF(22, 22), QPointF(22, 16.5));
        p.drawLine(QPointF(22, 22), QPointF(26, 24));
    } });
    list.append({ "resource_human-task.png", 32, [](QPainter& p) {
        person(p, QPointF(12, 8), 1.1, QColor(70, 100, 150));
        bar(p, QRectF(16, 22, 14, 7), kGreen);
    } });
    list.append({ "button_rounded_blue_left_32.png", 32, [](QPainter& p) { roundButton(p, 0); } });
    list.append({ "button_rounded_blue_right_32.png", 32, [](QPainter& p) { roundButton(p, 180); } });
    list.append({ "button_rounded_blue_up_32.png", 32, [](QPainter& p) { roundButton(p, 90); } });
    list.append({ "button_rounded_blue_down_32.png", 32, [](QPainter& p) { roundButton(p, -90); } });
    list.append({ "task_label_32.png", 32, [](QPainter& p) {
        bar(p, QRectF(2, 17, 14, 8), kBlue);
        p.setPen(pen(QColor(150, 110, 20), 1.3));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF() << QPointF(14, 4) << QPointF(30, 4) << QPointF(30, 13) << QPointF(14, 13) << QPointF(11, 8.5));
        p.setPen(pen(kInk, 1.6));
        p.drawLine(QPointF(17, 8.5), QPointF(27, 8.5));
    } });
    list.append({ "task_position_predecessors.png", 32, [](QPainter& p) { positionBars(p, true); } });
    list.append({ "task_position_successors.png", 32, [](QPainter& p) { positionBars(p, false); } });
    list.append({ "sort_az_32.png", 32, [](QPainter& p) { letterArrow(p, QStringLiteral("A"), QStringLiteral("Z")); } });
    list.append({ "sort_za_32.png", 32, [](QPainter& p) { letterArrow(p, QStringLiteral("Z"), QStringLiteral("A")); } });
    list.append({ "filter-delete_32.png", 32, [](QPainter& p) {
        funnel(p, QRectF(2, 3, 22, 26), kFunnel);
        p.setPen(pen(kRed, 3.5));
        p.drawLine(QPointF(19, 18), QPointF(29, 28));
        p.drawLine(QPointF(29, 18), QPointF(19, 28));
    } });
    list.append({ "filter_16.png", 16, [](QPainter& p) { funnel(p, QRectF(3, 3, 26, 26), kFunnel); } });
    list.append({ "filter_up_16.png", 16, [](QPainter& p) {
        funnel(p, QRectF(1.5, 2, 20, 26), kFunnel);
        smallArrow(p, true, kBlue, QRectF(19, 4, 12, 24));
    } });
    list.append({ "filter_down_16.png", 16, [](QPainter& p) {
        funnel(p, QRectF(1.5, 2, 20, 26), kFunnel);
        smallArrow(p, false, kBlue, QRectF(19, 4, 12, 24));
    } });
    list.append({ "arrow_up_16.png", 16, [](QPainter& p) { smallArrow(p, true, kBlue, QRectF(5, 2, 22, 28)); } });
    list.append({ "arrow_down_16.png", 16, [](QPainter& p) { smallArrow(p, false, kBlue, QRectF(5, 2, 22, 28)); } });
    list.append({ "character_bold_small.png", 16, [](QPainter& p) { letter(p, QStringLiteral("B"), true, false, false); } });
    list.append({ "character_italic_small.png", 16, [](QPainter& p) { letter(p, QStringLiteral("I"), true, true, false); } });
    list.append({ "character_underline_small.png", 16, [](QPainter& p) { letter(p, QStringLiteral("U"), false, false, true); } });
    return list;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: plandeck-iconpainter OUTPUT_DIR\n";
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        err << "cannot create " << dir.path() << "\n";
        return 1;
    }
    for (const Icon& icon : icons()) {
        QImage image(icon.size, icon.size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(icon.size / 32.0, icon.size / 32.0);
        icon.draw(painter);
        painter.end();
        const QString path = dir.filePath(QString::fromLatin1(icon.file));
        if (!image.save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
