#include "pdnumberfilter.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

PdNumberFilter::PdNumberFilter(QAbstractItemModel* model, int column, bool integral, QWidget* parent)
    : PdFilterDialogPopUp(model, column, parent), m_integral(integral)
{
    const QRegularExpression pattern(integral ? QStringLiteral("[-+]?[0-9]{0,18}")
                                              : QStringLiteral("[-+]?[0-9]{0,18}([.,][0-9]{0,12})?"));
    auto makeEditor = [&pattern] {
        auto* edit = new QLineEdit;
        edit->setValidator(new QRegularExpressionValidator(pattern, edit));
        edit->setAlignment(Qt::AlignRight);
        return edit;
    };
    addExpressionTab({QStringLiteral("equals"), QStringLiteral("does not equal"), QStringLiteral("is greater than"),
                      QStringLiteral("is greater than or equal to"), QStringLiteral("is less than"),
                      QStringLiteral("is less than or equal to")},
                     makeEditor(), makeEditor());
}

QVariant PdNumberFilter::valueOf(QWidget* editor) const
{
    const QString text = static_cast<QLineEdit*>(editor)->text();
    if (m_integral) {
        bool ok = false;
        const qlonglong value = text.toLongLong(&ok);
        return ok ? QVariant(value) : QVariant();
    }
    double value = 0;
    return PdFilterValue::toNumber(text, &value) ? QVariant(value) : QVariant();
}

QVariant PdNumberFilter::firstValue() const
{
    return valueOf(firstEditor());
}

QVariant PdNumberFilter::secondValue() const
{
    return valueOf(secondEditor());
}

QString PdNumberFilter::operatorText(const QString& stored) const
{
    if (stored == QLatin1String(">"))
        return QStringLiteral("is greater than");
    if (stored == QLatin1String(">="))
        return QStringLiteral("is greater than or equal to");
    if (stored == QLatin1String("<"))
        return QStringLiteral("is less than");
    if (stored == QLatin1String("<="))
        return QStringLiteral("is less than or equal to");
    return PdFilterDialogPopUp::operatorText(stored);
}

void PdNumberFilter::setEditorValue(QWidget* editor, const QVariant& value)
{
    double number = 0;
    static_cast<QLineEdit*>(editor)->setText(PdFilterValue::toNumber(value, &number) ? PdFilterValue::numberText(number)
                                                                                  : QString());
}
