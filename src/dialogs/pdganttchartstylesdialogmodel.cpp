#include "pdganttchartstylesdialogmodel.h"

PdGanttChartStylesDialogModel::PdGanttChartStylesDialogModel(QObject *parent)
    : QStandardItemModel(parent)
{
    PdGanttViewBarStyle::registerMetaType();
    setHorizontalHeaderLabels({tr("Name"), tr("Appearance")});
}

void PdGanttChartStylesDialogModel::setStyles(const QList<PdGanttViewBarStyle> &styles)
{
    clear();
    if (styles.isEmpty()) {
        setHorizontalHeaderLabels({tr("Name"), tr("Appearance")});
        return;
    }
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({tr("Show"), tr("Name"), tr("Start date"), tr("Finish date"), tr("Appearance")});
    for (const PdGanttViewBarStyle &s : styles) {
        auto *show = new QStandardItem;
        show->setData(s.visible, ValueRole);
        auto *appearance = new QStandardItem;
        appearance->setData(QVariant::fromValue(s), ValueRole);
        appendRow({show, new QStandardItem(s.styleName), new QStandardItem(s.startDate),
                   new QStandardItem(s.finishDate), appearance});
    }
}

QList<PdGanttViewBarStyle> PdGanttChartStylesDialogModel::styles() const
{
    QList<PdGanttViewBarStyle> list;
    if (columnCount() < ColumnCount)
        return list;
    for (int row = 0; row < rowCount(); ++row) {
        PdGanttViewBarStyle s = style(row);
        s.styleName = index(row, NameColumn).data().toString();
        s.startDate = index(row, StartColumn).data().toString();
        s.finishDate = index(row, FinishColumn).data().toString();
        s.visible = isShown(row);
        list.append(s);
    }
    return list;
}

PdGanttViewBarStyle PdGanttChartStylesDialogModel::style(int row) const
{
    return index(row, AppearanceColumn).data(ValueRole).value<PdGanttViewBarStyle>();
}

void PdGanttChartStylesDialogModel::setStyle(int row, const PdGanttViewBarStyle &style)
{
    setData(index(row, AppearanceColumn), QVariant::fromValue(style), ValueRole);
}

bool PdGanttChartStylesDialogModel::isShown(int row) const
{
    return index(row, ShowColumn).data(ValueRole).toBool();
}

Qt::ItemFlags PdGanttChartStylesDialogModel::flags(const QModelIndex &index) const
{
    Q_ASSERT(!index.isValid() || index.model() == this);
    if (!index.isValid() || columnCount() < ColumnCount)
        return QStandardItemModel::flags(index);
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (index.column()) {
    case ShowColumn:
        return base | Qt::ItemIsUserCheckable;
    case NameColumn:
        return base | Qt::ItemIsEditable;
    case StartColumn:
    case FinishColumn:
        return isShown(index.row()) ? base | Qt::ItemIsEditable : base;
    default:
        return base;
    }
}
