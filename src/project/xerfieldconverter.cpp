#include "xerfieldconverter.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

const QString dateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm");

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int digits(QStringView text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i)
        value = value * 10 + (text.at(i).unicode() - '0');
    return value;
}

// "yyyy-MM-dd HH:mm" exactly, as P6 writes it; anything else goes through
// QDateTime::fromString so that unusual text is judged by the same rules.
bool isCanonicalDateTime(QStringView text)
{
    static const char pattern[] = "dddd-dd-dd dd:dd";
    if (text.size() != 16)
        return false;
    for (int i = 0; i < 16; ++i) {
        const QChar c = text.at(i);
        if (pattern[i] == 'd' ? !isDigit(c) : c != QLatin1Char(pattern[i]))
            return false;
    }
    return true;
}

// The common case of an id: an optional minus and up to nine digits.
bool parseSmallInteger(QStringView text, int *value)
{
    const bool negative = text.startsWith(QLatin1Char('-'));
    const int first = negative ? 1 : 0;
    const int count = text.size() - first;
    if (count < 1 || count > 9)
        return false;
    for (int i = first; i < text.size(); ++i) {
        if (!isDigit(text.at(i)))
            return false;
    }
    const int magnitude = digits(text, first, count);
    *value = negative ? -magnitude : magnitude;
    return true;
}

// "-123.45": at most 15 digits, so that the digits make an exact double, and
// one division by an exact power of ten, which IEEE arithmetic rounds
// correctly: the same double any correct parser gives, without one.
bool parseShortDecimal(QStringView text, double *value)
{
    static const double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const int size = int(text.size());
    int i = size > 0 && text.at(0) == QLatin1Char('-') ? 1 : 0;
    const bool negative = i == 1;
    qint64 mantissa = 0;
    int digitCount = 0;
    int fraction = -1;
    for (; i < size; ++i) {
        const ushort c = text.at(i).unicode();
        if (c >= '0' && c <= '9') {
            if (++digitCount > 15)
                return false;
            mantissa = mantissa * 10 + (c - '0');
            if (fraction >= 0)
                ++fraction;
        } else if (c == '.' && fraction < 0 && digitCount > 0) {
            fraction = 0;
        } else {
            return false;
        }
    }
    if (digitCount == 0 || fraction == 0)
        return false;
    const double magnitude = double(mantissa) / powers[fraction < 0 ? 0 : fraction];
    *value = negative ? -magnitude : magnitude;
    return true;
}

// Plain ASCII numbers are parsed without building a QString; from_chars
// rounds exactly as QString::toDouble does. Signs, blanks and the like fall
// back to QString::toDouble.
double toDouble(QStringView text, bool *ok)
{
    double quick = 0.0;
    if (parseShortDecimal(text, &quick)) {
        *ok = true;
        return quick;
    }
    char buffer[64];
    if (text.size() < int(sizeof buffer)) {
        bool ascii = true;
        for (int i = 0; i < text.size() && ascii; ++i) {
            const ushort u = text.at(i).unicode();
            ascii = u > ' ' && u < 127 && u != '+';
            buffer[i] = char(u);
        }
        if (ascii) {
            double value = 0.0;
            const char *end = buffer + text.size();
            const auto result = std::from_chars(buffer, end, value);
            if (result.ec == std::errc() && result.ptr == end) {
                *ok = true;
                return value;
            }
        }
    }
    return text.toString().toDouble(ok);
}

QVariant toInteger(QStringView text)
{
    int small = 0;
    if (parseSmallInteger(text, &small))
        return small;
    const QString copy = text.toString();
    bool ok = false;
    const qlonglong wide = copy.toLongLong(&ok);
    if (ok) {
        if (wide >= std::numeric_limits<int>::min() && wide <= std::numeric_limits<int>::max())
            return int(wide);
        return wide;
    }
    // Number fields such as udf_number are catalogued as integers but P6
    // writes decimals into them; turning 12.5 into 0 would corrupt the value.
    const double real = toDouble(text, &ok);
    if (ok && std::isfinite(real))
        return real;
    // Integer columns hold the ids that tables are joined on. Read as 0 (or
    // as NaN or infinity), every malformed id would be one key, equal to the
    // others and perhaps to a real id, and rows would join the wrong records;
    // kept as text, each stays itself and matches only its own text.
    return copy;
}

