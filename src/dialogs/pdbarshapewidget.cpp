#include "pdbarshapewidget.h"

#include "pditempainter.h"

#include <QPainter>

PdBarShapeWidget::PdBarShapeWidget(QWidget *parent)
    : PdPickerGrid(1, parent)
{
}

const QVector<PdBarShape> &PdBarShapeWidget::presets()
{
    static const QVector<PdBarShape> list{{0, 0}, {11, 6}, {5, 3}, {5, 9}, {5, 12},
                                          {3, 6}, {3, 10}, {3, 14}, {3, 18}};
    return list;
}

int PdBarShapeWidget::presetOf(const PdBarShape &shape)
{
    return presets().indexOf(shape);
}

void PdBarShapeWidget::setCurrentIndex(int index)
{
    setCurrent(index >= 0 && index < presets().size() ? index : -1);
}

void PdBarShapeWidget::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QSize PdBarShapeWidget::sizeHint() const
{
    const int width = parentWidget() ? parentWidget()->width() : 100;
    return {width, RowHeight * int(presets().size())};
}

void PdBarShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    PdItemPainter painter;
    const QBrush brush(m_color.isValid() ? m_color : palette().color(QPalette::Text));
    for (int i = 0; i < presets().size(); ++i) {
        const QRect row(0, i * RowHeight, width(), RowHeight);
        const PdBarShape &shape = presets().at(i);
        if (shape.height > 0) {
            painter.drawInnerBar(&p, row.adjusted(6, 0, -6, 0), brush, shape.height, shape.offset);
        } else {
            p.setPen(palette().color(QPalette::PlaceholderText));
            p.drawText(row, Qt::AlignCenter, tr("No bar"));
        }
        if (i == currentIndex() || i == hoverIndex()) {
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(row.adjusted(1, 1, -2, -2));
        }
    }
}
