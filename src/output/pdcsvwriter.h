#pragma once

#include <QChar>
#include <QString>

class QIODevice;
class QVariant;

// Separated-value text that spreadsheet programs read back cell for cell: a
// field holding the separator, a double quote or a line break is quoted with
// its quotes doubled; text that a spreadsheet would run as a formula gets a
// leading apostrophe; numbers are written in plain notation and dates as
// dd-MM-yyyy. The text is UTF-8, gathered and handed to the device in large
// pieces so that a big export costs few writes.
class PdCsvWriter
{
public:
    PdCsvWriter(QIODevice *device, QChar separator);

    // Spreadsheet programs guess a legacy code page for a file without it,
    // which garbles accented names.
    void writeByteOrderMark();

    // A text cell, written as given apart from quoting and the formula guard.
    void addText(const QString &text);
    // A cell by its value's type, after `prefix` (the indent of a tree cell).
    // An invalid or null value writes the prefix alone.
    void addValue(const QVariant &value, const QString &prefix = QString());
    void endRow();

    // Hands the gathered text to the device; false when this or any earlier
    // write failed.
    bool flush();
    bool hasError() const { return m_failed; }

    static QString numberText(double value);
    static QString dateText(int year, int month, int day);

private:
    void appendField(const QString &text);

    QIODevice *m_device;
    QChar m_separator;
    QString m_pending;
    bool m_rowStarted = false;
    bool m_failed = false;
};
