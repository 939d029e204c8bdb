#pragma once

#include <QModelIndex>
#include <QPointer>
#include <QVector>
#include <QWidget>

#include <functional>

class Activities;
class MapHdrModel;
class PdKeyRowsProxyModel;
class QAbstractItemModel;
class QDataWidgetMapper;
class QLineEdit;
class QTabWidget;
class QTableView;
class QToolButton;

// The panel below the activities view: the current activity's name, dates
// and type, its predecessors and successors, its resource assignments and
// its activity codes. It follows the tree's current activity; a related
// activity is opened with a double click (or Enter) and Alt+Left goes back.
//
// Every tab stands on its own: a file without relationships, assignments or
// codes still shows what it has.
class ActivityDetails : public QWidget
{
    Q_OBJECT
public:
    // Says something to the user; for a question, true means yes.
    using MessageHandler = std::function<bool(QWidget *parent, const QString &text, bool question)>;

    explicit ActivityDetails(Activities *activities, QWidget *parent = nullptr);
    ~ActivityDetails() override;

    void setActivityModel(QAbstractItemModel *model);
    void setResourceModel(QAbstractItemModel *model);
    void setPredecessorModel(QAbstractItemModel *model);
    void setCodesModel(QAbstractItemModel *model);
    // Lets go of every model, before the project's models are deleted.
    void clear();

    QTabWidget *tabWidget() const { return m_tabs; }
    QTableView *resourceTable() const { return m_resources; }
    QTableView *predecessorTable() const { return m_predecessors; }
    QTableView *successorTable() const { return m_successors; }
    QTableView *codesTable() const { return m_codes; }
    // The task id of the activity shown, empty while none is.
    QString currentTaskId() const { return m_currentId; }

    // Makes the activity with this task id current in the activities view.
    // When it is not shown there, the user is told why and, where it can be
    // shown, offered to show it. True when it became current.
    bool showActivity(const QVariant &taskId);

    // Replaces the message boxes; tests answer through it.
    void setMessageHandler(MessageHandler handler);

public slots:
    QModelIndex nextActivity();
    QModelIndex previousActivity();
    void onRowChanged(const QModelIndex &current, const QModelIndex &previous);
    void updateButtons();
    void gotoPredecessor(const QModelIndex &index);
    void gotoSuccessor(const QModelIndex &index);
    // Returns to the activity shown before the last jump; false when there is none.
    bool goBack();

private:
    void setupForm();
    void showTaskId(const QString &id);
    void clearGeneral();
    void updateTabs();
    void jumpTo(const QVariant &taskId);
    QModelIndex adjacentActivity(bool forward) const;
    bool isGroupRow(const QModelIndex &index) const;
    QString activityLabel(const QString &taskId) const;

    QPointer<Activities> m_activities;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_start = nullptr;
    QLineEdit *m_finish = nullptr;
    QLineEdit *m_taskType = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QTableView *m_predecessors = nullptr;
    QTableView *m_successors = nullptr;
    QTableView *m_resources = nullptr;
    QTableView *m_codes = nullptr;
    QDataWidgetMapper *m_mapper = nullptr;

    // The project's models belong to its loader; QPointer turns a deleted one into null.
    QPointer<QAbstractItemModel> m_activityModel;
    QPointer<QAbstractItemModel> m_predecessorModel;
    QPointer<QAbstractItemModel> m_resourceModel;
    QPointer<QAbstractItemModel> m_codesModel;

    // One activity's rows of each model, through indexes built once per load.
    PdKeyRowsProxyModel *m_activityRows = nullptr;
    MapHdrModel *m_predecessorRows = nullptr;
    MapHdrModel *m_successorRows = nullptr;
    PdKeyRowsProxyModel *m_resourceRows = nullptr;
    PdKeyRowsProxyModel *m_codeRows = nullptr;

    QString m_currentId;
    QVector<QString> m_history;
    MessageHandler m_message;
};
