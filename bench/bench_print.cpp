// Print preview, PDF pages and snip on a large schedule, each against the
// same work on a 2,000-activity schedule in the same run: their cost must
// follow the pages and dates looked at, not the size of the schedule.
//
//   bench_print [--activities N]
//
// Prints, for each schedule: opening the print dialog with its first
// preview page painted and the memory that took, writing the first 50 pages
// to a PDF file, and a 3-month snip of the chart; then the ratios.

#include "activities.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "mainwindow.h"
#include "pdpagepainter.h"
#include "pdprintdialog.h"
#include "pdprintexport.h"
#include "pdprintpreviewscene.h"
#include "plandeckresources.h"
#include "viewprintsheet.h"
#include "xergenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsView>
#include <QProgressDialog>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

struct Figures
{
    int rows = 0;
    int pages = 0;
    qint64 previewMs = 0;
    long previewKb = 0;
    qint64 pdfMs = 0;
    qint64 snipMs = 0;
};

Figures measure(const QString &path, const QString &out)
{
    Figures f;
    MainWindow window;
    window.show();
    window.openProjectFile(path);
    const auto loading = [&window] {
        const auto dialogs = window.findChildren<QProgressDialog *>();
        return std::any_of(dialogs.begin(), dialogs.end(), [](const QProgressDialog *d) { return d->isVisible(); });
    };
    while (loading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Activities *activities = window.activities();
    activities->treeView()->expandAll();
    QCoreApplication::processEvents();

    const long before = residentKb();
    QElapsedTimer timer;
    timer.start();
    {
        ViewPrintSheet sheet(activities->treeView(), activities->ganttChart());
        PdPrintDialog dialog(sheet, &window);
        dialog.show();
        QCoreApplication::processEvents();
        dialog.findChild<QGraphicsView *>(QStringLiteral("gvPreview"))->viewport()->repaint();
        f.previewMs = timer.elapsed();
        f.previewKb = residentKb() - before;
        f.rows = sheet.rowCount();
        f.pages = dialog.scene()->pageCount();

        timer.restart();
        dialog.scene()->pagePainter().savePdf(out + QStringLiteral(".pdf"), 0, 49);
        f.pdfMs = timer.elapsed();
    }
    mygc::GanttChart *chart = activities->ganttChart();
    const QDate start = chart->dateAxis()->startDate().date().addMonths(1);
    timer.restart();
    QString error;
    PdPrintExport::saveChartPng(chart, start, start.addMonths(3).addDays(-1), out + QStringLiteral(".png"), &error);
    f.snipMs = timer.elapsed();
    window.onCloseAction();
    return f;
}

void report(const char *name, const Figures &f)
{
    std::printf("%s: %d rows, %d pages; preview %lld ms, +%ld MB; 50-page PDF %lld ms; 3-month snip %lld ms\n", name,
                f.rows, f.pages, static_cast<long long>(f.previewMs), f.previewKb / 1024,
                static_cast<long long>(f.pdfMs), static_cast<long long>(f.snipMs));
}

double ratio(qint64 big, qint64 small)
{
    return double(big) / double(std::max<qint64>(1, small));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plandeck::initResources();
    int activities = 200000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--activities"))
            activities = args.at(++i).toInt();
    }
    QTemporaryDir dir;
    const auto generate = [&dir](const QString &name, int count) {
        const QString path = dir.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || !XerGenerator(7, count).write(&out))
            return QString();
        return path;
    };
    const QString small = generate(QStringLiteral("small.xer"), 2000);
    const QString big = generate(QStringLiteral("big.xer"), activities);
    if (small.isEmpty() || big.isEmpty()) {
        std::fprintf(stderr, "cannot write the schedules\n");
        return 1;
    }
    const Figures base = measure(small, dir.filePath(QStringLiteral("small")));
    const Figures large = measure(big, dir.filePath(QStringLiteral("big")));
    report("baseline", base);
    report("large", large);
    std::printf("ratios large/baseline: preview %.2f, 50-page PDF %.2f, 3-month snip %.2f (rows %.0f)\n",
                ratio(large.previewMs, base.previewMs), ratio(large.pdfMs, base.pdfMs),
                ratio(large.snipMs, base.snipMs), ratio(large.rows, base.rows));
    return large.pages > 0 ? 0 : 1;
}
