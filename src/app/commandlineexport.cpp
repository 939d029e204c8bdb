#include "commandlineexport.h"

#include "activities.h"
#include "pdgroupedtreeview.h"
#include "pdtreeexport.h"
#include "projectpresentation.h"
#include "xerfile.h"
#include "xerloader.h"

#include <QCommandLineParser>
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
                                     "the format: .csv (semicolon-separated, UTF-8)."),
                      QStringLiteral("out")});
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
    if (QFileInfo(output).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) != 0)
        return usageError(parser, QStringLiteral("cannot tell the format of \"%1\"; name it *.csv.").arg(shown(output)));

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

    Activities activities;
    presentProject(&activities, &loader);
    const PdExportResult result = exportActivitiesCsv(activities.treeView(), output);
    // The view must let go of the models before the loader deletes them.
    activities.onCloseProject();
    if (!result.ok) {
        printError(QStringLiteral("plandeck: cannot write \"%1\": %2").arg(shown(output), result.errorString));
        return CannotWriteOutput;
    }
    return Written;
}
