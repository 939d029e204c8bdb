#pragma once

#include "pdpickergrid.h"

#include <QColor>
#include <QVector>

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
class PdBarShapeWidget : public PdPickerGrid
{
    Q_OBJECT
public:
    explicit PdBarShapeWidget(QWidget *parent = nullptr);

    static const QVector<PdBarShape> &presets();
    // Position of `shape` among the presets, or -1.
    static int presetOf(const PdBarShape &shape);
    static constexpr int RowHeight = 22;

    void setCurrentIndex(int index);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

signals:
    void selected(int index);

protected:
    int choiceCount() const override { return presets().size(); }
    QRect choiceRect(int choice) const override { return {0, choice * RowHeight, width(), RowHeight}; }
    void choose(int choice) override { emit selected(choice); }
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color{0x99, 0xCC, 0xFF};
};
