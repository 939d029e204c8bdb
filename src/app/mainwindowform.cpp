#include "mainwindowform.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

namespace {

QAction *makeAction(QObject *parent, const char *objectName, const QString &text,
                    const QString &icon = QString())
{
    auto *action = new QAction(parent);
    action->setObjectName(QLatin1String(objectName));
    action->setText(text);
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    return action;
}

} // namespace

void MainWindowForm::setupForm(QMainWindow *window)
{
    window->setObjectName(QStringLiteral("MainWindow"));
    window->resize(1280, 800);
    window->setWindowTitle(QStringLiteral("Plandeck"));
    window->setWindowIcon(QIcon(QStringLiteral(":/images/red_pyramid.png")));

    m_actionOpen = makeAction(window, "actionOpen", QStringLiteral("Open"),
                              QStringLiteral(":/images/project-add2_32.png"));
    m_actionSaveFile = makeAction(window, "actionSave_file", QStringLiteral("Save file"));
    m_actionOpenFile = makeAction(window, "actionOpen_file", QStringLiteral("Open file"));
    m_actionOpenFile->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    m_actionClose = makeAction(window, "actionClose", QStringLiteral("Close"));
    m_actionOpenCached = makeAction(window, "actionOpenCaced", QStringLiteral("Open cached"));
    m_actionImportLayout = makeAction(window, "actionImportLayout", QStringLiteral("Import layout"));
    m_actionExportLayout = makeAction(window, "actionExportLayout", QStringLiteral("Export layout..."));
    m_actionSnip = makeAction(window, "actionSnip", QStringLiteral("Snip"));
    m_actionSnip->setToolTip(QStringLiteral("Snip the GanttChart to image or file"));
    m_actionPrint = makeAction(window, "actionPrint", QStringLiteral("Print"));
    m_actionPrint->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    m_actionAbout = makeAction(window, "actionAbout", QStringLiteral("About"));
    m_actionColumns = makeAction(window, "actionColumns", QStringLiteral("Columns"),
                                 QStringLiteral(":/images/table_column_f_32.png"));
    m_actionGroup = makeAction(window, "actionGroup", QStringLiteral("Group"),
                               QStringLiteral(":/images/network_diagram_f_32.png"));
    m_actionDetail = makeAction(window, "actionDetail", QStringLiteral("Detail"),
                                QStringLiteral(":/images/details_32.png"));
    m_actionDetail->setCheckable(true);
    m_actionExport = makeAction(window, "actionExport", QStringLiteral("Export"),
                                QStringLiteral(":/images/export_to_csv_32.png"));
    m_actionStyles = makeAction(window, "actionStyles", QStringLiteral("Styles"),
                                QStringLiteral(":/images/gantt_chart-gear_32.png"));
    m_actionCopy = makeAction(window, "actionCopy", QStringLiteral("Copy"));
    m_actionCopy->setShortcut(QKeySequence::Copy);

    m_actionYear = makeAction(window, "actionYear", QStringLiteral("Year"));
    m_actionQuarter = makeAction(window, "actionQuarter", QStringLiteral("Quarter"));
    m_actionMonth = makeAction(window, "actionMonth", QStringLiteral("Month"));
    m_actionWeek = makeAction(window, "actionWeek", QStringLiteral("Week"));
    m_actionDay = makeAction(window, "actionDay", QStringLiteral("Day"));
    m_actionHour = makeAction(window, "actionHour", QStringLiteral("Hour"));
    m_actionMinute = makeAction(window, "actionMinute", QStringLiteral("Minute"));
    for (QAction *action : {m_actionYear, m_actionQuarter, m_actionMonth, m_actionWeek, m_actionDay,
                            m_actionHour, m_actionMinute})
        action->setCheckable(true);

    m_actionExpand = makeAction(window, "actionExpand", QStringLiteral("Expand"),
                                QStringLiteral(":/images/expand_32.png"));
    m_actionCollapse = makeAction(window, "actionCollapse", QStringLiteral("Collapse"),
                                  QStringLiteral(":/images/remove_32.png"));
    m_actionExpandAll = makeAction(window, "actionExpand_All", QStringLiteral("Expand All"),
                                   QStringLiteral(":/images/expand_all_32.png"));
    m_actionCollapseAll = makeAction(window, "actionCollapse_All", QStringLiteral("Collapse All"),
                                     QStringLiteral(":/images/collapse_all_32.png"));
    for (int level = 1; level <= 7; ++level) {
        auto *action = new QAction(window);
        action->setObjectName(QStringLiteral("actionLevel_%1").arg(level));
        action->setText(QStringLiteral("Level %1").arg(level));
        m_actionLevels.append(action);
    }

    m_actionGanttChart = makeAction(window, "actionGanttChart", QStringLiteral("Gantt chart"));
    m_actionTrackingGanttChart =
        makeAction(window, "actionTrackingGanttChart", QStringLiteral("Tracking Gantt Chart"));
    m_actionResources = makeAction(window, "actionResources", QStringLiteral("Resources"));
    for (QAction *action : {m_actionGanttChart, m_actionTrackingGanttChart, m_actionResources}) {
        action->setCheckable(true);
        action->setToolTip(action->text());
    }
    m_actionGanttChart->setChecked(true);
    m_actionClearAllFilters = makeAction(window, "actionClearAllFilters", QStringLiteral("Clear all filters"));
    m_actionClearAllFilters->setEnabled(false);

    m_centralWidget = new QWidget(window);
    m_centralWidget->setObjectName(QStringLiteral("centralWidget"));
    m_gridLayout = new QGridLayout(m_centralWidget);
    m_gridLayout->setObjectName(QStringLiteral("gridLayout"));
    m_gridLayout->setSpacing(6);
    m_gridLayout->setContentsMargins(11, 11, 11, 11);
    m_stackedWidget = new QStackedWidget(m_centralWidget);
    m_stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    m_gridLayout->addWidget(m_stackedWidget, 0, 0);
    window->setCentralWidget(m_centralWidget);

    auto *menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    menuBar->setGeometry(QRect(0, 0, 1280, 19));
    m_menuFile = new QMenu(QStringLiteral("File"), menuBar);
    m_menuFile->setObjectName(QStringLiteral("menuFile"));
    m_menuLayout = new QMenu(QStringLiteral("Layout"), menuBar);
    m_menuLayout->setObjectName(QStringLiteral("menuLayout"));
    m_menuHelp = new QMenu(QStringLiteral("Help"), menuBar);
    m_menuHelp->setObjectName(QStringLiteral("menuHelp"));
    m_menuEdit = new QMenu(QStringLiteral("Edit"), menuBar);
    m_menuEdit->setObjectName(QStringLiteral("menuEdit"));
    menuBar->addMenu(m_menuFile);
    menuBar->addMenu(m_menuEdit);
    menuBar->addMenu(m_menuLayout);
    menuBar->addMenu(m_menuHelp);
    window->setMenuBar(menuBar);

    m_mainToolBar = new QToolBar(window);
    m_mainToolBar->setObjectName(QStringLiteral("mainToolBar"));
    window->addToolBar(Qt::TopToolBarArea, m_mainToolBar);

    auto *statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    window->setStatusBar(statusBar);
    m_activityCount = new QLabel(statusBar);
    m_activityCount->setObjectName(QStringLiteral("activityCount"));
    statusBar->addPermanentWidget(m_activityCount);

    m_menuFile->addAction(m_actionOpen);
    m_menuFile->addAction(m_actionSaveFile);
    m_menuFile->addAction(m_actionOpenFile);
    m_menuFile->addAction(m_actionClose);
    m_menuFile->addSeparator();
    m_menuFile->addAction(m_actionOpenCached);
    m_menuFile->addAction(m_actionImportLayout);
    m_menuFile->addAction(m_actionSnip);
    m_menuFile->addAction(m_actionPrint);
    m_menuHelp->addAction(m_actionAbout);
    m_menuEdit->addAction(m_actionCopy);
    m_menuEdit->addSeparator();
    m_actionFind = makeAction(window, "actionFind", QStringLiteral("Find..."));
    m_actionFind->setShortcut(QKeySequence::Find);
    m_actionFindNext = makeAction(window, "actionFindNext", QStringLiteral("Find Next"));
    m_actionFindNext->setShortcut(QKeySequence::FindNext);
    m_menuEdit->addActions({m_actionFind, m_actionFindNext});

    m_outlineMenu = new QMenu(QStringLiteral("Outline"), window);
    m_outlineMenu->setObjectName(QStringLiteral("menuOutline"));
    m_outlineMenu->setIcon(QIcon(QStringLiteral(":/images/outline_32.png")));
    m_outlineMenu->addAction(m_actionExpand);
    m_outlineMenu->addAction(m_actionCollapse);
    m_outlineMenu->addSeparator();
    m_outlineMenu->addAction(m_actionExpandAll);
    m_outlineMenu->addAction(m_actionCollapseAll);
    m_outlineMenu->addActions(m_actionLevels);

    m_timeMenu = new QMenu(QStringLiteral("Time"), window);
    m_timeMenu->setObjectName(QStringLiteral("menuTime"));
    m_timeMenu->setIcon(QIcon(QStringLiteral(":/images/time_f_32.png")));
    m_timeMenu->menuAction()->setToolTip(QStringLiteral("Time Scales"));
    m_timeMenu->addActions({m_actionYear, m_actionQuarter, m_actionMonth, m_actionWeek, m_actionDay});

    m_viewMenu = new QMenu(QStringLiteral("View"), window);
    m_viewMenu->setObjectName(QStringLiteral("menuView"));
    m_viewMenu->setIcon(QIcon(QStringLiteral(":/images/table_stack.png")));
    m_viewGroup = new QActionGroup(window);
    m_viewGroup->setExclusive(true);
    for (QAction *action : {m_actionGanttChart, m_actionTrackingGanttChart, m_actionResources}) {
        m_viewGroup->addAction(action);
        m_viewMenu->addAction(action);
    }
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(m_actionClearAllFilters);
    // The same commands on the menu bar, where they can be reached at all; a
    // menu of its own, because the bar would show the View menu's icon alone.
    auto *viewBarMenu = new QMenu(QStringLiteral("View"), window->menuBar());
    viewBarMenu->setObjectName(QStringLiteral("menuViewBar"));
    viewBarMenu->addActions(m_viewMenu->actions());
    window->menuBar()->insertMenu(m_menuHelp->menuAction(), viewBarMenu);

    auto *layoutEntry = new QWidget(m_menuLayout);
    auto *layoutRow = new QHBoxLayout(layoutEntry);
    m_layoutName = new QLineEdit(layoutEntry);
    m_layoutName->setObjectName(QStringLiteral("layoutName"));
    m_layoutName->setPlaceholderText(QStringLiteral("Layout name"));
    m_saveLayout = new QPushButton(QStringLiteral("Save"), layoutEntry);
    m_saveLayout->setObjectName(QStringLiteral("saveLayout"));
    m_saveLayout->setEnabled(false);
    layoutRow->addWidget(m_layoutName);
    layoutRow->addWidget(m_saveLayout);
    auto *layoutAction = new QWidgetAction(m_menuLayout);
    layoutAction->setDefaultWidget(layoutEntry);
    m_menuLayout->addAction(layoutAction);
    m_menuLayout->addSeparator();

    m_mainToolBar->addAction(m_actionOpen);
    m_mainToolBar->addAction(m_actionColumns);
    m_mainToolBar->addAction(m_actionGroup);
    m_mainToolBar->addAction(m_actionDetail);
    m_mainToolBar->addAction(m_actionExport);
    m_mainToolBar->addAction(m_outlineMenu->menuAction());
    // The button runs the expand/collapse toggle; its arrow opens the levels.
    if (auto *button = qobject_cast<QToolButton *>(m_mainToolBar->widgetForAction(m_outlineMenu->menuAction())))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    // The only way to the resources page: the button returns to the
    // activities, its arrow lists the views.
    m_mainToolBar->addAction(m_viewMenu->menuAction());
    if (auto *button = qobject_cast<QToolButton *>(m_mainToolBar->widgetForAction(m_viewMenu->menuAction())))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    auto *spacer = new QWidget(m_mainToolBar);
    spacer->setObjectName(QStringLiteral("toolBarSpacer"));
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_mainToolBar->addWidget(spacer);
    m_mainToolBar->addAction(m_timeMenu->menuAction());
    if (auto *button = qobject_cast<QToolButton *>(m_mainToolBar->widgetForAction(m_timeMenu->menuAction())))
        button->setPopupMode(QToolButton::InstantPopup);
    m_mainToolBar->addAction(m_actionStyles);
}

