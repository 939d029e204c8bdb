#include "pdgroupdialogdelegate.h"

#include "pdgroupdialog.h"
#include "pdmodelutils.h"
#include "pdstylecombo.h"

#include <QComboBox>

PdGroupDialogDelegate::PdGroupDialogDelegate(PdGroupDialog *dialog)
    : QStyledItemDelegate(dialog)
    , m_dialog(dialog)
{
    m_depthRules << QStringLiteral("All");
    for (int depth = 1; depth <= 10; ++depth)
        m_depthRules << QStringLiteral("To level %1").arg(depth);
}

QStringList PdGroupDialogDelegate::dateRules()
{
    return {QStringLiteral("No Rule"), QStringLiteral("Year"), QStringLiteral("Quarter"),
            QStringLiteral("Month"),   QStringLiteral("Week"), QStringLiteral("Day")};
}

QStringList PdGroupDialogDelegate::rulesFor(const QString &field) const
{
    const QAbstractItemModel *model = m_dialog->model();
    const int column = field.isEmpty() ? -1 : columnByName(model, field);
    if (column < 0)
        return {};
    // The catalogue's type, not a sample cell: a blank first date would
    // otherwise take the periods away from a date column.
    const QVariantMap descriptor = model->headerData(column, Qt::Horizontal, Qt::UserRole + 2).toMap();
    if (descriptor.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime"))
        return dateRules();
    if (m_dialog->isStructuredColumn(column))
        return m_depthRules;
    return {};
}

QStringList PdGroupDialogDelegate::fieldChoices() const
{
    QStringList fields;
    const QAbstractItemModel *model = m_dialog->model();
    if (!model)
        return fields;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (!m_dialog->isSystemColumn(c))
            fields << model->headerData(c, Qt::Horizontal).toString();
    }
    if (!fields.isEmpty())
        fields << QString();
    fields.sort(Qt::CaseSensitive);
    return fields;
}

QWidget *PdGroupDialogDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                             const QModelIndex &index) const
{
    switch (index.column()) {
    case FieldColumn: {
        auto *combo = new QComboBox(parent);
        combo->addItems(fieldChoices());
        return combo;
    }
    case RuleColumn: {
        const QString field = index.sibling(index.row(), FieldColumn).data().toString();
        const QStringList rules = rulesFor(field);
        if (rules.isEmpty())
            return nullptr;
        auto *combo = new QComboBox(parent);
        combo->addItems(rules);
        return combo;
    }
    case FormatColumn: {
        auto *combo = new PdStyleCombo(parent);
        connect(combo, &PdStyleCombo::accepted, this, &PdGroupDialogDelegate::closeAndCommitEditor);
        return combo;
    }
    default:
        return nullptr;
    }
}

void PdGroupDialogDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(qMax(0, combo->findText(index.data().toString())));
        return;
    }
    auto *style = qobject_cast<PdStyleCombo *>(editor);
    if (!style || style->isWritingBack())
        return;
    style->setBackground(index.data(Qt::BackgroundRole).value<QBrush>().color());
    const QVariant font = index.data(Qt::FontRole);
    style->setTextFont(font.canConvert<QFont>() ? font.value<QFont>() : QFont());
    style->setTextColor(index.data(Qt::ForegroundRole).value<QColor>());
}

void PdGroupDialogDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const QString text = combo->currentText();
        if (index.column() == FieldColumn) {
            // Only a new field resets the rule; leaving the combo on the same
            // field keeps the period or depth already chosen.
            if (index.data().toString() == text)
                return;
            model->setData(index, text);
            const int column = columnByName(m_dialog->model(), text);
            const bool structured = !text.isEmpty() && column >= 0 && m_dialog->isStructuredColumn(column);
            model->setData(index.sibling(index.row(), RuleColumn),
                           structured ? QStringLiteral("All") : QString());
        } else {
            model->setData(index, text);
        }
        return;
    }
    auto *style = qobject_cast<PdStyleCombo *>(editor);
    if (!style || !style->isWritingBack())
        return;
    if (style->background().isValid())
        model->setData(index, QBrush(style->background()), Qt::BackgroundRole);
    const QFont font = style->textFont();
    model->setData(index, font, Qt::FontRole);
    model->setData(index, QStringLiteral("%1").arg(font.family()), Qt::DisplayRole);
    const QColor text = style->textColor();
    model->setData(index, text.isValid() ? QVariant(text) : QVariant(), Qt::ForegroundRole);
    style->setWritingBack(false);
}

void PdGroupDialogDelegate::closeAndCommitEditor()
{
    auto *editor = qobject_cast<QWidget *>(sender());
    if (!editor)
        return;
    emit commitData(editor);
    emit closeEditor(editor);
}

void PdGroupDialogDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() != FormatColumn)
        return;
    // The sample is the point of the cell; a selection colour would hide it.
    option->state &= ~QStyle::State_Selected;
    if (index.data(Qt::ForegroundRole).isValid() || option->backgroundBrush.style() == Qt::NoBrush)
        return;
    // Without a text colour of its own the sample reads as the tree will
    // draw it: black on light bands, white on dark ones.
    const QColor background = option->backgroundBrush.color();
    const int brightness = (background.red() * 299 + background.green() * 587 + background.blue() * 114) / 1000;
    option->palette.setColor(QPalette::Text, brightness >= 150 ? QColor(Qt::black) : QColor(Qt::white));
}
