#pragma once

#include "layoutstore.h"
#include "p6layout.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QVector>

#include <functional>

class Activities;
class QAction;
class QMenu;
class QWidget;

// Layouts of the activities view: writes the current look as a layout document and applies
// one (columns, sort, filters, grouping, outline, bar styles), turns the views stored in a
// schedule or a P6 layout file into layouts, keeps the layouts saved by name, and fills the
// entries of the Layout menu after its name field and separator.
class LayoutManager : public QObject
{
    Q_OBJECT
public:
    // Asks for a file; an empty text when cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &caption, const QString &dir,
                                              const QString &filter)>;
    // Asks a yes/no question; true for yes.
    using Question = std::function<bool(QWidget *parent, const QString &title, const QString &text)>;
    // Shows a warning.
    using Warning = std::function<void(QWidget *parent, const QString &title, const QString &text)>;

    // Hostile files are read only up to this size.
    static constexpr qint64 MaxLayoutFileSize = 8 * 1024 * 1024;

    // `menu` and `window` may be null where nothing is shown.
    LayoutManager(Activities *activities, QMenu *menu, QWidget *window, const QString &storePath = QString());

    // The Outline commands a layout's "outline" may run, found by their text.
    void setOutlineActions(const QList<QAction *> &actions);
    void setOutlineState(std::function<QString()> state);
    void setOpenFileChooser(FileChooser chooser);
    void setSaveFileChooser(FileChooser chooser);
    void setQuestion(Question question);
    void setWarning(Warning warning);

    void applyLayout(const QString &document);
    QString currentLayoutJson() const;

    // Rows with "VIEW_ID", "VIEW_NAME" and "VIEW_DATA" from the open schedule.
    void processP6layouts(const QVariantList &rows);
    // Rebuilds the layout entries; the one whose text equals `name` is checked.
    void updateLayoutsList(const QString &name);

    const QVector<P6Layout> &p6Layouts() const { return m_p6Layouts; }
    const LayoutStore &store() const { return m_store; }
    // The layout entries of the menu, in order.
    QList<QAction *> layoutEntries() const { return m_entries; }

    // Keeps the current layout under this name; asks before replacing one. False when nothing
    // was saved (cancelled, or the store cannot be written, which is shown to the user).
    bool saveLayout(const QString &name);
    // Adds the layout of a .json document or a P6 layout file to the menu.
    bool importLayout(const QString &path, QString *error);
    bool exportLayout(const QString &path, QString *error) const;

    // A layout file (.json or P6), the name of a saved layout, or the name of a view stored in
    // the open schedule, as a layout document.
    bool resolveLayout(const QString &spec, QString *document, QString *error) const;

    // Reads a layout file, capped in size, UTF-8 or as its byte-order mark says: a .json file is a
    // layout document, anything else P6 view data. `name` is the view's name or the file's.
    static bool readLayoutFile(const QString &path, const QHash<QString, QString> &displays, QString *name,
                               QString *document, QString *error);

public slots:
    void applayLayoutClicked();
    void onImportLayout();
    void onExportLayout();

private:
    struct Named
    {
        QString text;
        QString document;
    };
    void applyColumns(const QJsonValue &value);
    void applySort(const QJsonValue &value);
    void applyFilters(const QJsonValue &value);
    void applyGroup(const QJsonValue &value);
    void applyOutline(const QString &outline);
    void resetSortAndFilters();
    QVector<Named> namedLayouts() const;
    const QHash<QString, QString> &fieldDisplays() const;

    Activities *m_activities;
    QPointer<QMenu> m_menu;
    QWidget *m_window;
    QAction *m_tail = nullptr;
    QList<QAction *> m_outlineActions;
    std::function<QString()> m_outlineState;
    FileChooser m_openFile;
    FileChooser m_saveFile;
    Question m_question;
    Warning m_warning;

    QVector<P6Layout> m_p6Layouts;
    // Layout files imported in this session: shown until the program ends.
    QVector<Named> m_imported;
    LayoutStore m_store;
    QList<QAction *> m_entries;
    mutable QHash<QString, QString> m_fieldDisplays;
};
