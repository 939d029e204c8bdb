#include "layoutmanager.h"

#include "activities.h"
#include "ganttchart.h"
#include "p6confignode.h"
#include "pdfilterdialogproxymodel.h"
#include "pdganttviewbarstyle.h"
#include "pdgroupedtreeview.h"
#include "pdmodelutils.h"
#include "pdsortfilterheader.h"
#include "pdsortfilterwidget.h"

#include <QAction>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QLoggingCategory>
#include <QTextCodec>

// Timed start/stop lines, with the window's own.
Q_LOGGING_CATEGORY(lcLayoutTiming, "plandeck.timing.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLayouts, "plandeck.layouts")

namespace {

// Header widths a layout may set: a column stays findable and never swallows the window.
constexpr int MinColumnWidth = 10;
constexpr int MaxColumnWidth = 2000;
constexpr int ShownGroupLevels = 10;

const QString P6Prefix = QStringLiteral("[P6] ");

QString askOpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString askSaveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

bool askQuestion(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void showWarning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text);
}

// A layout written by hand or by an older version may differ from the header in letter case
// only ("Remaining duration"); the exact title wins where both exist.
int columnByTitle(const QAbstractItemModel *model, const QString &title)
{
    const int exact = columnByName(model, title);
    if (exact >= 0 || title.isEmpty())
        return exact;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().compare(title, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

QString headerName(const QAbstractItemModel *model, int column)
{
    const QString display =
        model->headerData(column, Qt::Horizontal, Qt::UserRole + 2).toMap().value(QStringLiteral("display")).toString();
    return display.isEmpty() ? model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() : display;
}

QStringList textsOf(const QJsonValue &value)
{
    if (value.isString())
        return {value.toString()};
    QStringList texts;
    for (const QJsonValue &entry : value.toArray())
        texts.append(entry.toString());
    return texts;
}

QString menuText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

LayoutManager::LayoutManager(Activities *activities, QMenu *menu, QWidget *window, const QString &storePath)
    : QObject(window)
    , m_activities(activities)
    , m_menu(menu)
    , m_window(window)
    , m_openFile(askOpenFile)
    , m_saveFile(askSaveFile)
    , m_question(askQuestion)
    , m_warning(showWarning)
    , m_store(storePath)
{
    // Without a menu (an export from the command line) layouts are only applied.
    if (m_menu)
        m_tail = m_menu->addSeparator();
    if (m_store.read() == LayoutStore::Unreadable)
        qCWarning(lcLayouts).noquote() << "LayoutManager::LayoutManager" << m_store.errorText();
}

void LayoutManager::setOutlineActions(const QList<QAction *> &actions)
{
    m_outlineActions = actions;
}

void LayoutManager::setOutlineState(std::function<QString()> state)
{
    m_outlineState = std::move(state);
}

void LayoutManager::setOpenFileChooser(FileChooser chooser)
{
    m_openFile = chooser ? std::move(chooser) : FileChooser(askOpenFile);
}

void LayoutManager::setSaveFileChooser(FileChooser chooser)
{
    m_saveFile = chooser ? std::move(chooser) : FileChooser(askSaveFile);
}

void LayoutManager::setQuestion(Question question)
{
    m_question = question ? std::move(question) : Question(askQuestion);
}

void LayoutManager::setWarning(Warning warning)
{
    m_warning = warning ? std::move(warning) : Warning(showWarning);
}

const QHash<QString, QString> &LayoutManager::fieldDisplays() const
{
    if (m_fieldDisplays.isEmpty()) {
        QFile catalogue(QStringLiteral(":/files/schema.json"));
        catalogue.open(QIODevice::ReadOnly);
        m_fieldDisplays = P6Layout::fieldDisplayTable(QJsonDocument::fromJson(catalogue.readAll()));
    }
    return m_fieldDisplays;
}

void LayoutManager::applyLayout(const QString &document)
{
    if (document.isEmpty())
        return;
    PdGroupedTreeView *tree = m_activities->treeView();
    if (!qobject_cast<PdSortFilterHeader *>(tree->header()))
        return;
    qCInfo(lcLayoutTiming).nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();

    const QJsonObject layout = QJsonDocument::fromJson(document.toUtf8()).object();
    applyColumns(layout.value(QStringLiteral("columns")));
    applySort(layout.value(QStringLiteral("sortby")));
    applyFilters(layout.value(QStringLiteral("filters")));
    applyGroup(layout.value(QStringLiteral("group")));
    applyOutline(layout.value(QStringLiteral("outline")).toString());
    // A layout without bar styles (every view P6 stores) keeps the chart's; none at all would
    // leave the chart without a single bar.
    const QList<PdGanttViewBarStyle> styles =
        PdGanttViewBarStyle::listFromJson(layout.value(QStringLiteral("barStyles")).toArray());
    if (!styles.isEmpty())
        m_activities->ganttChart()->setBarStyles(styles);

    tree->setTreePosition(firstVisibleColumn(tree->header()));
    m_activities->onUpdateMergeColumns();
    qCInfo(lcLayoutTiming).nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
}

void LayoutManager::applyColumns(const QJsonValue &value)
{
    QHeaderView *header = m_activities->treeView()->header();
    const QAbstractItemModel *model = header->model();
    if (!model)
        return;
    QVariantList texts;
    for (const QString &entry : textsOf(value)) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        if (parts.size() != 2)
            continue;
        const int column = columnByTitle(model, parts.at(0));
        if (column < 0)
            continue;
        bool ok = false;
        int width = parts.at(1).toInt(&ok);
        if (!ok)
            width = header->sectionSize(column);
        width = qBound(MinColumnWidth, width, MaxColumnWidth);
        texts.append(QStringLiteral("%1:%2").arg(model->headerData(column, Qt::Horizontal).toString()).arg(width));
    }
    // A layout made for another kind of project would otherwise hide every column.
    if (!texts.isEmpty())
        applyColumnLayoutTexts(header, texts);
}

void LayoutManager::resetSortAndFilters()
{
    auto *header = qobject_cast<PdSortFilterHeader *>(m_activities->treeView()->header());
    auto *proxy = qobject_cast<PdFilterDialogProxyModel *>(m_activities->treeView()->model());
    if (!header)
        return;
    if (PdSortFilterWidget *widget = header->sortFilterWidget()) {
        widget->clearAllFilters();
        return;
    }
    if (proxy) {
        proxy->sort(-1);
        proxy->clearFilters();
    }
    header->setSort(-1, 0);
    header->clearFilters();
}

void LayoutManager::applySort(const QJsonValue &value)
{
    const QStringList sorts = textsOf(value);
    const QString first = sorts.value(0);
    if (first.isEmpty()) {
        resetSortAndFilters();
        return;
    }
    auto *header = qobject_cast<PdSortFilterHeader *>(m_activities->treeView()->header());
    auto *proxy = qobject_cast<PdFilterDialogProxyModel *>(m_activities->treeView()->model());
    if (!header || !proxy)
        return;
    // Column names may hold ";" themselves; the order is what follows the last one.
    const int split = first.lastIndexOf(QLatin1Char(';'));
    const QString name = split < 0 ? first : first.left(split);
    const bool ascending = split < 0 || first.mid(split + 1) == QLatin1String("A");
    const int column = columnByTitle(proxy, name);
    if (column < 0)
        return;
    proxy->sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    header->setSort(column, ascending ? 0 : 1);
}

void LayoutManager::applyFilters(const QJsonValue &value)
{
    if (!value.isObject())
        return;
    auto *header = qobject_cast<PdSortFilterHeader *>(m_activities->treeView()->header());
    auto *proxy = qobject_cast<PdFilterDialogProxyModel *>(m_activities->treeView()->model());
    if (!header || !proxy)
        return;
    const QVariantMap stored = value.toObject().toVariantMap();
    const QVariantMap names = stored.value(QStringLiteral("columns")).toMap();
    // Column numbers differ between projects (code and user-field columns); the stored header
    // names find the same columns again, and filters on columns this project lacks are dropped.
    const auto remap = [&](const QVariantMap &byColumn) {
        QVariantMap mapped;
        for (auto it = byColumn.cbegin(); it != byColumn.cend(); ++it) {
            int column = -1;
            if (names.contains(it.key())) {
                column = columnByTitle(proxy, names.value(it.key()).toString());
            } else {
                bool ok = false;
                column = it.key().toInt(&ok);
                if (!ok || column >= proxy->columnCount())
                    column = -1;
            }
            if (column >= 0)
                mapped.insert(QString::number(column), it.value());
        }
        return mapped;
    };
    const QVariantMap patterns = remap(stored.value(QStringLiteral("patterns")).toMap());
    const QVariantMap expressions = remap(stored.value(QStringLiteral("expressions")).toMap());
    proxy->filtersFromVariant({{QStringLiteral("patterns"), patterns}, {QStringLiteral("expressions"), expressions}});

    // One notice for the whole set: each one regroups the dates of every group row.
    {
        const QSignalBlocker blocker(header);
        header->clearFilters();
        for (int column : proxy->filteredColumns())
            header->addFilter(column);
    }
    emit header->filterSettingsChanged();
}

void LayoutManager::applyGroup(const QJsonValue &value)
{
    // The views P6 stores give a list of levels; documents of this program one text.
    const QString text = value.isArray() ? textsOf(value).join(QLatin1Char(',')) : value.toString();
    if (text.isEmpty())
        return;
    QList<PdGroupLevel> levels = PdGroupLevel::fromText(text);
    const QList<PdGroupLevel> defaults = PdGroupLevel::defaultLevels();
    while (levels.size() < ShownGroupLevels)
        levels.append(defaults.value(levels.size()));
    while (levels.size() > ShownGroupLevels)
        levels.removeLast();
    m_activities->setGroupLevels(levels);
}

void LayoutManager::applyOutline(const QString &outline)
{
    if (outline.isEmpty())
        return;
    // Only an Outline command runs: a stored text naming any other command of the window
    // (Close, a recent file) must not run it.
    const QString command = outline == QLatin1String("Level 0") ? QStringLiteral("Collapse All") : outline;
    for (QAction *action : qAsConst(m_outlineActions)) {
        if (action->text() == command) {
            action->trigger();
            return;
        }
    }
}

QString LayoutManager::currentLayoutJson() const
{
    PdGroupedTreeView *tree = m_activities->treeView();
    QJsonObject layout;
    layout.insert(QStringLiteral("columns"), QJsonArray::fromStringList(columnLayoutTexts(tree->header())));

    QString sortBy;
    QJsonObject filters{{QStringLiteral("patterns"), QJsonObject()}, {QStringLiteral("expressions"), QJsonObject()}};
    auto *header = qobject_cast<PdSortFilterHeader *>(tree->header());
    auto *proxy = qobject_cast<PdFilterDialogProxyModel *>(tree->model());
    if (header && proxy) {
        if (header->sortColumn() >= 0)
            sortBy = headerName(proxy, header->sortColumn()) + (header->sortOrder() == 1 ? QStringLiteral(";D")
                                                                                          : QStringLiteral(";A"));
        QVariantMap stored = proxy->filtersToVariant();
        QVariantMap names;
        for (int column : proxy->filteredColumns())
            names.insert(QString::number(column), proxy->headerData(column, Qt::Horizontal).toString());
        stored.insert(QStringLiteral("columns"), names);
        filters = QJsonObject::fromVariantMap(stored);
    }
    layout.insert(QStringLiteral("sortby"), sortBy);
    layout.insert(QStringLiteral("filters"), filters);
    layout.insert(QStringLiteral("group"), PdGroupLevel::toText(m_activities->groupLevels()));
    layout.insert(QStringLiteral("outline"), m_outlineState ? m_outlineState() : QString());
    layout.insert(QStringLiteral("bars"), QJsonValue::Null);
    layout.insert(QStringLiteral("barStyles"),
                  PdGanttViewBarStyle::listToJson(m_activities->ganttChart()->barStyles()));
    return QString::fromUtf8(QJsonDocument(layout).toJson(QJsonDocument::Compact));
}

void LayoutManager::processP6layouts(const QVariantList &rows)
{
    qCInfo(lcLayoutTiming).nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();
    m_p6Layouts = P6Layout::fromRows(rows, fieldDisplays());
    updateLayoutsList(QStringLiteral("default"));
    qCInfo(lcLayoutTiming).nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
}

QVector<LayoutManager::Named> LayoutManager::namedLayouts() const
{
    QVector<Named> layouts;
    for (const P6Layout &layout : m_p6Layouts)
        layouts.append({P6Prefix + layout.name, layout.toDocument()});
    layouts += m_imported;
    for (const LayoutStore::Entry &entry : m_store.entries())
        layouts.append({entry.name, QString::fromUtf8(QJsonDocument(entry.layout).toJson(QJsonDocument::Compact))});
    return layouts;
}

void LayoutManager::updateLayoutsList(const QString &name)
{
    if (!m_menu)
        return;
    qCInfo(lcLayoutTiming).nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();
    for (QAction *entry : qAsConst(m_entries)) {
        m_menu->removeAction(entry);
        // The entry may be the one whose click is being handled.
        entry->deleteLater();
    }
    m_entries.clear();

    for (const Named &layout : namedLayouts()) {
        auto *entry = new QAction(menuText(layout.text), m_menu);
        entry->setCheckable(true);
        entry->setChecked(layout.text == name);
        entry->setData(layout.document);
        connect(entry, &QAction::triggered, this, &LayoutManager::applayLayoutClicked);
        m_menu->insertAction(m_tail, entry);
        m_entries.append(entry);
    }
    if (m_entries.isEmpty()) {
        auto *none = new QAction(QStringLiteral("layouts not found"), m_menu);
        none->setEnabled(false);
        m_menu->insertAction(m_tail, none);
        m_entries.append(none);
    }
    qCInfo(lcLayoutTiming).nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
}

void LayoutManager::applayLayoutClicked()
{
    auto *entry = qobject_cast<QAction *>(sender());
    if (!entry)
        return;
    applyLayout(entry->data().toString());
    for (QAction *other : qAsConst(m_entries))
        other->setChecked(false);
    entry->setChecked(true);
}

bool LayoutManager::saveLayout(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QString title = QStringLiteral("Save layout");
    if (m_store.status() == LayoutStore::Unreadable) {
        m_warning(m_window, title, m_store.errorText() + QStringLiteral(" The file is left as it is."));
        return false;
    }
    if (m_store.indexOf(trimmed) >= 0
        && !m_question(m_window, title, QStringLiteral("A layout named \"%1\" exists. Replace it?").arg(trimmed)))
        return false;
    const LayoutStore before = m_store;
    m_store.put(trimmed, QJsonDocument::fromJson(currentLayoutJson().toUtf8()).object());
    if (!m_store.write()) {
        const QString error = m_store.errorText();
        m_store = before;
        m_warning(m_window, title, error);
        return false;
    }
    updateLayoutsList(trimmed);
    return true;
}

bool LayoutManager::readLayoutFile(const QString &path, const QHash<QString, QString> &displays, QString *name,
                                   QString *document, QString *error)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("\"%1\" cannot be read: %2.").arg(shown, file.errorString());
        return false;
    }
    if (file.size() > MaxLayoutFileSize) {
        *error = QStringLiteral("\"%1\" is too large to be a layout.").arg(shown);
        return false;
    }
    const QByteArray bytes = file.read(MaxLayoutFileSize + 1);
    if (bytes.size() > MaxLayoutFileSize) {
        *error = QStringLiteral("\"%1\" is too large to be a layout.").arg(shown);
        return false;
    }
    QTextCodec *codec = QTextCodec::codecForUtfText(bytes, QTextCodec::codecForName("UTF-8"));
    QString text = codec->toUnicode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0) {
        QJsonParseError parseError;
        const QJsonDocument json = QJsonDocument::fromJson(text.toUtf8(), &parseError);
        if (!json.isObject()) {
            *error = QStringLiteral("\"%1\" is not a layout: %2.").arg(shown, parseError.errorString());
            return false;
        }
        *name = info.completeBaseName();
        *document = QString::fromUtf8(json.toJson(QJsonDocument::Compact));
        return true;
    }

    QString parseError;
    const P6ConfigNode::Ptr root = P6ConfigNode::parse(text, &parseError);
    P6Layout layout;
    if (!root) {
        *error = QStringLiteral("\"%1\" is not a P6 layout: %2.").arg(shown, parseError);
        return false;
    }
    if (!P6Layout::fromView(*root, displays, &layout)) {
        *error = QStringLiteral("\"%1\" holds no layout with columns.").arg(shown);
        return false;
    }
    *name = info.fileName();
    *document = layout.toDocument();
    return true;
}

