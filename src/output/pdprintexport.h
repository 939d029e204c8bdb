#pragma once

#include <QString>

class PdGroupedTreeView;
class QDate;
namespace mygc {
class GanttChart;
}

// Print and snip without their dialogs, with the dialogs' defaults: for the
// command line and anything else that writes pages or pictures unattended.
class PdPrintExport
{
public:
    // The tree beside the chart, every page, to a PDF file.
    static bool savePdf(PdGroupedTreeView *tree, mygc::GanttChart *chart, const QString &path, QString *error);
    // The chart with its scale from the start of `from` to the end of `to`.
    static bool saveChartPng(mygc::GanttChart *chart, const QDate &from, const QDate &to, const QString &path,
                             QString *error);
};
