#pragma once

#include <QWidget>

// The body of a picker popup: choices in cells laid out by the subclass. The
// pointer marks the cell under it, a click or Enter chooses, the arrow keys
// move the current cell across `columns` columns, and a tooltip names the cell.
class PdPickerGrid : public QWidget
{
    Q_OBJECT
public:
    explicit PdPickerGrid(int columns, QWidget *parent = nullptr);

    // -1 while the value matches no cell.
    int currentIndex() const { return m_current; }
    // Choice under `pos`, or -1: by default the first cell holding it.
    virtual int choiceAt(const QPoint &pos) const;

protected:
    virtual int choiceCount() const = 0;
    virtual QRect choiceRect(int choice) const = 0;
    // The choice's tooltip; none by default.
    virtual QString choiceName(int choice) const;
    // The user chose `choice`, which is now current.
    virtual void choose(int choice) = 0;

    int hoverIndex() const { return m_hover; }
    void setCurrent(int choice);

    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    const int m_columns;
    int m_current = -1;
    int m_hover = -1;
};