QList<QAction *> MainWindowForm::setRecentEntries(const QList<RecentEntry> &entries)
{
    const QString isMRU = QStringLiteral("isMRU");
    for (QAction *action : m_menuFile->actions()) {
        if (action->data().toMap().value(isMRU).toBool()) {
            m_menuFile->removeAction(action);
            // The entry may be the one whose click is being handled right now.
            action->deleteLater();
        }
    }
    const QList<QAction *> remaining = m_menuFile->actions();
    const bool endsWithSeparator = !remaining.isEmpty() && remaining.last()->isSeparator();
    if (!entries.isEmpty() && !endsWithSeparator) {
        m_menuFile->addSeparator();
    } else if (entries.isEmpty() && endsWithSeparator) {
        m_menuFile->removeAction(remaining.last());
        remaining.last()->deleteLater();
    }

    QList<QAction *> added;
    for (const RecentEntry &entry : entries) {
        // Database entries have no file and cannot be opened from here.
        if (entry.file.isEmpty() || QFileInfo(entry.file).suffix().toLower() == QLatin1String("mpp"))
            continue;
        QAction *action = m_menuFile->addAction(entry.file);
        action->setData(QVariantMap{{isMRU, true},
                                    {QStringLiteral("fileName"), entry.file},
                                    {QStringLiteral("type"), entry.type}});
        added.append(action);
    }
    return added;
}
