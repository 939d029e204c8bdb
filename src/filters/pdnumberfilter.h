#ifndef PDNUMBERFILTER_H
#define PDNUMBERFILTER_H

#include "pdfilterdialogpopup.h"

// What the integer and double popups share: comparison operators and number fields that take any
// real value, costs in millions as well as decimals ("1,5" reads as 1.5). An empty field gives no
// condition.
class PdNumberFilter : public PdFilterDialogPopUp
{
    Q_OBJECT

public:
    QVariant firstValue() const override;
    QVariant secondValue() const override;
    QString operatorText(const QString& stored) const override;

protected:
    PdNumberFilter(QAbstractItemModel* model, int column, bool integral, QWidget* parent);
    void setEditorValue(QWidget* editor, const QVariant& value) override;

private:
    QVariant valueOf(QWidget* editor) const;

    bool m_integral = false;
};

#endif // PDNUMBERFILTER_H
