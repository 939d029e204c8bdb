#include "pdgroupdialog.h"

#include "activities.h"
#include "pdgroupdialogdelegate.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>

using Delegate = PdGroupDialogDelegate;

PdGroupDialog::PdGroupDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PdGroupSortDialog"));
    setWindowTitle(tr("Group"));
    resize(406, 328);

    m_table = new QTableWidget(LevelCount, 3, this);
    m_table->setObjectName(QStringLiteral("table"));
    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_buttonBox);

    m_delegate = new PdGroupDialogDelegate(this);
    m_table->setHorizontalHeaderLabels({tr("Group By"), tr("Rule"), tr("Format")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                             | QAbstractItemView::EditKeyPressed);
    m_table->setSortingEnabled(false);
    m_table->setItemDelegate(m_delegate);
    // Every row starts with the colours the view gives that level, so a
    // level first chosen here is not drawn without a background.
    const QList<PdGroupLevel> defaults = PdGroupLevel::defaultLevels();
    for (int row = 0; row < LevelCount; ++row)
        setRow(row, defaults.value(row));
    m_table->resizeColumnsToContents();
    m_table->setColumnWidth(Delegate::FieldColumn, 150);
    m_table->setColumnWidth(Delegate::RuleColumn, 100);
    m_table->resizeRowsToContents();

    m_table->setMouseTracking(true);
    m_table->setAttribute(Qt::WA_Hover);
    m_table->viewport()->setMouseTracking(true);
    m_table->viewport()->installEventFilter(this);
    // Tall enough for all ten levels without a scroll bar.
    int height = m_table->horizontalHeader()->height() + 2 * m_table->frameWidth();
    for (int row = 0; row < LevelCount; ++row)
        height += m_table->rowHeight(row);
    resize(500, qMax(300, height + m_buttonBox->sizeHint().height() + 3 * layout->spacing()
                              + layout->contentsMargins().top() + layout->contentsMargins().bottom()));
}

PdGroupDialog::~PdGroupDialog() = default;

void PdGroupDialog::setModel(QAbstractItemModel *model)
{
    m_model = model;
}

void PdGroupDialog::excludeColumn(int column, bool exclude)
{
    if (!exclude)
        m_systemColumns.removeAll(column);
    else if (!m_systemColumns.contains(column))
        m_systemColumns.append(column);
}

void PdGroupDialog::markStructured(int column)
{
    m_structuredColumns.insert(column, 7);
}

void PdGroupDialog::readColumnDescriptors()
{
    if (!m_model)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const QVariantMap descriptor = m_model->headerData(c, Qt::Horizontal, Qt::UserRole + 2).toMap();
        if (descriptor.value(QStringLiteral("structure")).toBool())
            markStructured(c);
        if (descriptor.value(QStringLiteral("group")).toString() == QLatin1String("system"))
            excludeColumn(c);
    }
}

void PdGroupDialog::setRow(int row, const PdGroupLevel &level)
{
    m_table->setItem(row, Delegate::FieldColumn, new QTableWidgetItem(level.field));
    m_table->setItem(row, Delegate::RuleColumn, new QTableWidgetItem(level.interval));
    auto *format = new QTableWidgetItem(level.font.family());
    format->setData(Qt::FontRole, level.font);
    format->setData(Qt::ForegroundRole, level.textColor.isValid() ? QVariant(level.textColor) : QVariant());
    format->setData(Qt::BackgroundRole, level.background);
    m_table->setItem(row, Delegate::FormatColumn, format);
}

void PdGroupDialog::setLevels(const QList<PdGroupLevel> &levels)
{
    hoverItem(nullptr);
    for (int row = 0; row < qMin(int(levels.size()), int(LevelCount)); ++row)
        setRow(row, levels.at(row));
}

QList<PdGroupLevel> PdGroupDialog::levels() const
{
    QList<PdGroupLevel> inUse;
    QList<PdGroupLevel> unused;
    for (int row = 0; row < LevelCount; ++row) {
        PdGroupLevel level;
        const QTableWidgetItem *field = m_table->item(row, Delegate::FieldColumn);
        const QTableWidgetItem *rule = m_table->item(row, Delegate::RuleColumn);
        const QTableWidgetItem *format = m_table->item(row, Delegate::FormatColumn);
        level.field = field ? field->text() : QString();
        level.interval = rule ? rule->text() : QString();
        if (format) {
            const QVariant background = format->data(Qt::BackgroundRole);
            if (background.canConvert<QBrush>())
                level.background = background.value<QBrush>();
            const QVariant font = format->data(Qt::FontRole);
            if (font.canConvert<QFont>())
                level.font = font.value<QFont>();
            const QVariant text = format->data(Qt::ForegroundRole);
            if (text.canConvert<QColor>())
                level.textColor = text.value<QColor>();
        }
        (level.inUse() ? inUse : unused).append(level);
    }
    return inUse + unused;
}

void PdGroupDialog::hoverItem(QTableWidgetItem *item)
{
    if (item == m_hoverItem)
        return;
    if (m_hoverItem)
        m_table->closePersistentEditor(m_hoverItem);
    m_hoverItem = nullptr;
    if (item && item->column() == Delegate::FormatColumn) {
        m_table->openPersistentEditor(item);
        m_hoverItem = item;
    }
}

bool PdGroupDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::MouseMove)
        hoverItem(m_table->itemAt(static_cast<QMouseEvent *>(event)->pos()));
    return QDialog::eventFilter(watched, event);
}

bool PdGroupDialog::editGrouping(Activities *activities, QWidget *parent)
{
    if (!activities || !activities->activityModel())
        return false;
    PdGroupDialog dialog(parent);
    dialog.setModel(activities->activityModel());
    dialog.readColumnDescriptors();
    dialog.setLevels(activities->groupLevels());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    activities->setGroupLevels(dialog.levels());
    return true;
}
