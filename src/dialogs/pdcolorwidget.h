#pragma once

#include <QColor>
#include <QVector>
#include <QWidget>

// The colour popup: a fixed palette of named swatches, forty in a block and
// sixteen more below a separator. Entry 0, "No Color", is the invalid colour.
class PdColorWidget : public QWidget
{
    Q_OBJECT
public:
    struct Entry
    {
        QString name;
        QColor color;
    };

    explicit PdColorWidget(QWidget *parent = nullptr);
    explicit PdColorWidget(const QColor &initial, QWidget *parent = nullptr);

    static const QVector<Entry> &entries();
    // Palette entry under `pos`, or -1.
    static int indexAt(const QPoint &pos);
    static QRect swatchRect(int index);

    int currentIndex() const { return m_current; }
    QColor color() const;
    // Selects the last entry equal to `color` ("Plum+" rather than "Plum"),
    // or none when the palette lacks it.
    void setColor(const QColor &color);

    QSize sizeHint() const override;

signals:
    void selected(const QColor &color);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_current = -1;
    int m_hover = -1;
};
