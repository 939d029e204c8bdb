#include "printsheet.h"

PrintSheet::~PrintSheet() = default;

int PrintSheet::dotsPerInch() const
{
    return 96;
}

int PrintSheet::width() const
{
    int total = 0;
    for (int w : columnWidths())
        total += w;
    return total;
}
