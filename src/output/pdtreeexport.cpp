#include "pdtreeexport.h"

#include "pdcsvwriter.h"

#include <QBuffer>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSaveFile>
#include <QTreeView>

#include <algorithm>

namespace {

bool isBlank(const QVariant &value)
{
    return !value.isValid() || value.isNull()
        || (value.userType() == QMetaType::QString && value.toString().isEmpty());
}

// Row numbers from the root down to the index: comparing these orders rows
// as a pre-order walk of the tree would meet them.
QVector<int> pathOf(QModelIndex index)
{
    QVector<int> path;
    for (; index.isValid(); index = index.parent())
        path.append(index.row());
    std::reverse(path.begin(), path.end());
    return path;
}

int depthOf(QModelIndex index)
{
    int depth = 0;
    for (index = index.parent(); index.isValid(); index = index.parent())
        ++depth;
    return depth;
}

} // namespace

PdTreeExport::PdTreeExport(const QTreeView *view)
    : PdTreeExport(view->model(), view->header(), view->treePosition())
{
}

PdTreeExport::PdTreeExport(const QAbstractItemModel *model, const QHeaderView *header, int treeColumn)
    : m_model(model)
    , m_treeColumn(treeColumn)
{
    if (!m_model || !header)
        return;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (column < 0 || column >= m_model->columnCount() || header->isSectionHidden(column))
            continue;
        m_columns.append(column);
        m_titles.append(m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() == QLatin1String("Group")) {
            m_groupColumn = column;
            break;
        }
    }
}

void PdTreeExport::writeHeader(PdCsvWriter &writer) const
{
    for (const QString &title : m_titles)
        writer.addText(title);
    writer.endRow();
}

void PdTreeExport::writeRow(PdCsvWriter &writer, const QModelIndex &index, int depth) const
{
    const QModelIndex parent = index.parent();
    const int row = index.row();
    for (const int column : m_columns) {
        const QVariant own = m_model->index(row, column, parent).data(Qt::DisplayRole);
        if (column != m_treeColumn) {
            writer.addValue(own);
            continue;
        }
        // Activity rows hold no group title; theirs is the row's own value.
        QVariant value;
        if (m_groupColumn >= 0)
            value = m_model->index(row, m_groupColumn, parent).data(Qt::DisplayRole);
        writer.addValue(isBlank(value) ? own : value, QString(depth, QLatin1Char(' ')));
    }
    writer.endRow();
}

bool PdTreeExport::writeAllRows(PdCsvWriter &writer) const
{
    if (!m_model)
        return writer.flush();
    // An explicit stack, so a deep tree costs memory, not call depth.
    struct Level
    {
        QModelIndex parent;
        int next;
        int count;
    };
    QVector<Level> stack{{QModelIndex(), 0, m_model->rowCount()}};
    while (!stack.isEmpty()) {
        Level &level = stack.last();
        if (level.next >= level.count) {
            stack.removeLast();
            continue;
        }
        const QModelIndex index = m_model->index(level.next++, 0, level.parent);
        writeRow(writer, index, stack.size() - 1);
        if (writer.hasError())
            return false;
        const int children = m_model->rowCount(index);
        if (children > 0)
            stack.append({index, 0, children});
    }
    return writer.flush();
}

QString PdTreeExport::rowsText(QModelIndexList rows, QChar separator) const
{
    if (!m_model || rows.isEmpty())
        return QString();
    QVector<QPair<QVector<int>, QModelIndex>> ordered;
    ordered.reserve(rows.size());
    for (const QModelIndex &row : qAsConst(rows)) {
        if (row.model() == m_model)
            ordered.append({pathOf(row), row.sibling(row.row(), 0)});
    }
    if (ordered.isEmpty())
        return QString();
    std::sort(ordered.begin(), ordered.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    PdCsvWriter writer(&buffer, separator);
    writeHeader(writer);
    for (const auto &entry : qAsConst(ordered))
        writeRow(writer, entry.second, depthOf(entry.second));
    writer.flush();
    return QString::fromUtf8(bytes);
}

PdExportResult exportActivitiesCsv(const QTreeView *view, const QString &path)
{
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk) reaches the writer as one:
    // the file device's own buffer drops what a short write left behind and
    // still reports success on commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {false, file.errorString()};
    PdCsvWriter writer(&file, QLatin1Char(';'));
    writer.writeByteOrderMark();
    const PdTreeExport exporter(view);
    exporter.writeHeader(writer);
    if (!exporter.writeAllRows(writer)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

QString selectedRowsText(const QTreeView *view)
{
    const QItemSelectionModel *selection = view->selectionModel();
    if (!selection || !view->model())
        return QString();
    // Ranges rather than selectedIndexes(): a selection of every row would
    // otherwise list each of its cells.
    QModelIndexList rows;
    for (const QItemSelectionRange &range : selection->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(view->model()->index(row, 0, range.parent()));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return PdTreeExport(view).rowsText(rows, QLatin1Char('\t'));
}
