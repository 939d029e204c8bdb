#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

class PdGroupDialog;

// Editors of the group dialog's table: the field combo, the rule combo for
// date and structured fields, and the format popup.
class PdGroupDialogDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    enum Column { FieldColumn, RuleColumn, FormatColumn };

    explicit PdGroupDialogDelegate(PdGroupDialog *dialog);

    static QStringList dateRules();
    QStringList depthRules() const { return m_depthRules; }
    // The rules offered for `field`: periods for a date column, depths for a
    // structured one, none otherwise.
    QStringList rulesFor(const QString &field) const;
    // Header texts of the columns that may be grouped by, with an empty
    // entry first.
    QStringList fieldChoices() const;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

public slots:
    void closeAndCommitEditor();

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    PdGroupDialog *m_dialog;
    QStringList m_depthRules;
};
