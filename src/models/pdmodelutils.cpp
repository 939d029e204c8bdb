#include "pdmodelutils.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLoggingCategory>
#include <QPainter>
#include <QTextStream>
#include <QWidget>
#include <QtDebug>

// Timed start/stop lines; QT_LOGGING_RULES="plandeck.timing.*=false" silences them.
Q_LOGGING_CATEGORY(lcModelUtilsTiming, "plandeck.timing.models", QtInfoMsg)

namespace {

// Tiles stay within what QImage can allocate while long trees and wide charts still render in few passes.
constexpr int kMaxTileExtent = 20000;

QString headerText(const QHeaderView* header, int logical)
{
    return header->model()->headerData(logical, header->orientation(), Qt::DisplayRole).toString();
}

// Splits a run of sizes into blocks no larger than kMaxTileExtent; a single oversized entry still gets
// a block of its own so the walk always advances.
QVector<QPair<int, int>> blocksOf(const QVector<int>& sizes)
{
    QVector<QPair<int, int>> blocks;
    int first = 0;
    while (first < sizes.size()) {
        int extent = sizes.at(first);
        int last = first;
        while (last + 1 < sizes.size() && extent + sizes.at(last + 1) <= kMaxTileExtent) {
            ++last;
            extent += sizes.at(last);
        }
        blocks.append({first, last});
        first = last + 1;
    }
    return blocks;
}

void appendIndexes(const QAbstractItemModel* model, const QModelIndex& parent, QModelIndexList& out)
{
    const int rows = model->rowCount(parent);
    for (int r = 0; r < rows; ++r) {
        const QModelIndex idx = model->index(r, 0, parent);
        out.append(idx);
        if (model->hasChildren(idx))
            appendIndexes(model, idx, out);
    }
}

} // namespace

int columnByName(const QAbstractItemModel* model, const QString& name)
{
    if (!model)
        return -1;
    const int columns = model->columnCount();
    for (int c = 0; c < columns; ++c) {
        if (model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == name)
            return c;
    }
    return -1;
}

int sectionByHeaderData(const QHeaderView* header, const QVariant& value, int role)
{
    if (!header || !header->model())
        return -1;
    const QAbstractItemModel* model = header->model();
    const Qt::Orientation orientation = header->orientation();
    const int sections = orientation == Qt::Horizontal ? model->columnCount() : model->rowCount();
    for (int s = 0; s < sections; ++s) {
        if (model->headerData(s, orientation, role) == value)
            return s;
    }
    return -1;
}

QModelIndex verticalLookup(const QAbstractItemModel* model, const QVariant& value, int returnColumn,
                           int lookupColumn)
{
    if (!model)
        return {};
    const int columns = model->columnCount();
    if (returnColumn < 0 || returnColumn >= columns) {
        qWarning() << "Invalid return column passed to verticalLookup";
        return {};
    }
    if (lookupColumn < 0 || lookupColumn >= columns) {
        qWarning() << "Invalid lookup column passed to verticalLookup";
        return {};
    }
    const QModelIndexList hits = model->match(model->index(0, lookupColumn), Qt::DisplayRole, value, 1,
                                              Qt::MatchExactly | Qt::MatchRecursive);
    if (hits.isEmpty())
        return {};
    return hits.first().sibling(hits.first().row(), returnColumn);
}

void setVisibleColumns(QHeaderView* header, const QStringList& names)
{
    qCInfo(lcModelUtilsTiming).noquote() << Q_FUNC_INFO << "start";
    QElapsedTimer timer;
    timer.start();
    if (header && header->model() && !names.isEmpty()) {
        for (int s = 0; s < header->count(); ++s)
            header->hideSection(s);
        int position = 0;
        for (const QString& name : names) {
            const int logical = columnByName(header->model(), name);
            if (logical < 0)
                continue;
            header->showSection(logical);
            const int visual = header->visualIndex(logical);
            if (visual != position)
                header->moveSection(visual, position);
            ++position;
        }
    }
    qCInfo(lcModelUtilsTiming).noquote() << Q_FUNC_INFO << "stop:" << timer.elapsed();
}

