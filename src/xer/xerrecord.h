#pragma once

#include "xerobject.h"

namespace xer {

// A "%R" line: one row of the current table, values in the order of its "%F" line.
class XERRecord : public XERObject
{
public:
    XERRecord(qint32 sequence, QString text, const int *tabs = nullptr, int tabCount = -1)
        : XERObject(Record, sequence, std::move(text), tabs, tabCount)
    {
    }
    XERRecord(qint32 sequence, const Place &place)
        : XERObject(Record, sequence, place)
    {
    }
};

} // namespace xer
