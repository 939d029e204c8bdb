#pragma once

#include "pdpickergrid.h"

#include <QColor>
#include <QVector>

// The end-point popup: "<None>" and the eleven shapes in a grid. Each choice
// carries its own shape code, so the order shown never decides the code.
class PdEndPointWidget : public PdPickerGrid
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

    QRect cellRect(int choice) const;

    int currentCode() const;
    void setCurrentCode(int code);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

signals:
    void selected(int code);

protected:
    int choiceCount() const override { return choices().size(); }
    QRect choiceRect(int choice) const override { return cellRect(choice); }
    QString choiceName(int choice) const override { return choices().at(choice).name; }
    void choose(int choice) override { emit selected(choices().at(choice).code); }
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::black;
};