// Keys are decimal digit strings of a minute, close together and with
// regular low digits; a multiplicative mix spreads them over the slots.
std::size_t slotOf(qint64 key, std::size_t mask)
{
    return std::size_t((quint64(key) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

} // namespace

// Open addressing over the strings met so far, looked up by the field's
// slice so that a repeated value costs no allocation. A column with many
// distinct values (names, codes) gains nothing from pooling, so the pool
// gives up on it once it has seen that many.
class XerFieldConverter::StringPool
{
public:
    QString intern(QStringView text)
    {
        if (m_closed)
            return text.toString();
        if (m_slots.empty())
            m_slots.resize(64);
        std::size_t mask = m_slots.size() - 1;
        std::size_t i = qHash(text) & mask;
        while (!m_slots[i].isNull()) {
            if (QStringView(m_slots[i]) == text)
                return m_slots[i];
            i = (i + 1) & mask;
        }
        QString value = text.toString();
        if (m_count >= maximumDistinct) {
            m_closed = true;
            std::vector<QString>().swap(m_slots);
            return value;
        }
        m_slots[i] = value;
        if (++m_count * 2 > int(m_slots.size()))
            grow();
        return value;
    }

private:
    static constexpr int maximumDistinct = 2048;

    void grow()
    {
        std::vector<QString> table(m_slots.size() * 2);
        const std::size_t mask = table.size() - 1;
        for (QString &value : m_slots) {
            if (value.isNull())
                continue;
            std::size_t i = qHash(QStringView(value)) & mask;
            while (!table[i].isNull())
                i = (i + 1) & mask;
            table[i] = std::move(value);
        }
        m_slots.swap(table);
    }

    std::vector<QString> m_slots;
    int m_count = 0;
    bool m_closed = false;
};

XerFieldConverter::XerFieldConverter(int columnCount)
    : m_pools(std::size_t(qMax(0, columnCount)))
{
}

XerFieldConverter::~XerFieldConverter() = default;

XerFieldConverter::Datatype XerFieldConverter::datatypeOf(const QVariant &datatypeText)
{
    const QString text = datatypeText.toString();
    if (text == QLatin1String("integer"))
        return Integer;
    if (text == QLatin1String("double"))
        return Double;
    if (text == QLatin1String("string"))
        return String;
    if (text == QLatin1String("datetime"))
        return DateTime;
    return Unknown;
}

QVariant XerFieldConverter::convert(Datatype datatype, QStringView text, int column)
{
    if (text.isEmpty())
        return QVariant();
    switch (datatype) {
    case Integer:
        return toInteger(text);
    case Double: {
        bool ok = false;
        const double value = toDouble(text, &ok);
        return ok ? value : 0.0;
    }
    case String:
        if (column >= 0 && column < int(m_pools.size()))
            return m_pools[std::size_t(column)].intern(text);
        return text.toString();
    case DateTime:
        if (!isCanonicalDateTime(text))
            return parseDateTime(text);
        return cachedDateTime(text);
    case Unknown:
        break;
    }
    return QVariant();
}

const QDateTime &XerFieldConverter::cachedDateTime(QStringView text)
{
    const qint64 key = qint64(digits(text, 0, 4)) * 100000000 + digits(text, 5, 2) * 1000000
        + digits(text, 8, 2) * 10000 + digits(text, 11, 2) * 100 + digits(text, 14, 2);
    if (m_dateKeys.empty()) {
        m_dateKeys.assign(1024, -1);
        m_dateValues.resize(1024);
    }
    std::size_t mask = m_dateKeys.size() - 1;
    std::size_t i = slotOf(key, mask);
    while (m_dateKeys[i] != key) {
        if (m_dateKeys[i] < 0) {
            if ((m_dateCount + 1) * 2 > int(m_dateKeys.size())) {
                growDateTimes();
                mask = m_dateKeys.size() - 1;
                i = slotOf(key, mask);
                while (m_dateKeys[i] >= 0)
                    i = (i + 1) & mask;
            }
            m_dateKeys[i] = key;
            m_dateValues[i] = parseDateTime(text);
            ++m_dateCount;
            break;
        }
        i = (i + 1) & mask;
    }
    return m_dateValues[i];
}

void XerFieldConverter::growDateTimes()
{
    std::vector<qint64> keys(m_dateKeys.size() * 2, -1);
    std::vector<QDateTime> values(keys.size());
    const std::size_t mask = keys.size() - 1;
    for (std::size_t j = 0; j < m_dateKeys.size(); ++j) {
        if (m_dateKeys[j] < 0)
            continue;
        std::size_t i = slotOf(m_dateKeys[j], mask);
        while (keys[i] >= 0)
            i = (i + 1) & mask;
        keys[i] = m_dateKeys[j];
        values[i] = std::move(m_dateValues[j]);
    }
    m_dateKeys.swap(keys);
    m_dateValues.swap(values);
}

void XerFieldConverter::appendTo(ContainerColumn &cells, Datatype datatype, QStringView text, int column)
{
    if (text.isEmpty()) {
        cells.appendInvalid();
        return;
    }
    switch (datatype) {
    case Integer: {
        int small = 0;
        if (parseSmallInteger(text, &small))
            cells.appendInt(small);
        else
            cells.append(toInteger(text));
        return;
    }
    case Double: {
        bool ok = false;
        const double value = toDouble(text, &ok);
        cells.appendDouble(ok ? value : 0.0);
        return;
    }
    case String:
        if (column >= 0 && column < int(m_pools.size()))
            cells.appendString(m_pools[std::size_t(column)].intern(text));
        else
            cells.appendString(text.toString());
        return;
    case DateTime:
        if (isCanonicalDateTime(text))
            cells.appendDateTime(cachedDateTime(text));
        else
            cells.appendDateTime(parseDateTime(text));
        return;
    case Unknown:
        break;
    }
    cells.appendInvalid();
}

QDateTime XerFieldConverter::parseDateTime(QStringView text)
{
    if (isCanonicalDateTime(text)) {
        const QDate date(digits(text, 0, 4), digits(text, 5, 2), digits(text, 8, 2));
        const QTime time(digits(text, 11, 2), digits(text, 14, 2));
        if (!date.isValid() || !time.isValid())
            return QDateTime();
        return QDateTime(date, time);
    }
    return QDateTime::fromString(text.toString(), dateTimeFormat);
}
