#ifndef PDDATEFILTER_H
#define PDDATEFILTER_H

#include "pdfilterdialogpopup.h"

// The popup of a date column: its list holds years, months and days, its conditions whole days.
class PdDateFilter : public PdFilterDialogPopUp
{
    Q_OBJECT

public:
    PdDateFilter(QAbstractItemModel* model, int column, QWidget* parent = nullptr);

    QVariant firstValue() const override;
    QVariant secondValue() const override;
    QString operatorText(const QString& stored) const override;

    static QString dateFormat() { return QStringLiteral("dd-MM-yyyy"); }

protected:
    void setEditorValue(QWidget* editor, const QVariant& value) override;
};

#endif // PDDATEFILTER_H
