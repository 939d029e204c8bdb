#include "pdcsvwriter.h"

#include <QDateTime>
#include <QIODevice>
#include <QVariant>

#include <charconv>

namespace {

// Big enough that a 200,000-row export reaches the disk in a few hundred writes.
const int FlushThreshold = 1 << 16;

bool startsLikeFormula(const QString &text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.at(0);
    return first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-')
        || first == QLatin1Char('@');
}

} // namespace

PdCsvWriter::PdCsvWriter(QIODevice *device, QChar separator)
    : m_device(device)
    , m_separator(separator)
{
}

void PdCsvWriter::writeByteOrderMark()
{
    m_pending.append(QChar(0xFEFF));
}

void PdCsvWriter::addText(const QString &text)
{
    if (startsLikeFormula(text))
        appendField(QLatin1Char('\'') + text);
    else
        appendField(text);
}

void PdCsvWriter::addValue(const QVariant &value, const QString &prefix)
{
    if (!value.isValid() || value.isNull()) {
        appendField(prefix);
        return;
    }
    switch (value.userType()) {
    case QMetaType::QDateTime: {
        const QDate date = value.toDateTime().date();
        appendField(prefix + dateText(date.year(), date.month(), date.day()));
        return;
    }
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        appendField(prefix + dateText(date.year(), date.month(), date.day()));
        return;
    }
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        appendField(prefix + QString::number(value.toLongLong()));
        return;
    case QMetaType::ULongLong:
        appendField(prefix + QString::number(value.toULongLong()));
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        appendField(prefix + numberText(value.toDouble()));
        return;
    default:
        addText(prefix + value.toString());
        return;
    }
}

void PdCsvWriter::appendField(const QString &text)
{
    if (m_rowStarted)
        m_pending.append(m_separator);
    m_rowStarted = true;

    bool needsQuotes = false;
    for (const QChar c : text) {
        if (c == m_separator || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes) {
        m_pending.append(text);
        return;
    }
    m_pending.append(QLatin1Char('"'));
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            m_pending.append(QLatin1Char('"'));
        m_pending.append(c);
    }
    m_pending.append(QLatin1Char('"'));
}

void PdCsvWriter::endRow()
{
    m_pending.append(QLatin1Char('\n'));
    m_rowStarted = false;
    if (m_pending.size() >= FlushThreshold)
        flush();
}

bool PdCsvWriter::flush()
{
    if (m_failed)
        return false;
    if (m_pending.isEmpty())
        return true;
    const QByteArray bytes = m_pending.toUtf8();
    m_pending.clear();
    if (!m_device || m_device->write(bytes) != bytes.size())
        m_failed = true;
    return !m_failed;
}

QString PdCsvWriter::numberText(double value)
{
    // The shortest text that reads back as the same double, never in
    // exponent form: a cost of 1000000 must not reach the sheet as "1e+06".
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return QString::number(value, 'f');
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

QString PdCsvWriter::dateText(int year, int month, int day)
{
    // Built by hand: QDate::toString parses its format on every call, which
    // shows on exports of hundreds of thousands of dates.
    QString text(10, QLatin1Char('0'));
    const auto two = [&text](int at, int number) {
        text[at] = QLatin1Char(char('0' + number / 10));
        text[at + 1] = QLatin1Char(char('0' + number % 10));
    };
    two(0, day);
    two(3, month);
    text[2] = QLatin1Char('-');
    text[5] = QLatin1Char('-');
    if (year >= 1000 && year <= 9999) {
        two(6, year / 100);
        two(8, year % 100);
        return text;
    }
    return text.left(6) + QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
}
