#pragma once

#include <QPointer>
#include <QWidget>

// A closed, combo-box-like button that paints its current value and opens a
// popup with every choice. Subclasses paint the value and own the popup.
class PdPickerCombo : public QWidget
{
    Q_OBJECT
public:
    explicit PdPickerCombo(QWidget *parent = nullptr);

    QWidget *popup() const { return m_popup; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void showPopup();
    void hidePopup();

protected:
    // Makes `popup` a frameless popup window owned by this combo.
    void setPopup(QWidget *popup);
    // Paints the current value inside the combo's edit area.
    virtual void paintValue(QPainter *painter, const QRect &rect) const = 0;

    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPointer<QWidget> m_popup;
};
