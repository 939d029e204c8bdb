#include "pdganttchartstylesdialogdelegate.h"

#include "pdganttchartstylesdialogmodel.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QPainter>

using Model = PdGanttChartStylesDialogModel;

PdGanttChartStylesDialogDelegate::PdGanttChartStylesDialogDelegate(QObject *parent)
    : mygc::PdGanttViewDelegate(parent)
{
}

QRect PdGanttChartStylesDialogDelegate::previewRect(const QRect &cell)
{
    QRect preview(0, 0, PreviewWidth, PreviewHeight);
    preview.moveCenter(cell.center());
    return preview;
}

QRect PdGanttChartStylesDialogDelegate::checkRect(const QStyleOptionViewItem &option)
{
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    QStyleOptionButton button;
    const int w = style->pixelMetric(QStyle::PM_IndicatorWidth, &button, option.widget);
    const int h = style->pixelMetric(QStyle::PM_IndicatorHeight, &button, option.widget);
    QRect box(0, 0, w, h);
    box.moveCenter(option.rect.center());
    return box;
}

void PdGanttChartStylesDialogDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                             const QModelIndex &index) const
{
    if (index.column() == Model::ShowColumn && index.model()->columnCount() >= Model::ColumnCount) {
        QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionButton button;
        button.rect = checkRect(option);
        button.state = QStyle::State_Enabled
            | (index.data(Model::ValueRole).toBool() ? QStyle::State_On : QStyle::State_Off);
        const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &button, painter, option.widget);
        return;
    }
    const QVariant value = index.data(Model::ValueRole);
    if (!value.canConvert<PdGanttViewBarStyle>()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The window colour instead of the highlight keeps the preview's own
    // colours readable on the selected row.
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, option.palette.color(QPalette::Window));
    const PdGanttViewBarStyle style = value.value<PdGanttViewBarStyle>();
    const QRect preview = previewRect(option.rect);
    painter->save();
    painter->setClipRect(option.rect);
    paintBar(painter, option, preview, style);
    paintTexts(painter, option, preview, style);
    painter->restore();
}

QSize PdGanttChartStylesDialogDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QVariant value = index.data(Model::ValueRole);
    if (!value.canConvert<PdGanttViewBarStyle>())
        return size;
    // Room for a text above and below the bar when the style writes one.
    const auto columns = value.value<PdGanttViewBarStyle>().displayColumns;
    const int textHeight = option.fontMetrics.height();
    const bool above = columns.contains(32);
    const bool below = columns.contains(64);
    const int height = PreviewHeight + 6 + ((above || below) ? 2 * textHeight : 0);
    return {qMax(size.width(), PreviewWidth + 20), qMax(size.height(), height)};
}

QWidget *PdGanttChartStylesDialogDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                                        const QModelIndex &index) const
{
    switch (index.column()) {
    case Model::StartColumn:
    case Model::FinishColumn: {
        auto *combo = new QComboBox(parent);
        combo->addItems(m_dateColumns);
        return combo;
    }
    case Model::NameColumn:
        return QStyledItemDelegate::createEditor(parent, option, index);
    default:
        return nullptr;
    }
}

void PdGanttChartStylesDialogDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    // A name the list lacks (a layout may name any column) is offered too, so
    // opening and leaving the editor never changes the cell.
    const QString text = index.data().toString();
    int i = combo->findText(text);
    if (i < 0) {
        combo->insertItem(0, text);
        i = 0;
    }
    combo->setCurrentIndex(i);
}

void PdGanttChartStylesDialogDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                                    const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        model->setData(index, combo->currentText());
    else
        QStyledItemDelegate::setModelData(editor, model, index);
}

bool PdGanttChartStylesDialogDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (index.column() == Model::ShowColumn && model->columnCount() >= Model::ColumnCount
        && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && option.rect.contains(mouse->pos())) {
            model->setData(index, !index.data(Model::ValueRole).toBool(), Model::ValueRole);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
