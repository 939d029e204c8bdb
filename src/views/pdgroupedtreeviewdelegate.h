#pragma once

#include <QStyledItemDelegate>

// Gives every row of the grouped tree one fixed height and paints a group
// row's merged cell with the text of its group column.
class PdGroupedTreeViewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // The version a view sets on an option to ask for the merged group cell.
    static constexpr int MergedCellVersion = 999;

    explicit PdGroupedTreeViewDelegate(QObject *parent = nullptr);
    ~PdGroupedTreeViewDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    int groupColumn() const { return m_groupColumn; }
    void setGroupColumn(int column) { m_groupColumn = column; }
    int rowHeight() const { return m_rowHeight; }
    void setRowHeight(int height) { m_rowHeight = height; }

private:
    int m_groupColumn = 0;
    int m_rowHeight = 22;
};
