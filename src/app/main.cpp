#include "mainwindow.h"
#include "plandeckresources.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    plandeck::initResources();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/red_pyramid.png")));

    // File managers open a file with a program by passing its path.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Viewer for Primavera P6 XER schedules"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("XER schedule to open"));
    parser.process(app);

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
