#ifndef PDSTRUCTUREDKEYLISTINDEX_H
#define PDSTRUCTUREDKEYLISTINDEX_H

#include "pdindex.h"

// Builds its tree from the codes of one activity code type only.
class PdStructuredKeyListIndex : public PdIndex
{
public:
    PdStructuredKeyListIndex() = default;
    PdStructuredKeyListIndex(const QAbstractItemModel* model, int column);

    void buildStructure(const QAbstractItemModel* structureModel, int keyColumn, int parentColumn,
                        int displayColumn = -1) override;

    QVariant codeType;
    int codeTypeColumn = -1;
};

#endif // PDSTRUCTUREDKEYLISTINDEX_H
