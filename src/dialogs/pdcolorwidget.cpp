#include "pdcolorwidget.h"

#include <QPainter>

namespace {

constexpr int Margin = 2;
constexpr int Side = 136;
constexpr int Swatch = 12;
constexpr int Pitch = 16;
constexpr int Columns = 8;
constexpr int BlockEntries = 40;
constexpr int SeparatorY = Margin + 90;

} // namespace

PdColorWidget::PdColorWidget(QWidget *parent)
    : PdPickerGrid(Columns, parent)
{
    setFixedSize(Side, Side);
}

PdColorWidget::PdColorWidget(const QColor &initial, QWidget *parent)
    : PdColorWidget(parent)
{
    setColor(initial);
}

const QVector<PdColorWidget::Entry> &PdColorWidget::entries()
{
    static const QVector<Entry> list = [] {
        const char *const rows[][2] = {
            {"No Color", nullptr},       {"Black", "#000000"},       {"Brown", "#993300"},
            {"Olive Green", "#333300"},  {"Dark Green", "#003300"},  {"Dark Teal", "#003366"},
            {"Dark Blue", "#000080"},    {"Indigo", "#333399"},      {"Gray-80%", "#333333"},
            {"Dark Red", "#800000"},     {"Orange", "#FF6600"},      {"Dark Yellow", "#808000"},
            {"Green", "#008000"},        {"Teal", "#008080"},        {"Blue", "#0000FF"},
            {"Blue-Gray", "#666699"},    {"Gray-50%", "#808080"},    {"Red", "#FF0000"},
            {"Light Orange", "#FF9900"}, {"Lime", "#99CC00"},        {"Sea Green", "#339966"},
            {"Aqua", "#33CCCC"},         {"Light Blue", "#3366FF"},  {"Violet", "#800080"},
            {"Gray-40%", "#969696"},     {"Pink", "#FF00FF"},        {"Gold", "#FFCC00"},
            {"Yellow", "#FFFF00"},       {"Bright Green", "#00FF00"}, {"Turquoise", "#00FFFF"},
            {"Sky Blue", "#00CCFF"},     {"Plum", "#993366"},        {"Gray-25%", "#C0C0C0"},
            {"Rose", "#FF99CC"},         {"Tan", "#FFCC99"},         {"Light Yellow", "#FFFF99"},
            {"Light Green", "#CCFFCC"},  {"Pale Blue", "#99CCFF"},   {"Lavender", "#CC99FF"},
            {"White", "#FFFFFF"},        {"Periwinkle", "#9999FF"},  {"Plum+", "#993366"},
            {"Ivory", "#FFFFCC"},        {"Lite Turquoise", "#CCFFFF"}, {"Dark Purple", "#660066"},
            {"Coral", "#FF8080"},        {"Ocean Blue", "#0066CC"},  {"Ice Blue", "#CCCCFF"},
            {"Dark Blue+", "#000080"},   {"Pink+", "#FF00FF"},       {"Yellow+", "#FFFF00"},
            {"Turquoise+", "#00FFFF"},   {"Violet+", "#800080"},     {"Dark Red+", "#800000"},
            {"Teal+", "#008080"},        {"Blue+", "#0000FF"},
        };
        QVector<Entry> out;
        for (const auto &row : rows)
            out.append({QString::fromLatin1(row[0]), row[1] ? QColor(QLatin1String(row[1])) : QColor()});
        return out;
    }();
    return list;
}

QRect PdColorWidget::swatchRect(int index)
{
    if (index < 0 || index >= entries().size())
        return {};
    const int column = index % Columns;
    const int x = Margin + 4 + Pitch * column;
    int y;
    if (index < BlockEntries)
        y = Margin + 4 + Pitch * (index / Columns);
    else
        y = Margin + 100 + Pitch * ((index - BlockEntries) / Columns);
    return {x, y, Swatch, Swatch};
}

int PdColorWidget::indexAt(const QPoint &pos)
{
    // The gaps between swatches count for the swatch to their upper left, so
    // a click never falls through between two cells.
    for (int i = 0; i < entries().size(); ++i) {
        const QRect cell = swatchRect(i).adjusted(-2, -2, 2, 2);
        if (cell.contains(pos))
            return i;
    }
    return -1;
}

QColor PdColorWidget::color() const
{
    return currentIndex() >= 0 ? entries().at(currentIndex()).color : QColor();
}

void PdColorWidget::setColor(const QColor &color)
{
    const auto &list = entries();
    int i = list.size() - 1;
    while (i >= 0 && list.at(i).color != color)
        --i;
    setCurrent(i);
}

QSize PdColorWidget::sizeHint() const
{
    return {Side, Side};
}

void PdColorWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawLine(Margin, SeparatorY, Margin + 132, SeparatorY);

    const auto &list = entries();
    for (int i = 0; i < list.size(); ++i) {
        const QRect box = swatchRect(i);
        const QColor &c = list.at(i).color;
        if (c.isValid()) {
            p.fillRect(box, c);
        } else {
            // "No Color": white with a red slash, the usual sign for none.
            p.fillRect(box, Qt::white);
            p.setPen(Qt::red);
            p.drawLine(box.bottomLeft(), box.topRight());
        }
        p.setPen(QColor(128, 128, 128));
        p.drawRect(box.adjusted(0, 0, -1, -1));
    }
    if (hoverIndex() >= 0 && hoverIndex() != currentIndex()) {
        p.setPen(QColor(128, 128, 128));
        p.drawRect(swatchRect(hoverIndex()).adjusted(-2, -2, 1, 1));
    }
    if (currentIndex() >= 0) {
        p.setPen(Qt::black);
        p.drawRect(swatchRect(currentIndex()).adjusted(-2, -2, 1, 1));
    }
}
