#include "pddoublefilter.h"

PdDoubleFilter::PdDoubleFilter(QAbstractItemModel* model, int column, QWidget* parent)
    : PdNumberFilter(model, column, false, parent)
{
}
