#pragma once

#include "recentfiles.h"

#include <QFuture>
#include <QMainWindow>

#include <functional>

class Activities;
class LayoutManager;
class ActivityDetails;
class ProjectLoader;
class Resources;
class QAction;
class QActionGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressDialog;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QToolBar;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Asks the user for one file to open; returns an empty text when cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption,
                                              const QString &dir, const QString &filter)>;

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void openProjectFile(const QString &path);

    // Replaces the standard open-file dialog; tests choose files through it.
    void setFileChooser(FileChooser chooser);
    // Replaces the standard save-file dialog in the same way.
    void setSaveFileChooser(FileChooser chooser);

    Activities *activities() const { return m_activities; }
    ActivityDetails *details() const { return m_details; }
    Resources *resources() const { return m_resources; }
    ProjectLoader *loader() const { return m_loader; }
    QProgressDialog *progressDialog() const { return m_progressDialog; }
    const RecentFiles &recentFiles() const { return m_recentFiles; }
    QString outlineState() const { return m_outlineState; }
    QMenu *outlineMenu() const { return m_outlineMenu; }
    QMenu *timeMenu() const { return m_timeMenu; }
    QMenu *viewMenu() const { return m_viewMenu; }
    QMenu *layoutMenu() const { return m_menuLayout; }
    LayoutManager *layouts() const { return m_layouts; }
    // Unit codes of the checked timescale actions, lowest band first.
    QList<int> timeScaleLevels() const;

public slots:
    void onGroupAction();
    void onColumnsAction();
    void onDetailAction();
    void onBarStyles();
    void onExportAction();
    void onCopyAction();
    void onSnip();
    void onPrintMenu();
    void onAbout();
    void onCloseAction();
    void onXerReadDone();
    void onXerReadFailed(int errorCode);
    void showProgress();
    void setProgress(int value, QString text);
    void hideProgress();
    void updateToolBarActions();
    void onOpenFileAction();
    void setGanttTimelime();
    void onOutlineChanged();
    void testShowTable();
    void testShowTreeView();
    void onImportLayout();
    void saveLayoutClicked();
    void layoutNameEdited(QString text);
    void onMRUClick();
    void setView(QAction *action);
    void updateColumnsIcon();
    void updateActivityCount();
    void onExpandCollapseClicked();
    void onDefaultViewClicked();
    // Edit > Find (Ctrl+F) and Find Next (F3): an activity by id or name.
    void onFind();
    void onFindNext();
    void progressDialogDestroyed(QObject *object);

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createFindMenu();
    void setupUi();
    void createViews();
    void createCodeMenus();
    void connectActions();
    void rebuildRecentMenu();
    void closeProject();
    void deleteLoader();
    // Stops the load in progress and forgets it; the project on show stays.
    void cancelPendingLoad();
    void showLoadWarnings(const QString &path, const QStringList &warnings);
    void setTreePositionToFirstVisibleColumn();
    void fitColumnWidths();
    // The Time actions with their date-axis unit codes, lowest band first.
    QVector<std::pair<QAction *, int>> timeScaleUnits() const;
    void restoreSettings();
    void saveSettings() const;

    FileChooser m_chooseFile;
    FileChooser m_chooseSaveFile;

    QWidget *m_centralWidget = nullptr;
    QGridLayout *m_gridLayout = nullptr;
    QStackedWidget *m_stackedWidget = nullptr;
    QMenu *m_menuFile = nullptr;
    QMenu *m_menuLayout = nullptr;
    QMenu *m_menuHelp = nullptr;
    QToolBar *m_mainToolBar = nullptr;

    QAction *m_actionOpen = nullptr;
    QAction *m_actionSaveFile = nullptr;
    QAction *m_actionOpenFile = nullptr;
    QAction *m_actionClose = nullptr;
    QAction *m_actionOpenCached = nullptr;
    QAction *m_actionImportLayout = nullptr;
    QAction *m_actionExportLayout = nullptr;
    QAction *m_actionSnip = nullptr;
    QAction *m_actionPrint = nullptr;
    QAction *m_actionAbout = nullptr;
    QAction *m_actionColumns = nullptr;
    QAction *m_actionGroup = nullptr;
    QAction *m_actionDetail = nullptr;
    QAction *m_actionExport = nullptr;
    QAction *m_actionStyles = nullptr;
    QAction *m_actionCopy = nullptr;
    QMenu *m_menuEdit = nullptr;
    QAction *m_actionYear = nullptr;
    QAction *m_actionQuarter = nullptr;
    QAction *m_actionMonth = nullptr;
    QAction *m_actionWeek = nullptr;
    QAction *m_actionDay = nullptr;
    QAction *m_actionHour = nullptr;
    QAction *m_actionMinute = nullptr;
    QAction *m_actionExpand = nullptr;
    QAction *m_actionCollapse = nullptr;
    QAction *m_actionExpandAll = nullptr;
    QAction *m_actionCollapseAll = nullptr;
    QList<QAction *> m_actionLevels;
    QAction *m_actionGanttChart = nullptr;
    QAction *m_actionTrackingGanttChart = nullptr;
    QAction *m_actionResources = nullptr;
    QAction *m_actionClearAllFilters = nullptr;

    QMenu *m_outlineMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_timeMenu = nullptr;
    QActionGroup *m_viewGroup = nullptr;
    QLineEdit *m_layoutName = nullptr;
    QPushButton *m_saveLayout = nullptr;
    QLabel *m_activityCount = nullptr;

    QSplitter *m_splitter = nullptr;
    Activities *m_activities = nullptr;
    ActivityDetails *m_details = nullptr;
    Resources *m_resources = nullptr;
    LayoutManager *m_layouts = nullptr;

    QString m_outlineState;
    QString m_findText;
    RecentFiles m_recentFiles;
    ProjectLoader *m_loader = nullptr;
    QFuture<void> m_readFuture;
    // The load in progress: it replaces the project on show only when it
    // finishes, so a cancelled or failed load leaves the window as it was.
    ProjectLoader *m_pendingLoader = nullptr;
    QFuture<void> m_pendingFuture;
    QString m_loadingPath;
    QString m_lastFolder;
    QProgressDialog *m_progressDialog = nullptr;
};
