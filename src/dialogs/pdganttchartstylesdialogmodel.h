#pragma once

#include "pdganttviewbarstyle.h"

#include <QStandardItemModel>

// The bar styles dialog's table: one row per style. The "Show" flag lives in
// column 0's user role and the whole style in column 4's, which the delegate
// paints as a preview.
class PdGanttChartStylesDialogModel : public QStandardItemModel
{
    Q_OBJECT
public:
    enum Column { ShowColumn, NameColumn, StartColumn, FinishColumn, AppearanceColumn, ColumnCount };
    static constexpr int ValueRole = Qt::UserRole;

    explicit PdGanttChartStylesDialogModel(QObject *parent = nullptr);

    void setStyles(const QList<PdGanttViewBarStyle> &styles);
    // The table read back in row order: each style from column 4, with its
    // name, dates and "Show" flag from the other columns.
    QList<PdGanttViewBarStyle> styles() const;

    PdGanttViewBarStyle style(int row) const;
    void setStyle(int row, const PdGanttViewBarStyle &style);
    bool isShown(int row) const;

    Qt::ItemFlags flags(const QModelIndex &index) const override;
};
