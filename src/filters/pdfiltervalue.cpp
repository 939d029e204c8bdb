#include "pdfiltervalue.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QHash>
#include <QLocale>

#include <cmath>

namespace {

constexpr int DescriptorRole = Qt::UserRole + 2;

QVariantMap descriptorOf(const QAbstractItemModel* model, int column)
{
    if (!model || column < 0)
        return QVariantMap();
    return model->headerData(column, Qt::Horizontal, DescriptorRole).toMap();
}

} // namespace

PdValueKind PdFilterValue::kindOf(const QString& datatype)
{
    if (datatype == QLatin1String("integer"))
        return PdValueKind::Integer;
    if (datatype == QLatin1String("double"))
        return PdValueKind::Double;
    if (datatype == QLatin1String("datetime"))
        return PdValueKind::Date;
    return PdValueKind::Text;
}

PdValueKind PdFilterValue::kindOfColumn(const QAbstractItemModel* model, int column)
{
    return kindOf(descriptorOf(model, column).value(QStringLiteral("datatype")).toString());
}

QString PdFilterValue::prefixOfColumn(const QAbstractItemModel* model, int column)
{
    // Only these fields hold P6 enumerations; a code such as "CN_100" elsewhere is data and keeps
    // its letters.
    static const QHash<QString, QString> prefixes{
        {QStringLiteral("task_type"), QStringLiteral("TT_")},
        {QStringLiteral("status_code"), QStringLiteral("TK_")},
        {QStringLiteral("cstr_type"), QStringLiteral("CS_")},
        {QStringLiteral("cstr_type2"), QStringLiteral("CS_")},
        {QStringLiteral("priority_type"), QStringLiteral("PT_")},
        {QStringLiteral("pred_type"), QStringLiteral("PR_")},
        {QStringLiteral("rsrc_type"), QStringLiteral("RT_")},
        {QStringLiteral("duration_type"), QStringLiteral("DT_")},
        {QStringLiteral("complete_pct_type"), QStringLiteral("CP_")},
        {QStringLiteral("actv_code_type_scope"), QStringLiteral("AS_")},
        {QStringLiteral("logical_data_type"), QStringLiteral("FT_")},
    };
    return prefixes.value(descriptorOf(model, column).value(QStringLiteral("id")).toString());
}

bool PdFilterValue::isBlank(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return true;
    if (value.userType() == QMetaType::QString) {
        // Looked at in place: trimming would copy every cell of a column that is being scanned.
        const QString& text = *static_cast<const QString*>(value.constData());
        for (const QChar c : text) {
            if (!c.isSpace())
                return false;
        }
        return true;
    }
    return false;
}

bool PdFilterValue::toNumber(const QVariant& value, double* number)
{
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        *number = value.toDouble();
        return std::isfinite(*number);
    default:
        break;
    }
    if (isBlank(value))
        return false;
    // Decimal commas are common in exported schedules; "1,5" is one and a half.
    QString text = value.toString().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *number = text.toDouble(&ok);
    return ok && std::isfinite(*number);
}

bool PdFilterValue::textToNumber(const QString& text, double* number)
{
    // Most texts of a text column are words or codes; looking at the first character spares the
    // conversion, which copies the text, for all of them.
    int at = 0;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    if (at == text.size())
        return false;
    const QChar first = text.at(at);
    if (!first.isDigit() && first != QLatin1Char('-') && first != QLatin1Char('+') && first != QLatin1Char('.'))
        return false;
    bool ok = false;
    *number = text.toDouble(&ok);
    return ok && std::isfinite(*number);
}

QDate PdFilterValue::toDate(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        break;
    }
    if (isBlank(value))
        return QDate();
    const QString text = value.toString().trimmed();
    // The XER form, the form layouts store, and the two forms the program shows.
    static const char* const formats[] = {"yyyy-MM-dd HH:mm", "yyyy-MM-dd", "dd-MM-yyyy", "dd.MM.yyyy"};
    for (const char* format : formats) {
        const QDate date = QDate::fromString(text.left(int(qstrlen(format))), QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return QDateTime::fromString(text, Qt::ISODate).date();
}

QString PdFilterValue::numberText(double number)
{
    // Whole numbers are written without an exponent (1000000, not 1e+06), so the text a value list
    // stores is the one a reader of the layout expects.
    if (std::fabs(number) < 9.0e15 && number == std::trunc(number))
        return QString::number(qlonglong(number));
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

QString PdFilterValue::canonicalText(const QVariant& value, PdValueKind kind)
{
    if (isBlank(value))
        return QString(QLatin1String(""));
    switch (kind) {
    case PdValueKind::Integer:
    case PdValueKind::Double: {
        double number = 0;
        if (toNumber(value, &number))
            return numberText(number);
        break;
    }
    case PdValueKind::Date: {
        const QDate date = toDate(value);
        if (date.isValid())
            return date.toString(QStringLiteral("yyyy-MM-dd"));
        break;
    }
    case PdValueKind::Text:
        break;
    }
    return value.toString();
}

QString PdFilterValue::displayText(const QVariant& value, PdValueKind kind, const QString& prefix)
{
    if (isBlank(value))
        return QStringLiteral("(Blanks)");
    if (kind == PdValueKind::Date) {
        const QDate date = toDate(value);
        if (date.isValid())
            return date.toString(QStringLiteral("dd-MM-yyyy"));
    }
    QString text = canonicalText(value, kind);
    if (!prefix.isEmpty() && text.startsWith(prefix))
        text.remove(0, prefix.size());
    return text;
}
