#pragma once

#include "xerobject.h"

namespace xer {

// An "ERMHDR" line met after the start of the file, as in files joined end to end.
class XERHeader : public XERObject
{
public:
    XERHeader(qint32 sequence, QString text, const int *tabs = nullptr, int tabCount = -1)
        : XERObject(Header, sequence, std::move(text), tabs, tabCount)
    {
    }
    XERHeader(qint32 sequence, const Place &place)
        : XERObject(Header, sequence, place)
    {
    }
};

} // namespace xer
