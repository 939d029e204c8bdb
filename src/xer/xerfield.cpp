#include "xerfield.h"

namespace xer {

XERField::XERField(qint32 sequence, QString text, const int *tabs, int tabCount)
    : XERObject(FieldNames, sequence, std::move(text), tabs, tabCount)
{
}

} // namespace xer
