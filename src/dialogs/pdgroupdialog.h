#pragma once

#include "pdgrouplevel.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <QPointer>

class Activities;
class PdGroupDialogDelegate;
class QAbstractItemModel;
class QDialogButtonBox;
class QTableWidget;
class QTableWidgetItem;

// Chooses up to ten grouping levels for the activity tree: per level a field,
// a rule (a period for dates, a depth for structured fields) and the font and
// colours of its group rows.
class PdGroupDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int LevelCount = 10;

    explicit PdGroupDialog(QWidget *parent = nullptr);
    ~PdGroupDialog() override;

    void setModel(QAbstractItemModel *model);
    QAbstractItemModel *model() const { return m_model; }
    // Leaves a column out of the field choice, or lets it back in.
    void excludeColumn(int column, bool exclude = true);
    void markStructured(int column);
    bool isSystemColumn(int column) const { return m_systemColumns.contains(column); }
    bool isStructuredColumn(int column) const { return m_structuredColumns.contains(column); }
    // Marks structured and system columns as the model's column descriptors
    // say.
    void readColumnDescriptors();

    void setLevels(const QList<PdGroupLevel> &levels);
    // All ten rows; the levels in use come first, in the order shown, so a
    // gap between chosen rows does not end the grouping early.
    QList<PdGroupLevel> levels() const;

    QTableWidget *table() const { return m_table; }
    PdGroupDialogDelegate *delegate() const { return m_delegate; }

    // Runs the dialog over the activities view's grouping; on OK hands the
    // levels to the view. Returns whether the user accepted.
    static bool editGrouping(Activities *activities, QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setRow(int row, const PdGroupLevel &level);
    void hoverItem(QTableWidgetItem *item);

    QTableWidget *m_table = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
    PdGroupDialogDelegate *m_delegate = nullptr;
    QPointer<QAbstractItemModel> m_model;
    QList<int> m_systemColumns;
    QMap<int, int> m_structuredColumns;
    QTableWidgetItem *m_hoverItem = nullptr;
};
