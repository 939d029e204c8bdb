#pragma once

#include "pdganttviewbarstyle.h"

#include <QDialog>
#include <QList>
#include <QStringList>

class PdBarShapeCombo;
class PdColorCombo;
class PdEndPointCombo;
class PdGanttChartStylesDialogDelegate;
class PdGanttChartStylesDialogModel;
class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QModelIndex;
class QTableView;

namespace mygc {
class GanttChart;
}

// Edits the chart's list of bar styles: each style's name, shown flag, dates,
// end points, body and the column texts around the bar, with a preview row
// per style.
class PdGanttChartStylesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PdGanttChartStylesDialog(const QStringList &dateColumns, QWidget *parent = nullptr);
    ~PdGanttChartStylesDialog() override;

    // Names offered for the texts around a bar.
    void setTextColumns(const QStringList &columns);
    QStringList textColumns() const { return m_textColumns; }
    void setStyles(const QList<PdGanttViewBarStyle> &styles);
    QList<PdGanttViewBarStyle> styles() const;

    PdGanttChartStylesDialogModel *model() const { return m_model; }
    QTableView *table() const { return m_table; }

    // Runs the dialog over `chart`'s styles, offering the columns of
    // `activityModel`; on OK hands the edited list to the chart. Returns
    // whether the user accepted.
    static bool editChartStyles(mygc::GanttChart *chart, const QAbstractItemModel *activityModel,
                                QWidget *parent);

public slots:
    void rowChanged();
    void startPointChanged();
    void bodyChanged();
    void endPointChanged();
    void textChanged();
    void onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight);

private:
    void setupUi();
    QWidget *createBarsTab();
    QWidget *createTextTab();
    QWidget *createLayoutTab();
    void connectEditors();
    void loadEditors(int row);
    // Applies `change` to the style of the current row, if there is one.
    template<typename Change>
    void editCurrentStyle(Change change);

    QStringList m_dateColumns;
    QStringList m_textColumns;
    PdGanttChartStylesDialogModel *m_model = nullptr;
    PdGanttChartStylesDialogDelegate *m_delegate = nullptr;
    QTableView *m_table = nullptr;
    PdColorCombo *m_startColor = nullptr;
    PdEndPointCombo *m_startShape = nullptr;
    PdColorCombo *m_bodyColor = nullptr;
    PdBarShapeCombo *m_bodyShape = nullptr;
    PdColorCombo *m_endColor = nullptr;
    PdEndPointCombo *m_endShape = nullptr;
    // Text combos in the order their keys are written: left, right, top,
    // bottom, inside.
    QList<QComboBox *> m_textCombos;
    QDialogButtonBox *m_buttonBox = nullptr;
    // Set while a row is loaded into the editors, or an editor writes into
    // the row, so neither echoes back into the other.
    bool m_syncing = false;
};
