#include "mainwindow.h"

#include <QApplication>
#include <memory>

#ifdef PLANDECK_HAVE_RESOURCES
#include "plandeckresources.h"
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef PLANDECK_HAVE_RESOURCES
    plandeck::initResources();
#endif
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/red_pyramid.png")));

    auto window = std::make_unique<MainWindow>();
    window->show();
    const int rc = app.exec();
    window.reset();
    return rc;
}
