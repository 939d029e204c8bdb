#ifndef PDTEXTFILTER_H
#define PDTEXTFILTER_H

#include "pdfilterdialogpopup.h"

// The popup of a text column: equality and begins/ends/contains tests on the typed text.
class PdTextFilter : public PdFilterDialogPopUp
{
    Q_OBJECT

public:
    PdTextFilter(QAbstractItemModel* model, int column, QWidget* parent = nullptr);

    QVariant firstValue() const override;
    QVariant secondValue() const override;
};

#endif // PDTEXTFILTER_H
