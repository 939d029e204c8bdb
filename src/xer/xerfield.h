#pragma once

#include "xerobject.h"

namespace xer {

class XERTable;

// The "%F" line of a table: the column names, in the order of its records.
class XERField : public XERObject
{
public:
    XERField(qint32 sequence, QString text, const int *tabs = nullptr, int tabCount = -1);
    XERField(qint32 sequence, const Place &place);

    // The table this line belongs to (not owned); null while unattached.
    XERTable *table() const { return m_table; }
    void setTable(XERTable *table) { m_table = table; }

private:
    XERTable *m_table = nullptr;
};

} // namespace xer
