#include "commandlineexport.h"

#include "activities.h"
#include "ganttchart.h"
#include "timeunit.h"
#include "layoutmanager.h"
#include "pdgroupedtreeview.h"
#include "pdprintexport.h"
#include "pdtreeexport.h"
#include "projectpresentation.h"
#include "xerfile.h"
#include "xerloader.h"

#include <QCommandLineParser>
#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTreeView>

#include <cstdio>
#include <cstring>

namespace {

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QtMessageHandler defaultHandler = nullptr;

void warningsOnly(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg && defaultHandler)
        defaultHandler(type, context, message);
}

} // namespace

QString CommandLineExport::optionName()
{
    return QStringLiteral("export");
}

void CommandLineExport::describeOption(QCommandLineParser &parser)
{
    parser.addOption({optionName(),
                      QStringLiteral("Write the activities of <file>, as the window shows them after opening it, "
                                     "to <out> and exit without showing a window. The ending of <out> chooses "
                                     "the format: .csv (semicolon-separated, UTF-8), .pdf (the tree beside the "
                                     "chart on A4 landscape pages, the chart's dates fitted to the page width) "
                                     "or .png (the chart from --from to --to, on the window's scale)."),
                      QStringLiteral("out")});
    parser.addOption({QStringLiteral("from"), QStringLiteral("First day of a .png export (YYYY-MM-DD)."),
                      QStringLiteral("date")});
    parser.addOption({QStringLiteral("to"), QStringLiteral("Last day of a .png export (YYYY-MM-DD)."),
                      QStringLiteral("date")});
    parser.addOption({layoutOptionName(),
                      QStringLiteral("With --export: apply <layout> after the default layout. <layout> is a layout "
                                     ".json file, a P6 .plf file, the name of a saved layout or the name of a view "
                                     "stored in the schedule."),
                      QStringLiteral("layout")});
}

QString CommandLineExport::layoutOptionName()
{
    return QStringLiteral("layout");
}

bool CommandLineExport::isRequested(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--export") == 0 || std::strncmp(argv[i], "--export=", 9) == 0)
            return true;
    }
    return false;
}

void CommandLineExport::quietenLog()
{
    defaultHandler = qInstallMessageHandler(warningsOnly);
}

int CommandLineExport::usageError(const QCommandLineParser &parser, const QString &message)
{
    printError(QStringLiteral("plandeck: ") + message);
    std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
    return UsageError;
}

int CommandLineExport::run(const QCommandLineParser &parser)
{
    const QString output = parser.value(optionName());
    const QStringList inputs = parser.positionalArguments();
    if (output.isEmpty())
        return usageError(parser, QStringLiteral("--export needs the name of the file to write."));
    if (inputs.size() != 1)
        return usageError(parser, QStringLiteral("--export needs exactly one schedule to read."));
    const QString format = QFileInfo(output).suffix().toLower();
    if (format != QLatin1String("csv") && format != QLatin1String("pdf") && format != QLatin1String("png"))
        return usageError(parser, QStringLiteral("cannot tell the format of \"%1\"; name it *.csv, *.pdf or *.png.")
                                      .arg(shown(output)));
    const QDate from = QDate::fromString(parser.value(QStringLiteral("from")), Qt::ISODate);
    const QDate to = QDate::fromString(parser.value(QStringLiteral("to")), Qt::ISODate);
    if (format == QLatin1String("png") && (!from.isValid() || !to.isValid() || to < from))
        return usageError(parser, QStringLiteral("a .png export needs --from and --to, as YYYY-MM-DD, "
                                                 "--to not before --from."));

    const QString input = inputs.constFirst();
    QFile catalogueFile(QStringLiteral(":/files/schema.json"));
    catalogueFile.open(QIODevice::ReadOnly);
    XERLoader loader(input, QJsonDocument::fromJson(catalogueFile.readAll()));
    int failure = -1;
    QObject::connect(&loader, &ProjectLoader::failed, [&failure](int code) { failure = code; });
    // The window reads on a worker so that it stays responsive; here nothing
    // else is waiting, and the same read runs on this thread.
    loader.read();
    if (failure == xer::InvalidFormat) {
        printError(QStringLiteral("plandeck: \"%1\" is not an XER schedule file.").arg(shown(input)));
        return NotASchedule;
    }
    if (failure >= 0) {
        const QFileInfo info(input);
        QString reason;
        if (!info.exists())
            reason = QStringLiteral(" The file does not exist.");
        else if (info.isDir())
            reason = QStringLiteral(" It is a folder.");
        else if (!info.isReadable())
            reason = QStringLiteral(" You do not have permission to read it.");
        printError(QStringLiteral("plandeck: \"%1\" cannot be opened.%2").arg(shown(input), reason));
        return CannotOpenInput;
    }

    // Without a display there is no desktop font, and Qt's fallback is a
    // size larger than the views are laid out for: labels of the date scale
    // would no longer fit their days. Pages take the usual desktop size.
    if (format != QLatin1String("csv"))
        QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
    Activities activities;
    // The bands a new window opens with, so that pages and pictures read as
    // the screen does.
    activities.ganttChart()->setLevels({mygc::Day, mygc::Month});
    LayoutManager layouts(&activities, nullptr, nullptr);
    presentProject(&activities, &loader, &layouts);
    if (parser.isSet(layoutOptionName())) {
        QString document;
        QString layoutError;
        if (!layouts.resolveLayout(parser.value(layoutOptionName()), &document, &layoutError)) {
            activities.onCloseProject();
            printError(QStringLiteral("plandeck: ") + layoutError);
            return UnknownLayout;
        }
        layouts.applyLayout(document);
    }
    // The window numbers rows a moment after a project opens; an export runs
    // no event loop before it reads them.
    activities.flushPendingRowNumbers();
    QString error;
    bool ok = false;
    if (format == QLatin1String("csv")) {
        const PdExportResult result = exportActivitiesCsv(activities.treeView(), output);
        ok = result.ok;
        error = result.errorString;
    } else {
        // Pages and pictures take their sizes from laid-out views, as on
        // screen; nothing reaches a display.
        activities.setAttribute(Qt::WA_DontShowOnScreen);
        activities.resize(1600, 1000);
        activities.show();
        QCoreApplication::processEvents();
        if (format == QLatin1String("pdf"))
            ok = PdPrintExport::savePdf(activities.treeView(), activities.ganttChart(), output, &error);
        else
            ok = PdPrintExport::saveChartPng(activities.ganttChart(), from, to, output, &error);
    }
    // The view must let go of the models before the loader deletes them.
    activities.onCloseProject();
    if (!ok) {
        printError(QStringLiteral("plandeck: cannot write \"%1\": %2").arg(shown(output), error));
        return CannotWriteOutput;
    }
    return Written;
}
