#include "pdgroupedtreeviewdelegate.h"

PdGroupedTreeViewDelegate::PdGroupedTreeViewDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

PdGroupedTreeViewDelegate::~PdGroupedTreeViewDelegate() = default;

void PdGroupedTreeViewDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    if (option.version != MergedCellVersion) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The marker must not reach the style: an option of an unknown version
    // fails its casts there and the cell would paint as nothing.
    QStyleOptionViewItem opt = option;
    opt.version = QStyleOptionViewItem::Version;
    QStyledItemDelegate::paint(painter, opt, index.siblingAtColumn(m_groupColumn));
}

QSize PdGroupedTreeViewDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), m_rowHeight);
}
