#pragma once

#include "pdganttviewbarstyle.h"

#include <QList>
#include <QStyledItemDelegate>

namespace mygc {

// Paints one bar style as a preview inside a cell: its body, its end shapes
// and the names of the columns it writes around the bar. Dialogs that list
// styles derive from it and call the painting steps from their paint().
class PdGanttViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit PdGanttViewDelegate(QObject *parent = nullptr);

    PdGanttViewBarStyle defaultStyle() const { return m_defaultStyle; }
    void setDefaultStyle(const PdGanttViewBarStyle &style) { m_defaultStyle = style; }
    QList<PdGanttViewBarStyle> styles() const { return m_styles; }
    void setStyles(const QList<PdGanttViewBarStyle> &styles) { m_styles = styles; }

    // The body and the two end shapes of `style` over `rect`.
    void paintBar(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                  const PdGanttViewBarStyle &style) const;
    // The display column names of `style` at their positions around `rect`.
    void paintTexts(QPainter *painter, const QStyleOptionViewItem &option, const QRect &rect,
                    const PdGanttViewBarStyle &style) const;

    // Where paintTexts() puts `text` for a text position around `rect`, and
    // how it aligns it there.
    static QRect textBox(int position, const QRect &rect, int textWidth, int *alignment = nullptr);

private:
    PdGanttViewBarStyle m_defaultStyle;
    QList<PdGanttViewBarStyle> m_styles;
};

} // namespace mygc