QStringList columnLayoutTexts(const QHeaderView* header)
{
    QStringList texts;
    if (!header || !header->model())
        return texts;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical))
            continue;
        texts.append(QStringLiteral("%1:%2").arg(headerText(header, logical)).arg(header->sectionSize(logical)));
    }
    return texts;
}

void applyColumnLayoutTexts(QHeaderView* header, const QVariantList& texts)
{
    if (!header || !header->model())
        return;
    for (int s = 0; s < header->count(); ++s)
        header->hideSection(s);
    QStringList used;
    for (const QVariant& text : texts) {
        const QStringList parts = text.toString().split(QLatin1Char(':'));
        if (parts.size() != 2)
            continue;
        const int logical = columnByName(header->model(), parts.at(0));
        if (logical >= 0) {
            header->showSection(logical);
            // A width that is not a number would collapse a column the layout means to show.
            bool ok = false;
            const int width = parts.at(1).toInt(&ok);
            if (ok && width >= 0)
                header->resizeSection(logical, width);
        }
        used.append(parts.at(0));
    }
    setVisibleColumns(header, used);
}

QStringList visibleColumnNames(const QHeaderView* header)
{
    QStringList names;
    if (!header || !header->model())
        return names;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            names.append(headerText(header, logical));
    }
    return names;
}

int firstVisibleColumn(const QHeaderView* header)
{
    if (!header)
        return -1;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            return logical;
    }
    return -1;
}

void setFixedSections(QHeaderView* header, int size)
{
    if (!header)
        return;
    header->setSectionResizeMode(QHeaderView::Fixed);
    // QHeaderView silently clamps the default size to its font-based minimum.
    if (size >= 0 && header->minimumSectionSize() > size)
        header->setMinimumSectionSize(size);
    header->setDefaultSectionSize(size);
}

int depthOf(const QModelIndex& index)
{
    int depth = 0;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ++depth;
    return depth;
}

QModelIndexList allIndexes(const QAbstractItemModel* model, const QModelIndex& parent)
{
    QModelIndexList out;
    if (model)
        appendIndexes(model, parent, out);
    return out;
}

QString readTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&file);
    return stream.readAll();
}

PdCellImages renderToCellImages(QWidget* widget, const QVector<int>& columnWidths, int rowHeight, int rowCount,
                                int yOffset)
{
    PdCellImages grid;
    if (!widget || rowCount < 1 || rowHeight < 1 || columnWidths.isEmpty())
        return grid;
    grid.resize(rowCount);
    for (QVector<QImage>& row : grid)
        row.resize(columnWidths.size());

    QVector<int> columnLeft(columnWidths.size());
    for (int c = 1; c < columnWidths.size(); ++c)
        columnLeft[c] = columnLeft.at(c - 1) + columnWidths.at(c - 1);
    const QVector<QPair<int, int>> columnBlocks = blocksOf(columnWidths);
    const QVector<QPair<int, int>> rowBlocks = blocksOf(QVector<int>(rowCount, rowHeight));

    for (const auto& cols : columnBlocks) {
        const int left = columnLeft.at(cols.first);
        const int width = columnLeft.at(cols.second) + columnWidths.at(cols.second) - left;
        for (const auto& rows : rowBlocks) {
            const int top = rows.first * rowHeight;
            const int height = (rows.second - rows.first + 1) * rowHeight;
            if (width < 1)
                continue;
            QImage tile(width, height, QImage::Format_ARGB32_Premultiplied);
            tile.fill(Qt::transparent);
            widget->render(&tile, QPoint(), QRegion(left, top + yOffset, width, height),
                           QWidget::DrawWindowBackground | QWidget::DrawChildren);
            for (int c = cols.first; c <= cols.second; ++c) {
                for (int r = rows.first; r <= rows.second; ++r) {
                    grid[r][c] = tile.copy(columnLeft.at(c) - left, r * rowHeight - top, columnWidths.at(c),
                                           rowHeight);
                }
            }
        }
    }
    return grid;
}

PdCellImages renderToUniformCellImages(QWidget* widget, int columnWidth, int columnCount, int rowHeight,
                                       int rowCount, int yOffset)
{
    if (columnCount < 1)
        return {};
    return renderToCellImages(widget, QVector<int>(columnCount, columnWidth), rowHeight, rowCount, yOffset);
}
