#ifndef PDFILTERDIALOGPOPUP_H
#define PDFILTERDIALOGPOPUP_H

#include "pdfiltervalue.h"

#include <QMenu>
#include <QPointer>

class PdFilterProxyModel;
class PdFilterValueModel;
class QAbstractItemModel;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QTreeView;

// The auto-filter popup of one column: sort actions, "Clear", the checkable list of the column's
// values with a search field, and (in the typed subclasses) an "Expression" tab with one or two
// conditions. It only collects the user's choice; the sort/filter controller applies it.
class PdFilterDialogPopUp : public QMenu
{
    Q_OBJECT

public:
    // The values are read from the rows without children of the model, so group rows of a tree
    // add nothing to the list.
    PdFilterDialogPopUp(QAbstractItemModel* model, int column, QWidget* parent = nullptr);
    ~PdFilterDialogPopUp() override;

    QAction* sortAscendingAction() const { return m_sortAscending; }
    QAction* sortDescendingAction() const { return m_sortDescending; }
    QAction* clearAction() const { return m_clear; }
    QTabWidget* tabs() const { return m_tabs; }
    QLineEdit* searchEdit() const { return m_searchEdit; }
    QTreeView* valueView() const { return m_valueView; }
    PdFilterValueModel* valueModel() const { return m_values; }
    PdFilterProxyModel* searchModel() const { return m_search; }
    PdValueKind kind() const { return m_kind; }

    bool isCleared() const { return m_cleared; }
    bool isAccepted() const { return m_accepted; }
    bool isRejected() const { return m_rejected; }
    bool isListTabCurrent() const;
    bool isExpressionTabCurrent() const;

    // Keys of the checked values the search leaves visible, in list order.
    QStringList checkedValues() const;
    bool isNarrowed() const;
    bool isAllChecked() const;
    void showPatternFilter(const QVariantList& values);

    // The "Expression" tab; the base popup has none and answers with empty values.
    bool hasExpressionTab() const { return m_firstOperator != nullptr; }
    void showExpression(const QString& firstOperator, const QVariant& firstValue, const QString& secondOperator,
                        const QVariant& secondValue, bool isAnd);
    QString firstOperator() const;
    QString secondOperator() const;
    virtual QVariant firstValue() const;
    virtual QVariant secondValue() const;
    virtual QString operatorText(const QString& stored) const;
    bool isAnd() const;

public slots:
    void onClearFilter();
    // A click on a value's row, on its box or on its text, toggles the value.
    void onItemClicked(const QModelIndex& index);
    void filterRegExpChanged(const QString& text);
    void onAccepted();
    void onRejected();

protected:
    // Subclasses add the "Expression" tab from their constructor with their operators and editors.
    void addExpressionTab(const QStringList& operators, QWidget* firstEditor, QWidget* secondEditor);
    virtual void setEditorValue(QWidget* editor, const QVariant& value);
    QWidget* firstEditor() const { return m_firstEditor; }
    QWidget* secondEditor() const { return m_secondEditor; }

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fillValues(QAbstractItemModel* model, int column);
    void onSelectAllRequested(Qt::CheckState state);
    template <typename Visit>
    void walkVisible(Visit visit) const;

    PdValueKind m_kind = PdValueKind::Text;
    PdFilterValueModel* m_values = nullptr;
    PdFilterProxyModel* m_search = nullptr;
    QAction* m_sortAscending = nullptr;
    QAction* m_sortDescending = nullptr;
    QAction* m_clear = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_searchEdit = nullptr;
    QTreeView* m_valueView = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QComboBox* m_firstOperator = nullptr;
    QComboBox* m_secondOperator = nullptr;
    QWidget* m_firstEditor = nullptr;
    QWidget* m_secondEditor = nullptr;
    QRadioButton* m_and = nullptr;
    QRadioButton* m_or = nullptr;
    bool m_cleared = false;
    bool m_accepted = false;
    bool m_rejected = false;
};

#endif // PDFILTERDIALOGPOPUP_H
