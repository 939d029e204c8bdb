#include "pdganttchartstylesdialog.h"

#include "ganttchart.h"
#include "pdbarshapecombo.h"
#include "pdcolorcombo.h"
#include "pdendpointcombo.h"
#include "pdganttchartstylesdialogdelegate.h"
#include "pdganttchartstylesdialogmodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Model = PdGanttChartStylesDialogModel;

struct TextSlot
{
    const char *objectName;
    const char *placeholder;
    int key;
};

// In the order displayColumns is rewritten.
const TextSlot textSlots[] = {
    {"cmbLeft", "[Left]", 1},     {"cmbRight", "[Right]", 2},      {"cmbTop", "[Top]", 32},
    {"cmbBottom", "[Bottom]", 64}, {"cmbInside", "[Inside]", 132},
};

QGroupBox *pickerGroup(const QString &title, QWidget *color, QWidget *shape)
{
    auto *group = new QGroupBox(title);
    auto *form = new QFormLayout(group);
    form->addRow(PdGanttChartStylesDialog::tr("Color:"), color);
    form->addRow(PdGanttChartStylesDialog::tr("Shape:"), shape);
    return group;
}

QComboBox *formatCombo(const char *name, const QStringList &items)
{
    auto *combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    combo->addItems(items);
    return combo;
}

} // namespace

PdGanttChartStylesDialog::PdGanttChartStylesDialog(const QStringList &dateColumns, QWidget *parent)
    : QDialog(parent)
    , m_dateColumns(dateColumns)
{
    setupUi();
    connectEditors();
    setTextColumns({});
}

PdGanttChartStylesDialog::~PdGanttChartStylesDialog() = default;

void PdGanttChartStylesDialog::setupUi()
{
    setWindowTitle(tr("Bar Styles"));
    m_model = new PdGanttChartStylesDialogModel(this);
    m_delegate = new PdGanttChartStylesDialogDelegate(this);
    m_delegate->setDateColumns(m_dateColumns);

    auto *outer = new QTabWidget;
    outer->addTab(createBarsTab(), tr("Bars"));
    outer->addTab(createLayoutTab(), tr("Layout"));

    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(outer);
    layout->addWidget(m_buttonBox);
    resize(720, 540);
}

QWidget *PdGanttChartStylesDialog::createBarsTab()
{
    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setModel(m_model);
    m_table->setItemDelegate(m_delegate);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();

    m_startColor = new PdColorCombo;
    m_startColor->setObjectName(QStringLiteral("cmbStartColor"));
    m_startShape = new PdEndPointCombo;
    m_startShape->setObjectName(QStringLiteral("cmbStartShape"));
    m_bodyColor = new PdColorCombo;
    m_bodyColor->setObjectName(QStringLiteral("cmbBodyColor"));
    m_bodyShape = new PdBarShapeCombo;
    m_bodyShape->setObjectName(QStringLiteral("cmbBodyShape"));
    m_endColor = new PdColorCombo;
    m_endColor->setObjectName(QStringLiteral("cmbEndColor"));
    m_endShape = new PdEndPointCombo;
    m_endShape->setObjectName(QStringLiteral("cmbEndShape"));
    for (PdPickerCombo *combo : std::initializer_list<PdPickerCombo *>{
             m_startColor, m_startShape, m_bodyColor, m_bodyShape, m_endColor, m_endShape})
        combo->setFixedHeight(28);

    auto *bars = new QWidget;
    auto *barsLayout = new QHBoxLayout(bars);
    barsLayout->addWidget(pickerGroup(tr("Start Point"), m_startColor, m_startShape));
    barsLayout->addWidget(pickerGroup(tr("Bar"), m_bodyColor, m_bodyShape));
    barsLayout->addWidget(pickerGroup(tr("End Point"), m_endColor, m_endShape));

    auto *inner = new QTabWidget;
    inner->addTab(bars, tr("Bars"));
    inner->addTab(createTextTab(), tr("Text"));

    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(m_table, 1);
    layout->addWidget(inner);
    return tab;
}

QWidget *PdGanttChartStylesDialog::createTextTab()
{
    auto *tab = new QWidget;
    auto *grid = new QGridLayout(tab);
    // Laid out where each text goes around the bar.
    const QPoint cells[] = {{0, 1}, {2, 1}, {1, 0}, {1, 2}, {1, 1}};
    for (int i = 0; i < 5; ++i) {
        auto *combo = new QComboBox;
        combo->setObjectName(QLatin1String(textSlots[i].objectName));
        combo->setMinimumContentsLength(12);
        m_textCombos.append(combo);
        grid->addWidget(combo, cells[i].y(), cells[i].x());
    }
    return tab;
}

