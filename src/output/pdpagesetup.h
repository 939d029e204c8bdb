#pragma once

#include <QPageLayout>
#include <QSizeF>

// How the chart spreads its dates on paper. The screen's own scale, often
// days a couple of dozen pixels wide, runs a plan of months across many pages.
enum class PdChartScale {
    // The whole span beside the tree, or on pages of its own when the tree
    // leaves too little room; bands as coarse as the width needs.
    FitToPageWidth,
    Screen,
    Week,
    Month,
    Quarter
};

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
    // A table beside a chart takes at most this share of the page width at
    // the default scale, and the default scale goes no lower than
    // `readableScale` for it: rows about 3 mm high, text about 5.5 pt.
    static constexpr qreal tableShare = 0.6;
    static constexpr int readableScale = 60;

    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    int scalePercent = 100;
    bool repeatHeaders = true;
    bool pageNumbers = true;
    PdChartScale chartScale = PdChartScale::FitToPageWidth;

    static int clampScale(int percent);
    // The default scale for a sheet whose table is `tableWidth` wide: 100 %
    // when the table leaves the chart room beside it on this paper, smaller
    // until it does, down to `readableScale`.
    int defaultScale(int tableWidth) const;
    // The whole sheet of paper, without margins: the sheet's own margins are
    // painted by the page painter so printers and PDF files agree on them.
    QPageLayout pageLayout() const;
    // Paper size in millimetres, turned for landscape.
    QSizeF paperMillimetres() const;
    // The printable part of a page, in sheet pixels at the scale.
    QSizeF contentSize() const;
};
