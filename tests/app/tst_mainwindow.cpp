#include "mainwindow.h"

#include <QtTest>

#ifdef PLANDECK_HAVE_RESOURCES
#include "plandeckresources.h"
#endif

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startsWithTitleAndSize();
};

void TestMainWindow::initTestCase()
{
#ifdef PLANDECK_HAVE_RESOURCES
    plandeck::initResources();
#endif
    QCoreApplication::setApplicationVersion(QStringLiteral("1.5.0"));
}

void TestMainWindow::startsWithTitleAndSize()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.windowTitle(), QStringLiteral("Plandeck"));
    QCOMPARE(w.size(), QSize(1280, 800));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
