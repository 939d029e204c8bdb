#pragma once

#include "pdganttviewdelegate.h"

#include <QStringList>

// Paints the bar styles table: a centred check box for "Show", a preview of
// the style under "Appearance", and date-column combos for the two dates.
class PdGanttChartStylesDialogDelegate : public mygc::PdGanttViewDelegate
{
    Q_OBJECT
public:
    explicit PdGanttChartStylesDialogDelegate(QObject *parent = nullptr);

    void setDateColumns(const QStringList &columns) { m_dateColumns = columns; }
    QStringList dateColumns() const { return m_dateColumns; }

    static constexpr int PreviewWidth = 200;
    static constexpr int PreviewHeight = 22;
    // The preview rectangle of an "Appearance" cell.
    static QRect previewRect(const QRect &cell);
    // The check box of a "Show" cell.
    static QRect checkRect(const QStyleOptionViewItem &option);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    QStringList m_dateColumns;
};
