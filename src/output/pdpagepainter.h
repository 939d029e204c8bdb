#pragma once

#include "pdpageplan.h"
#include "pdpagesetup.h"

#include <QString>

#include <functional>

class PrintSheet;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRectF;

// Paints the pages of a sheet one at a time, each straight from the sheet
// onto the printer's, the PDF file's or the preview's painter.
class PdPagePainter
{
public:
    // Told after each page; returning false stops the print.
    using Progress = std::function<bool(int done, int total)>;
    struct Result
    {
        bool ok = false;
        bool cancelled = false;
        int pages = 0;
        QString error;
    };

    // Fits the sheet to the setup's pages first.
    PdPagePainter(PrintSheet &sheet, const PdPageSetup &setup);

    const PdPagePlan &plan() const { return m_plan; }
    const PdPageSetup &setup() const { return m_setup; }
    int pageCount() const { return m_plan.pageCount(); }

    // Paints page `number` (from 0) so that the paper fills `paper` on the
    // painter; the paper's white is left to the caller.
    void paintPage(QPainter &painter, int number, const QRectF &paper) const;

    // Pages first .. last (from 0, both included) to a printer or a PDF file.
    Result print(QPrinter &printer, int first, int last, const Progress &progress = {}) const;
    Result savePdf(const QString &path, int first, int last, const Progress &progress = {}) const;

private:
    // Pages first to last cut to those that exist; false, with the reason
    // in *result, when none is left.
    bool clampRange(int *first, int *last, Result *result) const;
    Result paintPages(QPainter &painter, QPagedPaintDevice &device, int first, int last,
                      const Progress &progress) const;

    const PrintSheet &m_sheet;
    PdPageSetup m_setup;
    PdPagePlan m_plan;
};
