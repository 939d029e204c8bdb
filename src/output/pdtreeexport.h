#pragma once

#include <QModelIndexList>
#include <QString>
#include <QStringList>
#include <QVector>

class PdCsvWriter;
class QAbstractItemModel;
class QHeaderView;
class QTreeView;

// Writes a tree as its view shows it: the rows of the view's model (so after
// grouping, sorting and filtering), the header's visible columns in their
// visual order, and in the column that carries the branches each row's group
// title, or its own value, indented by one space per ancestor.
class PdTreeExport
{
public:
    explicit PdTreeExport(const QTreeView *view);
    PdTreeExport(const QAbstractItemModel *model, const QHeaderView *header, int treeColumn);

    QStringList titles() const { return m_titles; }

    void writeHeader(PdCsvWriter &writer) const;
    void writeRow(PdCsvWriter &writer, const QModelIndex &index, int depth) const;
    // Every row in tree order, collapsed ones included, written as the walk
    // reaches it; false when the writer failed.
    bool writeAllRows(PdCsvWriter &writer) const;
    // The given rows in tree order, with the header line first.
    QString rowsText(QModelIndexList rows, QChar separator) const;

private:
    const QAbstractItemModel *m_model = nullptr;
    QVector<int> m_columns;
    QStringList m_titles;
    int m_treeColumn = -1;
    int m_groupColumn = -1;
};

struct PdExportResult
{
    bool ok = false;
    QString errorString;
};

// Writes the view's rows as a semicolon-separated UTF-8 file. The file is
// replaced only once it is completely written, so a failed export leaves an
// existing file as it was.
PdExportResult exportActivitiesCsv(const QTreeView *view, const QString &path);

// The selected rows of the view as tab-separated text with a header line,
// ready to paste into a spreadsheet; empty when no row is selected.
QString selectedRowsText(const QTreeView *view);
