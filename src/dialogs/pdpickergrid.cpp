#include "pdpickergrid.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

PdPickerGrid::PdPickerGrid(int columns, QWidget *parent)
    : QWidget(parent)
    , m_columns(qMax(1, columns))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

int PdPickerGrid::choiceAt(const QPoint &pos) const
{
    for (int i = 0; i < choiceCount(); ++i)
        if (choiceRect(i).contains(pos))
            return i;
    return -1;
}

QString PdPickerGrid::choiceName(int) const
{
    return QString();
}

void PdPickerGrid::setCurrent(int choice)
{
    m_current = choice;
    update();
}

bool PdPickerGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int i = choiceAt(help->pos());
        const QString name = i >= 0 ? choiceName(i) : QString();
        if (!name.isEmpty())
            QToolTip::showText(help->globalPos(), name, this, choiceRect(i));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PdPickerGrid::mouseMoveEvent(QMouseEvent *event)
{
    const int i = choiceAt(event->pos());
    if (i != m_hover) {
        m_hover = i;
        update();
    }
}

void PdPickerGrid::leaveEvent(QEvent *)
{
    m_hover = -1;
    update();
}

void PdPickerGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // A press outside closes a popup by itself; a drag that ends outside
    // must too. The colour grid also sits inside the style popup, which must
    // not lose it.
    if (!rect().contains(event->pos()) && windowType() == Qt::Popup) {
        close();
        return;
    }
    const int i = choiceAt(event->pos());
    if (i < 0)
        return;
    setCurrent(i);
    choose(i);
}

void PdPickerGrid::keyPressEvent(QKeyEvent *event)
{
    const int count = choiceCount();
    const int i = m_current;
    int next = i;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        // A single column reads Up and Down; Left and Right stay the parent's.
        if (m_columns == 1) {
            QWidget::keyPressEvent(event);
            return;
        }
        next = event->key() == Qt::Key_Left ? qMax(0, i - 1) : qMin(count - 1, i + 1);
        break;
    case Qt::Key_Up:
        next = i >= m_columns ? i - m_columns : i;
        break;
    case Qt::Key_Down:
        next = i + m_columns < count ? i + m_columns : i;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A value no cell shows stays as it is.
        if (m_current >= 0)
            choose(m_current);
        return;
    default:
        // Escape closes a popup here.
        QWidget::keyPressEvent(event);
        return;
    }
    // From a value no cell shows, any arrow lands on the first cell.
    setCurrent(i < 0 ? 0 : next);
}
