#include "pdexpression.h"

#include <QDate>
#include <QtDebug>

namespace {

bool isNegated(const QString& op)
{
    return op == QLatin1String("!=") || op == QLatin1String("does not contain")
        || op == QLatin1String("does not begin with") || op == QLatin1String("does not end with");
}

// -1, 0 or 1 when the two values order in the column's kind; false when they cannot be compared
// (a text that is no number in a number column, for instance).
bool compareValues(const QVariant& cell, const QVariant& value, PdValueKind kind, int* result)
{
    switch (kind) {
    case PdValueKind::Integer:
    case PdValueKind::Double: {
        double a = 0;
        double b = 0;
        if (!PdFilterValue::toNumber(cell, &a) || !PdFilterValue::toNumber(value, &b))
            return false;
        *result = a < b ? -1 : (a > b ? 1 : 0);
        return true;
    }
    case PdValueKind::Date: {
        // Whole days: a condition on 5 March holds for every time of that day.
        const QDate a = PdFilterValue::toDate(cell);
        const QDate b = PdFilterValue::toDate(value);
        if (!a.isValid() || !b.isValid())
            return false;
        *result = a < b ? -1 : (a > b ? 1 : 0);
        return true;
    }
    case PdValueKind::Text: {
        double a = 0;
        double b = 0;
        // Numeric texts compare as numbers, so "10" orders after "9" as a reader expects.
        if (PdFilterValue::toNumber(cell, &a) && PdFilterValue::toNumber(value, &b)) {
            *result = a < b ? -1 : (a > b ? 1 : 0);
            return true;
        }
        const int c = cell.toString().compare(value.toString());
        *result = c < 0 ? -1 : (c > 0 ? 1 : 0);
        return true;
    }
    }
    return false;
}

} // namespace

PdExpression::PdExpression(const QString& op, const QVariant& value)
    : m_value(value), m_op(op)
{
}

PdExpression::PdExpression(const PdExpression& other)
    : m_or(other.m_or ? std::make_unique<PdExpression>(*other.m_or) : nullptr)
    , m_and(other.m_and ? std::make_unique<PdExpression>(*other.m_and) : nullptr)
    , m_value(other.m_value)
    , m_op(other.m_op)
{
}

PdExpression& PdExpression::operator=(const PdExpression& other)
{
    if (this != &other) {
        PdExpression copy(other);
        m_or = std::move(copy.m_or);
        m_and = std::move(copy.m_and);
        m_value = copy.m_value;
        m_op = copy.m_op;
    }
    return *this;
}

PdExpression::~PdExpression()
{
    // Chains read from a layout are short, but a long "and" run must not unwind one frame per link.
    while (m_and) {
        std::unique_ptr<PdExpression> next = std::move(m_and->m_and);
        m_and = std::move(next);
    }
}

QString PdExpression::storedOperator(const QString& shown)
{
    if (shown == QLatin1String("equals"))
        return QStringLiteral("=");
    if (shown == QLatin1String("does not equal"))
        return QStringLiteral("!=");
    if (shown == QLatin1String("is after") || shown == QLatin1String("is greater than"))
        return QStringLiteral(">");
    if (shown == QLatin1String("is after or equal to") || shown == QLatin1String("is greater than or equal to"))
        return QStringLiteral(">=");
    if (shown == QLatin1String("is before") || shown == QLatin1String("is less than"))
        return QStringLiteral("<");
    if (shown == QLatin1String("is before or equal to") || shown == QLatin1String("is less than or equal to"))
        return QStringLiteral("<=");
    return shown;
}

bool PdExpression::isKnownOperator(const QString& op)
{
    static const QStringList known{QStringLiteral("="),
                                   QStringLiteral("!="),
                                   QStringLiteral("<"),
                                   QStringLiteral(">"),
                                   QStringLiteral("<="),
                                   QStringLiteral(">="),
                                   QStringLiteral("contains"),
                                   QStringLiteral("does not contain"),
                                   QStringLiteral("begins with"),
                                   QStringLiteral("does not begin with"),
                                   QStringLiteral("ends with"),
                                   QStringLiteral("does not end with")};
    return known.contains(op);
}

std::unique_ptr<PdExpression> PdExpression::makeExpression(const QString& shownOperator, const QVariant& value)
{
    if (shownOperator.isEmpty() || !value.isValid())
        return nullptr;
    return std::make_unique<PdExpression>(storedOperator(shownOperator), value);
}

