#include "pdintegerfilter.h"

PdIntegerFilter::PdIntegerFilter(QAbstractItemModel* model, int column, QWidget* parent)
    : PdNumberFilter(model, column, true, parent)
{
}
