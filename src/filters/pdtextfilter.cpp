#include "pdtextfilter.h"

#include <QLineEdit>

PdTextFilter::PdTextFilter(QAbstractItemModel* model, int column, QWidget* parent)
    : PdFilterDialogPopUp(model, column, parent)
{
    addExpressionTab({QStringLiteral("equals"), QStringLiteral("does not equal"), QStringLiteral("begins with"),
                      QStringLiteral("does not begin with"), QStringLiteral("ends with"),
                      QStringLiteral("does not end with"), QStringLiteral("contains"),
                      QStringLiteral("does not contain")},
                     new QLineEdit, new QLineEdit);
}

QVariant PdTextFilter::firstValue() const
{
    return static_cast<QLineEdit*>(firstEditor())->text();
}

QVariant PdTextFilter::secondValue() const
{
    return static_cast<QLineEdit*>(secondEditor())->text();
}
