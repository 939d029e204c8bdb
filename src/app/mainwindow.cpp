#include "mainwindow.h"

#include "activities.h"
#include "activitydetails.h"
#include "ganttchart.h"
#include "layoutmanager.h"
#include "pdfilterdialogproxymodel.h"
#include "pdganttchartstylesdialog.h"
#include "pdgroupdialog.h"
#include "pdgroupedcolumndialog.h"
#include "pdmodelutils.h"
#include "pdprintdialog.h"
#include "pdsnipdialog.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"
#include "pdtreeexport.h"
#include "plandeckresources.h"
#include "projectpresentation.h"
#include "resources.h"
#include "updatemgr.h"
#include "viewprintsheet.h"
#include "windowsettings.h"
#include "xerfile.h"
#include "xerloader.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QJsonDocument>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QThreadPool>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QWidgetAction>
#include <QtConcurrent>

// Timed start/stop lines; QT_LOGGING_RULES="plandeck.timing.*=false" silences them.
Q_LOGGING_CATEGORY(lcAppTiming, "plandeck.timing.app", QtInfoMsg)

namespace {

QString standardFileChooser(QWidget *parent, const QString &caption, const QString &dir,
                            const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

// The first local .xer file a drag carries, or an empty text.
QString draggedSchedule(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QLatin1String(".xer"), Qt::CaseInsensitive))
            return url.toLocalFile();
    }
    return QString();
}

QString standardSaveFileChooser(QWidget *parent, const QString &caption, const QString &dir,
                                const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_chooseFile(standardFileChooser)
    , m_chooseSaveFile(standardSaveFileChooser)
{
    plandeck::initResources();
    setupForm(this);
    createViews();
    createLayoutManager();
    connectActions();

    updateToolBarActions();
    m_splitter->widget(1)->setVisible(m_actionDetail->isChecked());

    m_layouts->updateLayoutsList(QStringLiteral("default"));

    m_actionOpen->setVisible(false);
    m_actionSaveFile->setVisible(false);
    m_actionOpenCached->setVisible(false);

    m_recentFiles.read();
    rebuildRecentMenu();

    setAcceptDrops(true);
    restoreSettings();
    new UpdateMgr(this);
}

void MainWindow::onFind()
{
    bool ok = false;
    const QString text = QInputDialog::getText(this, QStringLiteral("Find"), QStringLiteral("Activity ID or name:"),
                                               QLineEdit::Normal, m_findText, &ok);
    if (!ok || text.trimmed().isEmpty())
        return;
    m_findText = text.trimmed();
    onFindNext();
}

void MainWindow::onFindNext()
{
    if (m_findText.isEmpty()) {
        onFind();
        return;
    }
    if (!m_activities->findActivity(m_findText))
        statusBar()->showMessage(QStringLiteral("No activity matches \"%1\"").arg(m_findText), 5000);
}

MainWindow::~MainWindow()
{
    cancelPendingLoad();
    // The views must let go of the loader's models before the loader deletes them.
    closeProject();
    // Child dialogs die in the base destructor, when this is no MainWindow any more.
    for (QProgressDialog *dialog : findChildren<QProgressDialog *>())
        dialog->disconnect(this);
}

void MainWindow::setFileChooser(FileChooser chooser)
{
    m_chooseFile = chooser ? std::move(chooser) : FileChooser(standardFileChooser);
}

void MainWindow::setSaveFileChooser(FileChooser chooser)
{
    m_chooseSaveFile = chooser ? std::move(chooser) : FileChooser(standardSaveFileChooser);
}

void MainWindow::createViews()
{
    m_activities = new Activities(this);
    m_details = new ActivityDetails(m_activities, this);
    m_details->setObjectName(QStringLiteral("activityDetails"));
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("viewSplitter"));
    m_splitter->addWidget(m_activities);
    m_splitter->addWidget(m_details);
    // The tree and the chart are what the window is for; the panel gets a quarter.
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 1);
    m_resources = new Resources(this);
    // Once, not per file: the activities view re-connects its tree itself.
    connect(m_activities, &Activities::currentRowChanged, m_details, &ActivityDetails::onRowChanged);
    connect(m_resources->header(), &PdSortFilterHeader::filterSettingsChanged, this, &MainWindow::updateColumnsIcon);
    connect(m_resources, &Resources::activityActivated, this, [this](const QVariant &taskId) {
        onDefaultViewClicked();
        m_details->showActivity(taskId);
    });
    m_stackedWidget->addWidget(m_splitter);
    m_stackedWidget->addWidget(m_resources);
    m_stackedWidget->setCurrentIndex(0);
    // Day numbers alone do not say which month they belong to.
    m_actionMonth->setChecked(true);
    m_actionDay->setChecked(true);
    setGanttTimelime();
}

