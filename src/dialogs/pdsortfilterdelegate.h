#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

class PdSortFilterWidget;

// Draws the column chooser's entries with the header's filter button and
// state icons, so a column can be filtered from the chooser as from the
// header. A group entry shows the filter icon when any of its columns is
// filtered.
class PdSortFilterDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    PdSortFilterDelegate(PdSortFilterWidget *controller, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPointer<PdSortFilterWidget> m_controller;
};
