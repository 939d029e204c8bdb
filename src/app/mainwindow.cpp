#include "mainwindow.h"

#include <QIcon>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(1280, 800);
    setWindowTitle(QStringLiteral("Plandeck"));
    setWindowIcon(QIcon(QStringLiteral(":/images/red_pyramid.png")));
}

MainWindow::~MainWindow() = default;