bool PdExpression::acceptExpression(const QVariant& cell, const QVariant& value, const QString& op,
                                    PdValueKind kind)
{
    if (!isKnownOperator(op)) {
        qWarning() << "PdExpression::acceptExpression: unknown operator";
        return false;
    }
    const bool blank = PdFilterValue::isBlank(cell);
    const bool textOp = op.at(0).isLetter();
    if (textOp) {
        // Text tests read a number or a date as the value list shows it; a blank cell is the empty
        // text, so it passes the negated tests and fails the others.
        const QString text = blank ? QString() : PdFilterValue::canonicalText(cell, kind);
        const bool dateValue = value.userType() == QMetaType::QDate || value.userType() == QMetaType::QDateTime;
        const QString wanted = dateValue ? PdFilterValue::canonicalText(value, PdValueKind::Date) : value.toString();
        if (op == QLatin1String("contains"))
            return text.contains(wanted, Qt::CaseSensitive);
        if (op == QLatin1String("does not contain"))
            return !text.contains(wanted, Qt::CaseSensitive);
        if (op == QLatin1String("begins with"))
            return text.startsWith(wanted, Qt::CaseInsensitive);
        if (op == QLatin1String("does not begin with"))
            return !text.startsWith(wanted, Qt::CaseInsensitive);
        if (op == QLatin1String("ends with"))
            return text.endsWith(wanted, Qt::CaseInsensitive);
        return !text.endsWith(wanted, Qt::CaseInsensitive);
    }
    // An empty cell is no zero and no date before all dates: it fails every comparison except "is
    // not", unless the condition itself asks for the empty text.
    if (blank) {
        const bool valueBlank = PdFilterValue::isBlank(value);
        if (op == QLatin1String("="))
            return valueBlank;
        return isNegated(op) && !valueBlank;
    }
    int c = 0;
    if (!compareValues(cell, value, kind, &c))
        return isNegated(op);
    if (op == QLatin1String("="))
        return c == 0;
    if (op == QLatin1String("!="))
        return c != 0;
    if (op == QLatin1String("<"))
        return c < 0;
    if (op == QLatin1String(">"))
        return c > 0;
    if (op == QLatin1String("<="))
        return c <= 0;
    return c >= 0;
}

bool PdExpression::accepts(const QVariant& cell, PdValueKind kind) const
{
    for (const PdExpression* step = this; step; step = step->m_and.get()) {
        bool passed = acceptExpression(cell, step->m_value, step->m_op, kind);
        for (const PdExpression* alt = step->m_or.get(); !passed && alt; alt = alt->m_or.get())
            passed = acceptExpression(cell, alt->m_value, alt->m_op, kind);
        if (!passed)
            return false;
    }
    return true;
}

void PdExpression::setAndPartner(std::unique_ptr<PdExpression> partner)
{
    m_and = std::move(partner);
}

void PdExpression::setOrPartner(std::unique_ptr<PdExpression> partner)
{
    m_or = std::move(partner);
}

namespace {

QString valueText(const QVariant& value)
{
    switch (value.userType()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().date().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::Double:
    case QMetaType::Float:
        return PdFilterValue::numberText(value.toDouble());
    default:
        return value.toString();
    }
}

} // namespace

QStringList PdExpression::toParts() const
{
    QStringList parts{m_op, valueText(m_value)};
    const PdExpression* partner = m_and ? m_and.get() : m_or.get();
    if (partner) {
        parts << (m_and ? QStringLiteral("AND") : QStringLiteral("OR")) << partner->m_op
              << valueText(partner->m_value);
    }
    return parts;
}

std::unique_ptr<PdExpression> PdExpression::fromParts(const QStringList& parts)
{
    if (parts.size() < 2 || parts.at(0).isEmpty())
        return nullptr;
    auto head = std::make_unique<PdExpression>(parts.at(0), parts.at(1));
    if (parts.size() == 5 && !parts.at(3).isEmpty()) {
        auto partner = std::make_unique<PdExpression>(parts.at(3), parts.at(4));
        if (parts.at(2) == QLatin1String("AND"))
            head->setAndPartner(std::move(partner));
        else if (parts.at(2) == QLatin1String("OR"))
            head->setOrPartner(std::move(partner));
    }
    return head;
}
