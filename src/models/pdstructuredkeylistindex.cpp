#include "pdstructuredkeylistindex.h"

PdStructuredKeyListIndex::PdStructuredKeyListIndex(const QAbstractItemModel* model, int column)
    : PdIndex(model, column)
{
}

void PdStructuredKeyListIndex::buildStructure(const QAbstractItemModel* structureModel, int keyColumn,
                                              int parentColumn, int displayColumn)
{
    buildStructureRows(structureModel, keyColumn, parentColumn, displayColumn, true, codeTypeColumn, codeType);
}
