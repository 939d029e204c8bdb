#pragma once

#include "xerobject.h"

#include <QVector>

namespace xer {

class XERField;
class XERRecord;

// A "%T" line together with what follows it: the table's field names and its
// records, in file order. The table owns them.
class XERTable : public XERObject
{
public:
    XERTable(qint32 sequence, QString text, const int *tabs = nullptr, int tabCount = -1);
    XERTable(qint32 sequence, const Place &place);
    ~XERTable() override;

    QString name() const { return field(1).toString(); }

    // Null until the table's "%F" line has been read.
    XERField *fieldNames() const { return m_fieldNames; }
    const QVector<XERRecord *> &records() const { return m_records; }

    // Takes ownership of `fieldNames` and points it back at this table.
    void setFieldNames(XERField *fieldNames);
    // Gives up the current field names (the caller owns them afterwards).
    XERField *takeFieldNames();
    // Takes ownership of `record`.
    void appendRecord(XERRecord *record);

private:
    XERField *m_fieldNames = nullptr;
    QVector<XERRecord *> m_records;
};

} // namespace xer
