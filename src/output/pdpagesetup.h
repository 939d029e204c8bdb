#pragma once

#include <QPageLayout>
#include <QSizeF>

// Paper, orientation, content scale and page decorations of a print.
struct PdPageSetup
{
    // Sheet pixels per millimetre of paper at 100 %: a 22-pixel row comes
    // out about 5 mm high.
    static constexpr qreal unitsPerMillimetre = 4.33333;
    static constexpr qreal marginMillimetres = 5.0;
    // Below this, rows are too thin to read or to tell apart.
    static constexpr int minimumScale = 20;
    static constexpr int maximumScale = 150;

    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    int scalePercent = 100;
    bool repeatHeaders = true;
    bool pageNumbers = true;

    static int clampScale(int percent);
    // The whole sheet of paper, without margins: the sheet's own margins are
    // painted by the page painter so printers and PDF files agree on them.
    QPageLayout pageLayout() const;
    // Paper size in millimetres, turned for landscape.
    QSizeF paperMillimetres() const;
    // The printable part of a page, in sheet pixels at the scale.
    QSizeF contentSize() const;
};
