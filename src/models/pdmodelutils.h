#ifndef PDMODELUTILS_H
#define PDMODELUTILS_H

#include <QImage>
#include <QModelIndexList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class QAbstractItemModel;
class QHeaderView;
class QWidget;

// Columns are addressed by their horizontal header text throughout the program, so these helpers
// are how one component names a column of another component's model.

int columnByName(const QAbstractItemModel* model, const QString& name);
int sectionByHeaderData(const QHeaderView* header, const QVariant& value, int role);
QModelIndex verticalLookup(const QAbstractItemModel* model, const QVariant& value, int returnColumn,
                           int lookupColumn);

void setVisibleColumns(QHeaderView* header, const QStringList& names);
QStringList columnLayoutTexts(const QHeaderView* header);
void applyColumnLayoutTexts(QHeaderView* header, const QVariantList& texts);
QStringList visibleColumnNames(const QHeaderView* header);
int firstVisibleColumn(const QHeaderView* header);
void setFixedSections(QHeaderView* header, int size);

int depthOf(const QModelIndex& index);
QModelIndexList allIndexes(const QAbstractItemModel* model, const QModelIndex& parent = QModelIndex());

QString readTextFile(const QString& path);

// One image per cell, row by row; each row holds its cells in column order.
using PdCellImages = QVector<QVector<QImage>>;

PdCellImages renderToCellImages(QWidget* widget, const QVector<int>& columnWidths, int rowHeight, int rowCount,
                                int yOffset);
PdCellImages renderToUniformCellImages(QWidget* widget, int columnWidth, int columnCount, int rowHeight,
                                       int rowCount, int yOffset);

#endif // PDMODELUTILS_H
