#pragma once

#include <QDateTime>
#include <QHash>
#include <QStringView>
#include <QVariant>

// Turns the text of one XER field into the typed value of its catalogue
// column. One converter serves one table load: it remembers the date-times
// it has parsed, because a schedule repeats the same few thousand minutes in
// hundreds of thousands of date fields and building a local QDateTime is by
// far the most expensive step of a load.
class XerFieldConverter
{
public:
    enum Datatype { Unknown, Integer, Double, String, DateTime };

    static Datatype datatypeOf(const QVariant &datatypeText);

    // An empty text gives an invalid value, as does a datatype outside the four.
    QVariant convert(Datatype datatype, QStringView text);

    static QDateTime parseDateTime(QStringView text);

private:
    QHash<qint64, QDateTime> m_dateTimes;
};
