#pragma once

#include "mainwindowform.h"
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

class MainWindow : public QMainWindow, private MainWindowForm
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
    void createViews();
    void createLayoutManager();
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