void MainWindow::createLayoutManager()
{
    m_layouts = new LayoutManager(m_activities, m_menuLayout, this);
    QList<QAction *> outline{m_actionExpand, m_actionCollapse, m_actionExpandAll, m_actionCollapseAll};
    outline += m_actionLevels;
    m_layouts->setOutlineActions(outline);
    m_layouts->setOutlineState([this] { return m_outlineState; });
    m_menuLayout->addAction(m_actionImportLayout);
    m_menuLayout->addAction(m_actionExportLayout);
}

void MainWindow::connectActions()
{
    connect(m_actionFind, &QAction::triggered, this, &MainWindow::onFind);
    connect(m_actionFindNext, &QAction::triggered, this, &MainWindow::onFindNext);
    connect(m_actionOpenFile, &QAction::triggered, this, &MainWindow::onOpenFileAction);
    connect(m_actionClose, &QAction::triggered, this, &MainWindow::onCloseAction);
    connect(m_actionAbout, &QAction::triggered, this, &MainWindow::onAbout);
    connect(m_actionDetail, &QAction::triggered, this, &MainWindow::onDetailAction);
    connect(m_actionGroup, &QAction::triggered, this, &MainWindow::onGroupAction);
    connect(m_actionStyles, &QAction::triggered, this, &MainWindow::onBarStyles);
    connect(m_actionColumns, &QAction::triggered, this, &MainWindow::onColumnsAction);
    connect(m_actionExport, &QAction::triggered, this, &MainWindow::onExportAction);
    connect(m_actionCopy, &QAction::triggered, this, &MainWindow::onCopyAction);
    connect(m_actionSnip, &QAction::triggered, this, &MainWindow::onSnip);
    connect(m_actionPrint, &QAction::triggered, this, &MainWindow::onPrintMenu);
    for (QAction *action : {m_actionExpand, m_actionCollapse, m_actionExpandAll, m_actionCollapseAll})
        connect(action, &QAction::triggered, this, &MainWindow::onOutlineChanged);
    for (QAction *action : qAsConst(m_actionLevels))
        connect(action, &QAction::triggered, this, &MainWindow::onOutlineChanged);
    connect(m_outlineMenu->menuAction(), &QAction::triggered, this, &MainWindow::onExpandCollapseClicked);
    for (QAction *action : {m_actionYear, m_actionQuarter, m_actionMonth, m_actionWeek, m_actionDay})
        connect(action, &QAction::triggered, this, &MainWindow::setGanttTimelime);
    connect(m_viewGroup, &QActionGroup::triggered, this, &MainWindow::setView);
    connect(m_viewMenu->menuAction(), &QAction::triggered, this, &MainWindow::onDefaultViewClicked);
    connect(m_actionClearAllFilters, &QAction::triggered, m_activities, &Activities::clearAllFilters);
    PdSortFilterHeader *header = m_activities->sortFilterHeader();
    connect(header, &PdSortFilterHeader::filterSettingsChanged, this, &MainWindow::updateColumnsIcon);
    connect(header, &PdSortFilterHeader::filterSettingsChanged, m_activities, &Activities::calculateGroupings);
    connect(m_activities->filterProxy(), &PdFilterDialogProxyModel::countsChanged, this,
            &MainWindow::updateActivityCount);
    connect(m_layoutName, &QLineEdit::textEdited, this, &MainWindow::layoutNameEdited);
    connect(m_saveLayout, &QPushButton::clicked, this, &MainWindow::saveLayoutClicked);
    connect(m_actionImportLayout, &QAction::triggered, this, &MainWindow::onImportLayout);
    connect(m_actionExportLayout, &QAction::triggered, m_layouts, &LayoutManager::onExportLayout);
}