QWidget *PdGanttChartStylesDialog::createLayoutTab()
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    const std::pair<const char *, QString> checks[] = {
        {"chkShowLinks", tr("Show Links")},
        {"chkShowVerticalLines", tr("Show Vertical Lines")},
        {"chkShowAlternating", tr("Show Alternating Row Colors")},
    };
    for (const auto &check : checks) {
        auto *box = new QCheckBox(check.second);
        box->setObjectName(QLatin1String(check.first));
        layout->addWidget(box);
    }
    auto *formats = new QGroupBox(tr("Date formats"));
    auto *form = new QFormLayout(formats);
    form->addRow(tr("Year"), formatCombo("cmbYear", {"2017", "17", "'17"}));
    form->addRow(tr("Quarter"), formatCombo("cmbQuarter", {"Q1", "First Quarter", "Q1 2017"}));
    form->addRow(tr("Month"), formatCombo("cmbMonth", {"1", "01", "Jan", "January"}));
    form->addRow(tr("Week"), formatCombo("cmbWeek", {"W1", "W01", "Week 1", "Week 01", "01 Jan '17"}));
    form->addRow(tr("Day"), formatCombo("cmbDay", {"1", "01", "01-01", "01 01 '17", "M"}));
    layout->addWidget(formats);
    layout->addStretch(1);
    return tab;
}

void PdGanttChartStylesDialog::connectEditors()
{
    connect(m_startColor, &PdColorCombo::colorChanged, this, &PdGanttChartStylesDialog::startPointChanged);
    connect(m_startShape, &PdEndPointCombo::endpointChanged, this, &PdGanttChartStylesDialog::startPointChanged);
    connect(m_bodyColor, &PdColorCombo::colorChanged, this, &PdGanttChartStylesDialog::bodyChanged);
    connect(m_bodyShape, &PdBarShapeCombo::shapeChanged, this, &PdGanttChartStylesDialog::bodyChanged);
    connect(m_endColor, &PdColorCombo::colorChanged, this, &PdGanttChartStylesDialog::endPointChanged);
    connect(m_endShape, &PdEndPointCombo::endpointChanged, this, &PdGanttChartStylesDialog::endPointChanged);
    for (QComboBox *combo : qAsConst(m_textCombos))
        connect(combo, &QComboBox::currentTextChanged, this, &PdGanttChartStylesDialog::textChanged);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PdGanttChartStylesDialog::rowChanged);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &PdGanttChartStylesDialog::onDataChanged);
}

void PdGanttChartStylesDialog::setTextColumns(const QStringList &columns)
{
    m_textColumns = columns;
    m_syncing = true;
    // The placeholder goes in front of the columns rather than over the
    // first one, so every column stays choosable and a column whose name
    // holds a "[" is not taken for "no text".
    for (int i = 0; i < m_textCombos.size(); ++i) {
        QComboBox *combo = m_textCombos.at(i);
        combo->clear();
        combo->addItem(QLatin1String(textSlots[i].placeholder));
        combo->addItems(columns);
    }
    m_syncing = false;
    loadEditors(m_table->currentIndex().row());
}

void PdGanttChartStylesDialog::setStyles(const QList<PdGanttViewBarStyle> &styles)
{
    m_syncing = true;
    m_model->setStyles(styles);
    m_syncing = false;
    m_table->setCurrentIndex(m_model->index(0, Model::FinishColumn));
    loadEditors(m_table->currentIndex().row());
    m_table->resizeColumnToContents(Model::ShowColumn);
    m_table->resizeRowsToContents();
}

QList<PdGanttViewBarStyle> PdGanttChartStylesDialog::styles() const
{
    return m_model->styles();
}

void PdGanttChartStylesDialog::rowChanged()
{
    loadEditors(m_table->currentIndex().row());
}

