#pragma once

#include "containercolumn.h"

#include <QDateTime>
#include <QStringView>
#include <QVariant>

#include <vector>

// Turns the text of one XER field into the typed value of its catalogue
// column. One converter serves one table load: it remembers the date-times
// it has parsed, because a schedule repeats the same few thousand minutes in
// hundreds of thousands of date fields and building a local QDateTime is by
// far the most expensive step of a load. Texts of a column that repeats a
// few values (status codes, types, user names) share one string each.
class XerFieldConverter
{
public:
    enum Datatype { Unknown, Integer, Double, String, DateTime };

    explicit XerFieldConverter(int columnCount = 0);
    ~XerFieldConverter();

    static Datatype datatypeOf(const QVariant &datatypeText);

    // An empty text gives an invalid value, as does a datatype outside the
    // four. `column` selects the string pool; one outside 0..columnCount-1
    // gets none.
    QVariant convert(Datatype datatype, QStringView text, int column = -1);

    // Appends the value convert() gives to `cells`, without the QVariant
    // in between for the common kinds of value.
    void appendTo(ContainerColumn &cells, Datatype datatype, QStringView text, int column = -1);

    static QDateTime parseDateTime(QStringView text);

private:
    class StringPool;

    const QDateTime &cachedDateTime(QStringView text);
    void growDateTimes();

    // Open addressing keyed by the minute's digits; a node hash spent most
    // of its lookups walking collision chains.
    std::vector<qint64> m_dateKeys;
    std::vector<QDateTime> m_dateValues;
    int m_dateCount = 0;
    std::vector<StringPool> m_pools;
};
