#include "pdprintexport.h"

#include "dateaxis.h"
#include "ganttchart.h"
#include "pdpagepainter.h"
#include "pdsheetrenderer.h"
#include "viewprintsheet.h"

#include <QDate>
#include <QDateTime>

bool PdPrintExport::savePdf(PdGroupedTreeView *tree, mygc::GanttChart *chart, const QString &path, QString *error)
{
    ViewPrintSheet sheet(tree, chart);
    PdPageSetup setup;
    setup.scalePercent = setup.defaultScale(sheet.tableWidth());
    const PdPagePainter pages(sheet, setup);
    const PdPagePainter::Result result = pages.savePdf(path, 0, pages.pageCount() - 1);
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

bool PdPrintExport::saveChartPng(mygc::GanttChart *chart, const QDate &from, const QDate &to, const QString &path,
                                 QString *error)
{
    ViewPrintSheet sheet(nullptr, chart);
    chart->flushPendingRebuild();
    const mygc::DateAxis *axis = chart->dateAxis();
    // Dates before or after the scale map to its ends.
    const auto place = [axis](const QDate &date) {
        const QDateTime t(date, QTime(0, 0));
        if (t <= axis->startDate())
            return 0;
        if (t >= axis->endDate())
            return axis->axisWidth();
        return axis->xForDate(t);
    };
    sheet.setChartRange(place(from), place(to.addDays(1)));
    const QImage image = PdSheetRenderer::renderCapped(sheet, error);
    return !image.isNull() && PdSheetRenderer::savePng(image, path, error);
}