void PdGanttChartStylesDialog::loadEditors(int row)
{
    if (row < 0 || row >= m_model->rowCount() || m_model->columnCount() < Model::ColumnCount)
        return;
    const PdGanttViewBarStyle style = m_model->style(row);
    m_syncing = true;
    m_startColor->setColor(style.startPointColor);
    m_startShape->setShapeName(style.startPointShape);
    m_startShape->setColor(style.startPointColor);
    m_bodyColor->setColor(style.bodyColor);
    m_bodyShape->setShape({style.bodyShapeHeight, style.bodyShapeOffset});
    m_bodyShape->setColor(style.bodyColor);
    m_endColor->setColor(style.endPointColor);
    m_endShape->setShapeName(style.endPointShape);
    m_endShape->setColor(style.endPointColor);

    for (QComboBox *combo : qAsConst(m_textCombos))
        combo->setCurrentIndex(0);
    for (auto it = style.displayColumns.cbegin(); it != style.displayColumns.cend(); ++it) {
        int slot = 0;
        while (slot < 5 && textSlots[slot].key != it.key())
            ++slot;
        // The chart writes any other position on the left; so does the editor.
        if (slot == 5)
            slot = 0;
        QComboBox *combo = m_textCombos.at(slot);
        int i = combo->findText(it.value(), Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (i <= 0) {
            combo->addItem(it.value());
            i = combo->count() - 1;
        }
        combo->setCurrentIndex(i);
    }
    m_syncing = false;
}

template<typename Change>
void PdGanttChartStylesDialog::editCurrentStyle(Change change)
{
    const int row = m_table->currentIndex().row();
    if (m_syncing || row < 0 || m_model->columnCount() < Model::ColumnCount)
        return;
    PdGanttViewBarStyle style = m_model->style(row);
    change(style);
    m_syncing = true;
    m_model->setStyle(row, style);
    m_syncing = false;
    m_table->resizeRowToContents(row);
}

void PdGanttChartStylesDialog::startPointChanged()
{
    m_startShape->setColor(m_startColor->color());
    editCurrentStyle([this](PdGanttViewBarStyle &s) {
        s.startPointColor = m_startColor->color();
        s.startPointShape = m_startShape->shapeName();
    });
}

void PdGanttChartStylesDialog::bodyChanged()
{
    m_bodyShape->setColor(m_bodyColor->color());
    editCurrentStyle([this](PdGanttViewBarStyle &s) {
        s.bodyColor = m_bodyColor->color();
        s.bodyShapeHeight = m_bodyShape->shape().height;
        s.bodyShapeOffset = m_bodyShape->shape().offset;
    });
}

void PdGanttChartStylesDialog::endPointChanged()
{
    m_endShape->setColor(m_endColor->color());
    editCurrentStyle([this](PdGanttViewBarStyle &s) {
        s.endPointColor = m_endColor->color();
        s.endPointShape = m_endShape->shapeName();
    });
}

void PdGanttChartStylesDialog::textChanged()
{
    editCurrentStyle([this](PdGanttViewBarStyle &s) {
        s.displayColumns.clear();
        for (int i = 0; i < m_textCombos.size(); ++i) {
            const QComboBox *combo = m_textCombos.at(i);
            if (combo->currentIndex() > 0)
                s.displayColumns.insert(textSlots[i].key, combo->currentText());
        }
    });
}

void PdGanttChartStylesDialog::onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight)
{
    if (m_syncing)
        return;
    const int row = m_table->currentIndex().row();
    if (row >= topLeft.row() && row <= bottomRight.row() && bottomRight.column() >= Model::AppearanceColumn)
        loadEditors(row);
}

bool PdGanttChartStylesDialog::editChartStyles(mygc::GanttChart *chart, const QAbstractItemModel *activityModel,
                                               QWidget *parent)
{
    if (!chart)
        return false;
    QStringList dateColumns;
    QStringList textColumns;
    if (activityModel) {
        for (int c = 0; c < activityModel->columnCount(); ++c) {
            const QVariantMap descriptor = activityModel->headerData(c, Qt::Horizontal, Qt::UserRole + 2).toMap();
            if (descriptor.value(QStringLiteral("group")).toString() == QLatin1String("system"))
                continue;
            const QString name = activityModel->headerData(c, Qt::Horizontal).toString();
            if (descriptor.value(QStringLiteral("datatype")).toString() == QLatin1String("datetime"))
                dateColumns.append(name);
            textColumns.append(name);
        }
    }
    PdGanttChartStylesDialog dialog(dateColumns, parent);
    dialog.setTextColumns(textColumns);
    dialog.setStyles(chart->barStyles());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    chart->setBarStyles(dialog.styles());
    return true;
}