bool LayoutManager::importLayout(const QString &path, QString *error)
{
    QString name;
    QString document;
    if (!readLayoutFile(path, fieldDisplays(), &name, &document, error))
        return false;
    const bool p6 = QFileInfo(path).suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) != 0;
    const QString text = p6 ? P6Prefix + name : name;
    // Importing the same file again refreshes its entry instead of adding a twin.
    auto it = std::find_if(m_imported.begin(), m_imported.end(), [&](const Named &n) { return n.text == text; });
    if (it != m_imported.end())
        it->document = document;
    else
        m_imported.append({text, document});
    updateLayoutsList(text);
    return true;
}

void LayoutManager::onImportLayout()
{
    const QString path = m_openFile(m_window, QStringLiteral("Select files to open"), QString(),
                                    QStringLiteral("Layout files (*.plf *.json)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!importLayout(path, &error))
        m_warning(m_window, QStringLiteral("Import layout"), error);
}

bool LayoutManager::exportLayout(const QString &path, QString *error) const
{
    const QJsonDocument document = QJsonDocument::fromJson(currentLayoutJson().toUtf8());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(document.toJson()) < 0 || !file.commit()) {
        *error = QStringLiteral("\"%1\" cannot be written: %2.").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

void LayoutManager::onExportLayout()
{
    QString path = m_saveFile(m_window, QStringLiteral("Export layout"), QString(),
                              QStringLiteral("Layout files (*.json)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    QString error;
    if (!exportLayout(path, &error))
        m_warning(m_window, QStringLiteral("Export layout"), error);
}

bool LayoutManager::resolveLayout(const QString &spec, QString *document, QString *error) const
{
    const QFileInfo info(spec);
    if (info.isFile()) {
        QString name;
        return readLayoutFile(spec, fieldDisplays(), &name, document, error);
    }
    const int saved = m_store.indexOf(spec);
    if (saved >= 0) {
        *document = QString::fromUtf8(QJsonDocument(m_store.entries().at(saved).layout).toJson(QJsonDocument::Compact));
        return true;
    }
    for (const P6Layout &layout : m_p6Layouts) {
        if (layout.name == spec) {
            *document = layout.toDocument();
            return true;
        }
    }
    if (m_store.status() == LayoutStore::Unreadable)
        *error = QStringLiteral("\"%1\" is neither a layout file nor a view of the schedule. %2")
                     .arg(spec, m_store.errorText());
    else
        *error = QStringLiteral("\"%1\" is neither a layout file, a saved layout nor a view of the schedule.").arg(spec);
    return false;
}
