#include "pdsortfilterdelegate.h"

#include "pdgroupedcolumndialog.h"
#include "pdsortfilterwidget.h"

#include <QAbstractItemView>
#include <QCursor>

PdSortFilterDelegate::PdSortFilterDelegate(PdSortFilterWidget *controller, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_controller(controller)
{
}

void PdSortFilterDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (!m_controller)
        return;
    const QVariant column = index.data(PdGroupedColumnDialog::ColumnRole);
    if (column.isValid()) {
        QPoint cursor(-1, -1);
        if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
            cursor = view->viewport()->mapFromGlobal(QCursor::pos());
        m_controller->paintSection(painter, option.rect, column.toInt(), cursor);
        return;
    }
    QList<int> columns;
    const QAbstractItemModel *model = index.model();
    for (int row = 0; row < model->rowCount(index); ++row)
        columns.append(model->index(row, 0, index).data(PdGroupedColumnDialog::ColumnRole).toInt());
    m_controller->paintGroupSection(painter, option.rect, columns);
}
