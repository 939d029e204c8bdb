#include "pdendpointwidget.h"

#include "pditempainter.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int Columns = 4;
constexpr int Rows = 3;
constexpr int ShapeBox = 12;
constexpr int ShapeSize = 11;

} // namespace

PdEndPointWidget::PdEndPointWidget(QWidget *parent)
    : QWidget(parent)
{
    resize(60, 54);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
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

int PdEndPointWidget::choiceAt(const QPoint &pos) const
{
    for (int i = 0; i < choices().size(); ++i)
        if (cellRect(i).contains(pos))
            return i;
    return -1;
}

int PdEndPointWidget::currentCode() const
{
    return choices().value(m_current, choices().first()).code;
}

void PdEndPointWidget::setCurrentCode(int code)
{
    m_current = qMax(0, choiceOfCode(code));
    update();
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

bool PdEndPointWidget::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int i = choiceAt(help->pos());
        if (i >= 0)
            QToolTip::showText(help->globalPos(), choices().at(i).name, this, cellRect(i));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PdEndPointWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QColor ink = m_color.isValid() ? m_color : palette().color(QPalette::Text);
    PdItemPainter painter;
    for (int i = 0; i < choices().size(); ++i) {
        const QRect cell = cellRect(i);
        if (i == m_current || i == m_hover) {
            p.setPen(i == m_current ? Qt::black : QColor(160, 160, 160));
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

void PdEndPointWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int i = choiceAt(event->pos());
    if (i != m_hover) {
        m_hover = i;
        update();
    }
}

void PdEndPointWidget::leaveEvent(QEvent *)
{
    m_hover = -1;
    update();
}

void PdEndPointWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int i = choiceAt(event->pos());
    if (i < 0)
        return;
    m_current = i;
    update();
    emit selected(choices().at(i).code);
}

void PdEndPointWidget::keyPressEvent(QKeyEvent *event)
{
    const int count = choices().size();
    int i = m_current;
    switch (event->key()) {
    case Qt::Key_Left: i = qMax(0, i - 1); break;
    case Qt::Key_Right: i = qMin(count - 1, i + 1); break;
    case Qt::Key_Up: i = i >= Columns ? i - Columns : i; break;
    case Qt::Key_Down: i = i + Columns < count ? i + Columns : i; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit selected(currentCode());
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    m_current = i;
    update();
}
