#pragma once

#include "pdpickergrid.h"

#include <QColor>
#include <QVector>

// The colour popup: a fixed palette of named swatches, forty in a block and
// sixteen more below a separator. Entry 0, "No Color", is the invalid colour.
class PdColorWidget : public PdPickerGrid
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

    int choiceAt(const QPoint &pos) const override { return indexAt(pos); }
    QColor color() const;
    // Selects the last entry equal to `color` ("Plum+" rather than "Plum"),
    // or none when the palette lacks it.
    void setColor(const QColor &color);

    QSize sizeHint() const override;

signals:
    void selected(const QColor &color);

protected:
    int choiceCount() const override { return entries().size(); }
    QRect choiceRect(int choice) const override { return swatchRect(choice); }
    QString choiceName(int choice) const override { return entries().at(choice).name; }
    void choose(int choice) override { emit selected(entries().at(choice).color); }
    void paintEvent(QPaintEvent *event) override;
};
