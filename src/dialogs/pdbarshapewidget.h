#pragma once

#include <QColor>
#include <QVector>
#include <QWidget>

// A bar body: its height and its distance from the row top, in pixels.
struct PdBarShape
{
    int height = 0;
    int offset = 0;

    bool operator==(const PdBarShape &other) const { return height == other.height && offset == other.offset; }
    bool operator!=(const PdBarShape &other) const { return !(*this == other); }
};

// The bar shape popup: one row per body preset, drawn as it would sit in a
// chart row.
class PdBarShapeWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PdBarShapeWidget(QWidget *parent = nullptr);

    static const QVector<PdBarShape> &presets();
    // Position of `shape` among the presets, or -1.
    static int presetOf(const PdBarShape &shape);
    static constexpr int RowHeight = 22;

    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }
    int rowAt(const QPoint &pos) const;

    QSize sizeHint() const override;

signals:
    void selected(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_current = -1;
    int m_hover = -1;
    QColor m_color{0x99, 0xCC, 0xFF};
};
