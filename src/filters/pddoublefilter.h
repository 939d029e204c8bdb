#ifndef PDDOUBLEFILTER_H
#define PDDOUBLEFILTER_H

#include "pdnumberfilter.h"

// The popup of a column of real numbers.
class PdDoubleFilter : public PdNumberFilter
{
    Q_OBJECT

public:
    PdDoubleFilter(QAbstractItemModel* model, int column, QWidget* parent = nullptr);
};

#endif // PDDOUBLEFILTER_H
