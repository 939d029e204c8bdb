#include "pdvariantorder.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace {

// Qt 5's own variant comparison folds case ("A" and "a" become one group) and is not a strict weak
// ordering across types, which corrupts a QMap that holds mixed keys (numbers beside the text keys
// that combine() makes). Keys are therefore placed in one consistent order: invalid, then numbers
// and numeric texts by value, then dates and times chronologically, then all other texts by
// character code.
enum class Rank { Invalid, Number, Date, Text };

struct SortKey
{
    Rank rank = Rank::Invalid;
    bool integral = false;
    qlonglong integer = 0;
    double real = 0;
    QDateTime moment;
    QString text; // numeric texts keep their text to stay distinct from the number ("01" beside 1)
};

// Plain decimal numbers only: exponents, "nan" and "inf" stay texts.
bool isDecimalText(const QString& text, bool* hasPoint)
{
    int i = 0;
    const int n = text.size();
    if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        ++i;
    int digits = 0;
    while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        ++i;
        ++digits;
    }
    *hasPoint = false;
    if (i < n && text.at(i) == QLatin1Char('.')) {
        *hasPoint = true;
        ++i;
        int fraction = 0;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
            ++i;
            ++fraction;
        }
        if (fraction == 0)
            return false;
    }
    return digits > 0 && i == n;
}

SortKey sortKeyOf(const QVariant& v)
{
    SortKey key;
    switch (int(v.type())) {
    case QVariant::Invalid:
        return key;
    case QVariant::Bool:
    case QVariant::Int:
    case QVariant::UInt:
    case QVariant::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        key.rank = Rank::Number;
        key.integral = true;
        key.integer = v.toLongLong();
        key.real = double(key.integer);
        return key;
    case QVariant::ULongLong:
    case QMetaType::ULong:
        key.rank = Rank::Number;
        key.real = v.toDouble();
        if (v.toULongLong() <= quint64(std::numeric_limits<qlonglong>::max())) {
            key.integral = true;
            key.integer = v.toLongLong();
        }
        return key;
    case QVariant::Double:
    case QMetaType::Float:
        key.rank = Rank::Number;
        key.real = v.toDouble();
        return key;
    case QVariant::Date:
        key.rank = Rank::Date;
        key.moment = QDateTime(v.toDate(), QTime(0, 0));
        return key;
    case QVariant::DateTime:
        key.rank = Rank::Date;
        key.moment = v.toDateTime();
        return key;
    default:
        break;
    }
    key.text = v.toString();
    bool hasPoint = false;
    if (isDecimalText(key.text, &hasPoint)) {
        bool ok = false;
        if (!hasPoint) {
            key.integer = key.text.toLongLong(&ok);
            key.integral = ok;
        }
        key.real = key.text.toDouble();
        key.rank = Rank::Number;
        return key;
    }
    key.rank = Rank::Text;
    return key;
}

int compareNumbers(const SortKey& a, const SortKey& b)
{
    if (a.integral && b.integral)
        return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
    // NaN compares false with everything, which would make it equal to every number and let one NaN
    // key find any row of a map; all NaNs are one key, placed after every other number.
    const bool nanA = std::isnan(a.real);
    const bool nanB = std::isnan(b.real);
    if (nanA || nanB)
        return nanA == nanB ? 0 : (nanA ? 1 : -1);
    return a.real < b.real ? -1 : (a.real > b.real ? 1 : 0);
}

} // namespace

bool pdVariantLess(const QVariant& a, const QVariant& b)
{
    // Keys of one column share a type; these cases skip building sort keys on the grouping hot path.
    const int ta = a.userType();
    if (ta == b.userType()) {
        if (ta == QMetaType::Int)
            return a.toInt() < b.toInt();
        if (ta == QMetaType::LongLong)
            return a.toLongLong() < b.toLongLong();
        if (ta == QMetaType::QString) {
            const QString sa = a.toString();
            const QString sb = b.toString();
            bool pointA = false;
            bool pointB = false;
            if (!isDecimalText(sa, &pointA) && !isDecimalText(sb, &pointB))
                return sa < sb;
        }
    }
    const SortKey ka = sortKeyOf(a);
    const SortKey kb = sortKeyOf(b);
    if (ka.rank != kb.rank)
        return ka.rank < kb.rank;
    switch (ka.rank) {
    case Rank::Invalid:
        return false;
    case Rank::Number: {
        const int c = compareNumbers(ka, kb);
        if (c != 0)
            return c < 0;
        // Equal values: the number itself first, then its texts by character code.
        return ka.text < kb.text;
    }
    case Rank::Date:
        return ka.moment < kb.moment;
    case Rank::Text:
        return ka.text < kb.text;
    }
    return false;
}

PdHashForm pdVariantHashForm(const QVariant& v, qlonglong* integer, QString* text)
{
    // Read in place: the conversion machinery of toLongLong() and toString() cost more than the
    // hash lookups these keys are for.
    switch (v.userType()) {
    case QMetaType::Int:
        *integer = *static_cast<const int*>(v.constData());
        return PdHashForm::Integer;
    case QMetaType::LongLong:
        *integer = *static_cast<const qlonglong*>(v.constData());
        return PdHashForm::Integer;
    case QMetaType::QString:
        // Equal texts are equal keys whether or not they read as numbers, and a numeric text never
        // equals a number, so the text alone decides.
        *text = *static_cast<const QString*>(v.constData());
        return PdHashForm::Text;
    default:
        break;
    }
    const SortKey key = sortKeyOf(v);
    switch (key.rank) {
    case Rank::Invalid:
        return PdHashForm::Invalid;
    case Rank::Number:
        if (!key.text.isEmpty()) {
            *text = key.text;
            return PdHashForm::Text;
        }
        if (key.integral) {
            *integer = key.integer;
            return PdHashForm::Integer;
        }
        return PdHashForm::OrderedOnly;
    case Rank::Date:
        return PdHashForm::OrderedOnly;
    case Rank::Text:
        *text = key.text;
        return PdHashForm::Text;
    }
    return PdHashForm::OrderedOnly;
}
