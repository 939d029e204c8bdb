#include "printsheet.h"

PrintSheet::~PrintSheet() = default;

int PrintSheet::dotsPerInch() const
{
    return 96;
}

void PrintSheet::fitToPage(const PdPageSetup &)
{
}

int PrintSheet::tableWidth() const
{
    return 0;
}

int PrintSheet::width() const
{
    int total = 0;
    for (int w : columnWidths())
        total += w;
    return total;
}
