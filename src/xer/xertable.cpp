#include "xertable.h"

#include "xerfield.h"
#include "xerrecord.h"

#include <qalgorithms.h>

namespace xer {

XERTable::XERTable(qint32 sequence, QString text, const int *tabs, int tabCount)
    : XERObject(Table, sequence, std::move(text), tabs, tabCount)
{
}

XERTable::XERTable(qint32 sequence, const Place &place)
    : XERObject(Table, sequence, place)
{
}

XERTable::~XERTable()
{
    delete m_fieldNames;
    qDeleteAll(m_records);
}

void XERTable::setFieldNames(XERField *fieldNames)
{
    delete m_fieldNames;
    m_fieldNames = fieldNames;
    if (m_fieldNames)
        m_fieldNames->setTable(this);
}

XERField *XERTable::takeFieldNames()
{
    XERField *fieldNames = m_fieldNames;
    m_fieldNames = nullptr;
    if (fieldNames)
        fieldNames->setTable(nullptr);
    return fieldNames;
}

void XERTable::appendRecord(XERRecord *record)
{
    m_records.append(record);
}

} // namespace xer
