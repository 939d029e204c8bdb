#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

class PdStyleWidget;

// The editor of a group level's format cell: only a small drop-down button in
// its bottom-right corner, over the cell's own text. The button opens a
// PdStyleWidget; its "Ok" is passed on as accepted().
class PdStyleCombo : public QWidget
{
    Q_OBJECT
public:
    explicit PdStyleCombo(QWidget *parent = nullptr);

    QFont textFont() const;
    void setTextFont(const QFont &font);
    QColor textColor() const;
    void setTextColor(const QColor &color);
    QColor background() const;
    void setBackground(const QColor &color);

    PdStyleWidget *popup() const { return m_popup; }
    QRect buttonRect() const;
    void showPopup();

    // Set from the popup's "Ok" until the delegate has written the value
    // back, so the model's echo does not reload the half-written editor.
    bool isWritingBack() const { return m_writingBack; }
    void setWritingBack(bool on) { m_writingBack = on; }

public slots:
    void hidePopup();

signals:
    void accepted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    PdStyleWidget *m_popup = nullptr;
    bool m_writingBack = false;
};
