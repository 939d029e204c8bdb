#pragma once

#include "recentfiles.h"

#include <QList>

class QAction;
class QActionGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMainWindow;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolBar;
class QWidget;

// The window's actions, menus, bars and central stack, built the way a
// designer form is, so that the window class keeps only what they do. Object
// names are the ones tests and layouts find these by.
class MainWindowForm
{
protected:
    void setupForm(QMainWindow *window);
    // Replaces the File menu's recent-file entries; returns the new entries,
    // each carrying its file in its data, for the window to connect.
    QList<QAction *> setRecentEntries(const QList<RecentEntry> &entries);

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
    QAction *m_actionFind = nullptr;
    QAction *m_actionFindNext = nullptr;
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
};
