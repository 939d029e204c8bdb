#pragma once

#include <QWidget>

// A sheet of paper drawn upright or on its side; clicking it picks that
// orientation. Two of them make a pair that unchecks each other.
class PdPageSelectorButton : public QWidget
{
    Q_OBJECT
public:
    enum Orientation { Portrait = 0, Landscape = 1 };

    explicit PdPageSelectorButton(QWidget *parent = nullptr);

    void setOrientation(Orientation orientation);
    Orientation orientation() const { return m_orientation; }
    bool isChecked() const { return m_checked; }
    void setChecked(bool checked);
    QSize sizeHint() const override;

signals:
    void pageOrientChecked();

public slots:
    void setUnchecked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect outline() const;

    Orientation m_orientation = Portrait;
    bool m_checked = false;
};
