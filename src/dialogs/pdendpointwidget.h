#pragma once

#include <QColor>
#include <QVector>
#include <QWidget>

// The end-point popup: "<None>" and the eleven shapes in a grid. Each choice
// carries its own shape code, so the order shown never decides the code.
class PdEndPointWidget : public QWidget
{
    Q_OBJECT
public:
    struct Choice
    {
        QString name;
        int code;
    };

    explicit PdEndPointWidget(QWidget *parent = nullptr);

    static const QVector<Choice> &choices();
    // Position in choices() of a shape code, or -1.
    static int choiceOfCode(int code);

    int choiceAt(const QPoint &pos) const;
    QRect cellRect(int choice) const;

    int currentCode() const;
    void setCurrentCode(int code);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

signals:
    void selected(int code);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_current = 0;
    int m_hover = -1;
    QColor m_color = Qt::black;
};
