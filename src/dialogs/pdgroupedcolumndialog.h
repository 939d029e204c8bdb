#pragma once

#include <QDialog>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QVector>

class PdSortFilterWidget;
class QDialogButtonBox;
class QHeaderView;
class QListView;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QToolButton;
class QTreeView;

// The column chooser: the header's hidden columns on the left, under their
// catalogue groups, the shown ones on the right in display order. Entries
// carry the column's logical number, so columns that share a title (two user
// fields named alike) stay apart.
class PdGroupedColumnDialog : public QDialog
{
    Q_OBJECT
public:
    // Data roles of the entries.
    enum Role {
        VisualPositionRole = Qt::UserRole, // the column's visual position when the lists were filled
        GroupRole = Qt::UserRole + 1,      // the column's group; none on a group entry
        ColumnRole = Qt::UserRole + 2,     // the column's logical number; none on a group entry
    };

    explicit PdGroupedColumnDialog(QHeaderView *header, QWidget *parent = nullptr);
    ~PdGroupedColumnDialog() override;

    // Takes the group out of the excluded groups, or puts it back when
    // `exclude` is set, and fills both lists again.
    void excludeGroup(const QString &name, bool exclude);

    // Gives the entries the header's filter buttons and makes "Clear all
    // filters" clear the view's sorting and filtering through `controller`.
    void setSortFilterController(PdSortFilterWidget *controller);

    // The chosen columns in the chosen order: logical numbers and titles.
    QVector<int> chosenColumns() const;
    QStringList columns() const;
    // Shows exactly the chosen columns, in the chosen order, on the header.
    void applyChosenColumns() const;

    QStandardItemModel *availableModel() const { return m_available; }
    QStandardItemModel *chosenModel() const { return m_chosen; }

signals:
    void popUp(const QRect &rect, int column, const QPoint &pos);

public slots:
    void onUpPressed();
    void onDownPressed();
    void onLeftPressed();
    void onRightPressed();
    void onDoubleClicked(const QModelIndex &index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupUi();
    void fill();
    QStandardItem *groupItem(const QString &name);
    void updateOkButton();

    QPointer<QHeaderView> m_header;
    QStandardItemModel *m_available = nullptr;
    QStandardItemModel *m_chosen = nullptr;
    QMap<QString, QStandardItem *> m_groupItems;
    QStringList m_excludedGroups;
    QPointer<PdSortFilterWidget> m_controller;

    QTreeView *m_availableView = nullptr;
    QListView *m_chosenView = nullptr;
    QToolButton *m_right = nullptr;
    QToolButton *m_left = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    QPushButton *m_clearAllFilters = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
};
