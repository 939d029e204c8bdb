#ifndef PDINTEGERFILTER_H
#define PDINTEGERFILTER_H

#include "pdnumberfilter.h"

// The popup of an integer column.
class PdIntegerFilter : public PdNumberFilter
{
    Q_OBJECT

public:
    PdIntegerFilter(QAbstractItemModel* model, int column, QWidget* parent = nullptr);
};

#endif // PDINTEGERFILTER_H
