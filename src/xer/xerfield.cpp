#include "xerfield.h"

namespace xer {

XERField::XERField(qint32 sequence, QString text, const int *tabs, int tabCount)
    : XERObject(FieldNames, sequence, std::move(text), tabs, tabCount)
{
}

XERField::XERField(qint32 sequence, const Place &place)
    : XERObject(FieldNames, sequence, place)
{
}

} // namespace xer