void MainWindow::setGanttTimelime()
{
    // A chart without bands would fall back to days behind a menu that
    // shows none ticked; the last band cannot be unticked.
    if (timeScaleLevels().isEmpty()) {
        if (auto *action = qobject_cast<QAction *>(sender()))
            action->setChecked(true);
    }
    m_activities->ganttChart()->setLevels(timeScaleLevels().toVector());
}

QVector<std::pair<QAction *, int>> MainWindow::timeScaleUnits() const
{
    return {{m_actionDay, 3}, {m_actionWeek, 4}, {m_actionMonth, 6}, {m_actionQuarter, 7}, {m_actionYear, 9}};
}

QList<int> MainWindow::timeScaleLevels() const
{
    QList<int> levels;
    for (const auto &unit : timeScaleUnits()) {
        if (unit.first->isChecked())
            levels.append(unit.second);
    }
    return levels;
}

void MainWindow::updateToolBarActions()
{
    const QAbstractItemModel *model = m_activities->treeView()->model();
    const bool loaded = model && model->rowCount() > 0;
    for (QAction *action : {m_actionColumns, m_actionGroup, m_actionDetail, m_actionExport, m_actionStyles,
                            m_actionSnip, m_actionPrint, m_actionClose, m_actionCopy})
        action->setEnabled(loaded);
    for (QMenu *menu : {m_outlineMenu, m_timeMenu, m_viewMenu}) {
        menu->setEnabled(loaded);
        menu->menuAction()->setEnabled(loaded);
    }
    m_activities->onHeaderSizeChanged();
}

void MainWindow::onOpenFileAction()
{
    const QString filter = QStringLiteral("Project files (") + QStringLiteral("*.xer") + QStringLiteral(")");
    const QString fileName = m_chooseFile(this, QStringLiteral("Select files to open"), m_lastFolder, filter);
    if (fileName.isEmpty())
        return;
    if (fileName.endsWith(QLatin1String(".xer"), Qt::CaseInsensitive))
        openProjectFile(fileName);
}

void MainWindow::openProjectFile(const QString &path)
{
    cancelPendingLoad();

    QFile catalogueFile(QStringLiteral(":/files/schema.json"));
    catalogueFile.open(QIODevice::ReadOnly);
    const QJsonDocument catalogue = QJsonDocument::fromJson(catalogueFile.readAll());

    auto *loader = new XERLoader(path, catalogue, nullptr);
    m_pendingLoader = loader;
    m_loadingPath = path;
    m_lastFolder = QFileInfo(path).absolutePath();
    showProgress();
    connect(loader, &ProjectLoader::progress, this, &MainWindow::setProgress, Qt::QueuedConnection);
    connect(loader, &ProjectLoader::finished, this, &MainWindow::onXerReadDone);
    connect(loader, &ProjectLoader::failed, this, &MainWindow::onXerReadFailed);
    // Kept only so the loader is never deleted while its read is still running.
    m_pendingFuture = QtConcurrent::run(QThreadPool::globalInstance(), [loader] { loader->read(); });
}

void MainWindow::cancelPendingLoad()
{
    if (!m_pendingLoader)
        return;
    ProjectLoader *loader = m_pendingLoader;
    m_pendingLoader = nullptr;
    loader->disconnect(this);
    // The file loader stops at its next block or step, so this wait is short.
    loader->closeConnection();
    m_pendingFuture.waitForFinished();
    delete loader;
    m_loadingPath.clear();
}

