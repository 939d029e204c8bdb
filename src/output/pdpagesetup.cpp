#include "pdpagesetup.h"

#include <QRectF>

#include <algorithm>
#include <cmath>

int PdPageSetup::clampScale(int percent)
{
    return std::clamp(percent, minimumScale, maximumScale);
}

QPageLayout PdPageSetup::pageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QSizeF PdPageSetup::paperMillimetres() const
{
    return pageLayout().fullRect(QPageLayout::Millimeter).size();
}

QSizeF PdPageSetup::contentSize() const
{
    const QSizeF paper = paperMillimetres();
    const qreal perMm = unitsPerMillimetre * 100.0 / clampScale(scalePercent);
    return QSizeF((paper.width() - 2 * marginMillimetres) * perMm, (paper.height() - 2 * marginMillimetres) * perMm);
}

int PdPageSetup::defaultScale(int tableWidth) const
{
    if (tableWidth <= 0)
        return 100;
    PdPageSetup full = *this;
    full.scalePercent = 100;
    const int percent = int(std::floor(100.0 * full.contentSize().width() * tableShare / tableWidth));
    return std::clamp(percent, readableScale, 100);
}
