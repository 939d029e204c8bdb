#include "commandlineexport.h"
#include "mainwindow.h"
#include "plandeckresources.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char *const version = "1.5.0";

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("Viewer for Primavera P6 XER schedules"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("XER schedule to open"));
    CommandLineExport::describeOption(parser);
}

bool asksForTextOnly(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-?", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version are plain text; a QApplication would refuse to start
    // on a machine without a display before it could print them.
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationVersion(QLatin1String(version));
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(app);
        return 0;
    }

    // An export shows nothing and must run where there is no display at all.
    const bool exporting = CommandLineExport::isRequested(argc, argv);
    if (exporting) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        CommandLineExport::quietenLog();
    }

    QApplication app(argc, argv);
    plandeck::initResources();
    QCoreApplication::setApplicationVersion(QLatin1String(version));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/red_pyramid.png")));

    // File managers open a file with a program by passing its path.
    QCommandLineParser parser;
    describeOptions(parser);
    if (exporting) {
        if (!parser.parse(app.arguments())) {
            std::fprintf(stderr, "plandeck: %s\n%s", qPrintable(parser.errorText()), qPrintable(parser.helpText()));
            return CommandLineExport::UsageError;
        }
        return CommandLineExport::run(parser);
    }
    parser.process(app);
    if (parser.isSet(CommandLineExport::layoutOptionName())) {
        std::fprintf(stderr, "plandeck: --layout applies to --export only.\n%s", qPrintable(parser.helpText()));
        return CommandLineExport::UsageError;
    }

    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!parser.positionalArguments().isEmpty()) {
        const QString path = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
        MainWindow *target = window.get();
        QTimer::singleShot(0, target, [target, path] { target->openProjectFile(path); });
    }
    const int rc = app.exec();
    window.reset();
    return rc;
}