void MainWindow::closeProject()
{
    m_activities->onCloseProject();
    m_details->clear();
    m_resources->setModel(nullptr);
    deleteLoader();
}

void MainWindow::deleteLoader()
{
    if (!m_loader)
        return;
    m_loader->closeConnection();
    // A read that has not started yet runs inside waitForFinished() on this
    // thread, and its failed() would re-enter here through onXerReadFailed.
    m_loader->disconnect(this);
    m_readFuture.waitForFinished();
    delete m_loader;
    m_loader = nullptr;
    m_loadingPath.clear();
}

void MainWindow::onXerReadDone()
{
    // A finish queued by a loader that has since been replaced is stale.
    if (!m_pendingLoader || sender() != m_pendingLoader)
        return;
    ProjectLoader *loader = m_pendingLoader;
    const QString path = m_loadingPath;
    m_pendingLoader = nullptr;
    closeProject();
    m_loader = loader;
    m_readFuture = m_pendingFuture;
    presentProject(m_activities, m_loader, m_layouts);
    QAbstractItemModel *resourceModel = m_loader->model(QStringLiteral("ResourceModel"));
    m_details->setActivityModel(m_loader->model(QStringLiteral("ActivityModel")));
    m_details->setResourceModel(resourceModel);
    m_details->setPredecessorModel(m_loader->model(QStringLiteral("PredecessorModel")));
    m_details->setCodesModel(m_loader->model(QStringLiteral("CodeModel")));
    Resources::setupResourceTable(m_details->resourceTable());
    m_resources->setModel(resourceModel);
    Resources::setupResourceTable(m_resources->tableView());
    updateToolBarActions();
    // The default layout's widths are for another font; no date may be cut off.
    fitColumnWidths();

    m_recentFiles.addFile(path, m_loader->connectionDescription());
    rebuildRecentMenu();
    setWindowTitle(path);

    setProgress(100, QStringLiteral("Done"));
    hideProgress();
    if (auto *xerLoader = qobject_cast<XERLoader *>(m_loader))
        showLoadWarnings(path, xerLoader->warnings());
}

void MainWindow::showLoadWarnings(const QString &path, const QStringList &warnings)
{
    if (warnings.isEmpty())
        return;
    // Open, not exec: the project is on show behind it and the user may
    // read both.
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Project load"),
                                QStringLiteral("\"%1\" was opened, but it is not what it seems:")
                                    .arg(QDir::toNativeSeparators(path)),
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("loadWarnings"));
    box->setInformativeText(warnings.join(QLatin1Char('\n')));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::onXerReadFailed(int errorCode)
{
    if (!m_pendingLoader || sender() != m_pendingLoader)
        return;
    const QString path = m_loadingPath;
    cancelPendingLoad();
    hideProgress();
    if (errorCode == xer::Cancelled)
        return;
    // A file that never opened is no recent project.
    m_recentFiles.removeFile(path);
    rebuildRecentMenu();

    qWarning().noquote() << "MainWindow::onXerReadFailed" << errorCode << QDir::toNativeSeparators(path);
    QMessageBox::warning(this, QStringLiteral("Project load"), XERLoader::failureText(errorCode, path));
}

void MainWindow::fitColumnWidths()
{
    // The tree measures at most its header's resize precision of rows, so
    // this stays quick on the largest project. Long names are capped so the
    // dates beside them stay in view.
    const int widest = 300;
    QTreeView *tree = m_activities->treeView();
    QHeaderView *header = tree->header();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (header->isSectionHidden(column))
            continue;
        tree->resizeColumnToContents(column);
        if (header->sectionSize(column) > widest)
            header->resizeSection(column, widest);
    }
}

void MainWindow::setTreePositionToFirstVisibleColumn()
{
    QTreeView *tree = m_activities->treeView();
    tree->setTreePosition(firstVisibleColumn(tree->header()));
}

