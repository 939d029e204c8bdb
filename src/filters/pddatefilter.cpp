#include "pddatefilter.h"

#include <QDateEdit>

PdDateFilter::PdDateFilter(QAbstractItemModel* model, int column, QWidget* parent)
    : PdFilterDialogPopUp(model, column, parent)
{
    auto makeEditor = [] {
        auto* edit = new QDateEdit(QDate::currentDate());
        edit->setDisplayFormat(dateFormat());
        edit->setCalendarPopup(true);
        return edit;
    };
    addExpressionTab({QStringLiteral("equals"), QStringLiteral("does not equal"), QStringLiteral("is after"),
                      QStringLiteral("is after or equal to"), QStringLiteral("is before"),
                      QStringLiteral("is before or equal to")},
                     makeEditor(), makeEditor());
}

QVariant PdDateFilter::firstValue() const
{
    return static_cast<QDateEdit*>(firstEditor())->date();
}

QVariant PdDateFilter::secondValue() const
{
    return static_cast<QDateEdit*>(secondEditor())->date();
}

QString PdDateFilter::operatorText(const QString& stored) const
{
    if (stored == QLatin1String(">"))
        return QStringLiteral("is after");
    if (stored == QLatin1String(">="))
        return QStringLiteral("is after or equal to");
    if (stored == QLatin1String("<"))
        return QStringLiteral("is before");
    if (stored == QLatin1String("<="))
        return QStringLiteral("is before or equal to");
    return PdFilterDialogPopUp::operatorText(stored);
}

void PdDateFilter::setEditorValue(QWidget* editor, const QVariant& value)
{
    const QDate date = PdFilterValue::toDate(value);
    if (date.isValid())
        static_cast<QDateEdit*>(editor)->setDate(date);
}
