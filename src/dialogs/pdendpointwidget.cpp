#include "pdendpointwidget.h"

#include "pditempainter.h"

#include <QPainter>

namespace {

constexpr int Columns = 4;
constexpr int Rows = 3;
constexpr int ShapeBox = 12;
constexpr int ShapeSize = 11;

} // namespace

PdEndPointWidget::PdEndPointWidget(QWidget *parent)
    : PdPickerGrid(Columns, parent)
{
    resize(60, 54);
    setCurrent(0);
}

const QVector<PdEndPointWidget::Choice> &PdEndPointWidget::choices()
{
    static const QVector<Choice> list = [] {
        QVector<Choice> out{{QStringLiteral("<None>"), 0}};
        for (const char *name : {"Circle", "Square", "Diamond", "SouthPenta", "NorthPenta", "EastPenta",
                                 "WestPenta", "SouthCone", "NorthCone", "EastCone", "WestCone"}) {
            const QString text = QString::fromLatin1(name);
            out.append({text, PdItemPainter::shapeCode(text)});
        }
        return out;
    }();
    return list;
}

int PdEndPointWidget::choiceOfCode(int code)
{
    const auto &list = choices();
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).code == code)
            return i;
    return -1;
}

QRect PdEndPointWidget::cellRect(int choice) const
{
    if (choice < 0 || choice >= choices().size())
        return {};
    const int w = width() / Columns;
    const int h = height() / Rows;
    return {(choice % Columns) * w, (choice / Columns) * h, w, h};
}

int PdEndPointWidget::currentCode() const
{
    return choices().value(currentIndex(), choices().first()).code;
}

void PdEndPointWidget::setCurrentCode(int code)
{
    setCurrent(qMax(0, choiceOfCode(code)));
}

void PdEndPointWidget::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QSize PdEndPointWidget::sizeHint() const
{
    return {60, 54};
}

void PdEndPointWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QColor ink = m_color.isValid() ? m_color : palette().color(QPalette::Text);
    PdItemPainter painter;
    for (int i = 0; i < choices().size(); ++i) {
        const QRect cell = cellRect(i);
        if (i == currentIndex() || i == hoverIndex()) {
            p.setPen(i == currentIndex() ? Qt::black : QColor(160, 160, 160));
            p.setBrush(Qt::NoBrush);
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
        QRect box(0, 0, ShapeBox, ShapeBox);
        box.moveCenter(cell.center());
        p.setPen(ink);
        p.setBrush(ink);
        painter.drawShape(&p, box, choices().at(i).code, ShapeSize);
    }
    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