void MainWindow::showProgress()
{
    // The previous load's dialog is hidden and idle by now. It is not deleted
    // on close, because a modal dialog's setValue() spins the event loop and
    // may be on the stack when the load ends.
    if (m_progressDialog)
        m_progressDialog->deleteLater();
    m_progressDialog = new QProgressDialog(this);
    connect(m_progressDialog, &QObject::destroyed, this, &MainWindow::progressDialogDestroyed);
    m_progressDialog->setFixedWidth(250);
    m_progressDialog->setAutoReset(true);
    m_progressDialog->setAutoClose(true);
    m_progressDialog->setLabelText(QStringLiteral("Project load"));
    m_progressDialog->setCancelButtonText(QStringLiteral("Cancel"));
    m_progressDialog->setWindowModality(Qt::ApplicationModal);
    m_progressDialog->setRange(0, 100);
    // Also emitted when the dialog is closed; with no load pending that is a no-op.
    connect(m_progressDialog, &QProgressDialog::canceled, this, &MainWindow::cancelPendingLoad);
    m_progressDialog->show();
}

void MainWindow::setProgress(int value, QString text)
{
    if (!m_progressDialog)
        return;
    m_progressDialog->setValue(value);
    // setValue() on a modal dialog processes events, which may have closed it.
    if (m_progressDialog)
        m_progressDialog->setLabelText(text);
}

void MainWindow::hideProgress()
{
    if (!m_progressDialog)
        return;
    for (ProjectLoader *loader : {m_loader, m_pendingLoader}) {
        if (loader)
            disconnect(loader, &ProjectLoader::progress, this, &MainWindow::setProgress);
    }
    m_progressDialog->close();
}

void MainWindow::progressDialogDestroyed(QObject *object)
{
    if (object == m_progressDialog)
        m_progressDialog = nullptr;
}

void MainWindow::onCloseAction()
{
    closeProject();
    updateToolBarActions();
    setWindowTitle(QStringLiteral("Plandeck"));
}

void MainWindow::onColumnsAction()
{
    QHeaderView *header = nullptr;
    PdSortFilterWidget *controller = nullptr;
    if (m_stackedWidget->currentWidget() == m_splitter) {
        header = m_activities->treeView()->header();
        controller = m_activities->sortFilterWidget();
    } else if (m_stackedWidget->currentWidget() == m_resources) {
        header = m_resources->tableView()->horizontalHeader();
        controller = m_resources->sortFilterWidget();
    }
    if (!header)
        return;
    PdGroupedColumnDialog dialog(header, this);
    // The view's own controller, so a filter set here rebuilds the chart and
    // the groups just as one set from the header does.
    dialog.setSortFilterController(controller);
    dialog.excludeGroup(QStringLiteral("system"), true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.applyChosenColumns();
    if (header == m_activities->treeView()->header()) {
        setTreePositionToFirstVisibleColumn();
        m_activities->onUpdateMergeColumns();
    }
}

void MainWindow::onExportAction()
{
    const QString caption = tr("Export activities");
    const QString path = m_chooseSaveFile(this, caption, QStringLiteral("Export.csv"), tr("CSV Files (*.csv)"));
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const PdExportResult result = exportActivitiesCsv(m_activities->treeView(), path);
    QApplication::restoreOverrideCursor();
    if (result.ok) {
        statusBar()->showMessage(tr("File saved successfully."), 3000);
        return;
    }
    QMessageBox::warning(this, caption,
                         tr("The activities could not be written to \"%1\".\n%2")
                             .arg(QDir::toNativeSeparators(path), result.errorString));
}

void MainWindow::onCopyAction()
{
    const QString text = selectedRowsText(m_activities->treeView());
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void MainWindow::onDetailAction()
{
    m_splitter->widget(1)->setVisible(m_actionDetail->isChecked());
}

void MainWindow::onGroupAction()
{
    PdGroupDialog::editGrouping(m_activities, this);
}

void MainWindow::onSnip()
{
    PdSnipDialog dialog(m_activities->ganttChart(), this);
    dialog.exec();
}

void MainWindow::onPrintMenu()
{
    ViewPrintSheet sheet(m_activities->treeView(), m_activities->ganttChart());
    PdPrintDialog dialog(sheet, this);
    dialog.exec();
}

void MainWindow::onBarStyles()
{
    PdGanttChartStylesDialog::editChartStyles(m_activities->ganttChart(), m_activities->activityModel(), this);
}

void MainWindow::onOutlineChanged()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    QTreeView *tree = m_activities->treeView();
    {
        const QSignalBlocker blocker(tree);
        const QString text = action->text();
        if (text == QLatin1String("Expand")) {
            tree->expand(tree->currentIndex());
        } else if (text == QLatin1String("Collapse")) {
            tree->collapse(tree->currentIndex());
        } else if (text == QLatin1String("Expand All")) {
            tree->expandAll();
        } else if (text == QLatin1String("Collapse All")) {
            tree->collapseAll();
        } else if (text.startsWith(QLatin1String("Level "))) {
            // Level n shows n levels of rows: rows down to depth n - 2 are
            // expanded, so Level 1 leaves only the top rows.
            const int level = text.midRef(6).toInt();
            if (level <= 1)
                tree->collapseAll();
            else
                tree->expandToDepth(level - 2);
        }
        m_outlineState = text;
    }
    // The tree's signals were blocked, so the chart has not heard of it.
    m_activities->ganttChart()->rebuild();
}

void MainWindow::onExpandCollapseClicked()
{
    QTreeView *tree = m_activities->treeView();
    const QAbstractItemModel *model = tree->model();
    if (!model)
        return;
    const QSignalBlocker blocker(tree);
    if (tree->isExpanded(model->index(0, 0))) {
        tree->collapseAll();
        m_outlineState = QStringLiteral("Level 0");
    } else {
        tree->expandAll();
        m_outlineState = QStringLiteral("Level 7");
    }
    m_activities->ganttChart()->rebuild();
}

void MainWindow::setView(QAction *action)
{
    if (action == m_actionGanttChart || action == m_actionTrackingGanttChart) {
        m_stackedWidget->setCurrentIndex(0);
        m_actionDetail->setVisible(true);
    } else if (action == m_actionResources) {
        m_stackedWidget->setCurrentIndex(1);
        m_actionDetail->setVisible(false);
    }
    updateColumnsIcon();
}

void MainWindow::onDefaultViewClicked()
{
    m_actionGanttChart->setChecked(true);
    m_stackedWidget->setCurrentIndex(0);
    m_actionDetail->setVisible(true);
    updateColumnsIcon();
}

void MainWindow::updateColumnsIcon()
{
    const bool activitiesFiltered = m_activities->sortFilterHeader()->hasFilters();
    m_actionClearAllFilters->setEnabled(activitiesFiltered);
    const QWidget *page = m_stackedWidget->currentWidget();
    if (page != m_splitter && page != m_resources)
        return;
    const bool filtered = page == m_splitter ? activitiesFiltered : m_resources->header()->hasFilters();
    m_actionColumns->setIcon(QIcon(filtered ? QStringLiteral(":/images/table_column_filter_32.png")
                                            : QStringLiteral(":/images/table_column_f_32.png")));
}

void MainWindow::updateActivityCount()
{
    const PdFilterDialogProxyModel *proxy = m_activities->filterProxy();
    const int total = m_loader ? proxy->sourceLeafCount() : 0;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    m_activityCount->setText(total > 0 ? QStringLiteral("%1 of %2 activities")
                                             .arg(english.toString(proxy->acceptedLeafCount()), english.toString(total))
                                       : QString());
}

void MainWindow::onAbout()
{
    const QString title = QStringLiteral("About Plandeck XER");
    QString text = QStringLiteral("<!DOCTYPE html><html><body><h1>") + title +
                   QStringLiteral("</h1><p>This is version 0.0.0.0</p>") +
                   QStringLiteral("<p>Plandeck shows Primavera P6 schedules exported as XER files: "
                                  "activities grouped in a tree beside their Gantt chart.</p>"
                                  "<p>It only reads the files it opens and never changes them.</p>") +
                   QStringLiteral("</body></html>");
    text.replace(QLatin1String("0.0.0.0"), QCoreApplication::applicationVersion());
    QMessageBox::about(this, title, text);
}

void MainWindow::testShowTable()
{
    const QString name = QInputDialog::getText(this, QStringLiteral("Show table"),
                                               QStringLiteral("Insert table name from PdP6Loader"));
    if (!name.isNull() && m_loader && m_loader->hasModel(name)) {
        // A window of its own, but owned here so it cannot outlive the program's window.
        auto *view = new QTableView(this);
        view->setWindowFlag(Qt::Window);
        view->setAttribute(Qt::WA_DeleteOnClose);
        view->setModel(m_loader->model(name));
        view->show();
        return;
    }
    QMessageBox::critical(this, QStringLiteral("Show table"), QStringLiteral("Table name was not found in PdP6Loader"),
                          QMessageBox::Ok);
}

void MainWindow::testShowTreeView()
{
    auto *view = new QTreeView(this);
    view->setWindowFlag(Qt::Window);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setModel(m_activities->treeView()->model());
    view->show();
}

void MainWindow::layoutNameEdited(QString text)
{
    m_saveLayout->setEnabled(!text.isEmpty());
}

void MainWindow::saveLayoutClicked()
{
    m_layouts->saveLayout(m_layoutName->text());
}

void MainWindow::onImportLayout()
{
    m_layouts->onImportLayout();
}

void MainWindow::rebuildRecentMenu()
{
    for (QAction *action : setRecentEntries(m_recentFiles.entries()))
        connect(action, &QAction::triggered, this, &MainWindow::onMRUClick);
}

void MainWindow::onMRUClick()
{
    auto *action = qobject_cast<QAction *>(sender());
    if (!action)
        return;
    const QVariantMap data = action->data().toMap();
    const QString fileName = data.value(QStringLiteral("fileName")).toString();
    if (!data.value(QStringLiteral("isMRU")).toBool() || fileName.isEmpty())
        return;
    const QFileInfo info(fileName);
    if (info.exists()) {
        if (info.suffix().toLower() == QLatin1String("xer"))
            openProjectFile(fileName);
        return;
    }
    QMessageBox::critical(this, QStringLiteral("File doesn't exist"), QStringLiteral("File was deleted"),
                          QMessageBox::Ok);
    m_recentFiles.removeFile(fileName);
    rebuildRecentMenu();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The program ends with its window; a load must not keep it alive.
    cancelPendingLoad();
    hideProgress();
    m_recentFiles.write();
    saveSettings();
    QMainWindow::closeEvent(event);
}

void MainWindow::restoreSettings()
{
    const WindowSettings stored = WindowSettings::read();
    stored.applyLayoutTo(*this);
    if (!stored.lastFolder.isEmpty() && QFileInfo(stored.lastFolder).isDir())
        m_lastFolder = stored.lastFolder;
    // Codes without an action are dropped; with none left the default band stays.
    const auto units = timeScaleUnits();
    const bool known = std::any_of(units.cbegin(), units.cend(),
                                   [&stored](const auto &unit) { return stored.timeBands.contains(unit.second); });
    if (!known)
        return;
    for (const auto &unit : units)
        unit.first->setChecked(stored.timeBands.contains(unit.second));
    setGanttTimelime();
}

void MainWindow::saveSettings() const
{
    WindowSettings settings;
    settings.takeLayoutFrom(*this);
    settings.timeBands = timeScaleLevels();
    settings.lastFolder = m_lastFolder;
    settings.write();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!draggedSchedule(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = draggedSchedule(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened from the event loop: the drag's sender waits for this event to return.
    QTimer::singleShot(0, this, [this, path] { openProjectFile(path); });
}
