#include "activities.h"
#include "apptesting.h"
#include "dateaxis.h"
#include "ganttchart.h"
#include "windowsettings.h"

#include <QAction>
#include <QSettings>
#include <QSplitter>

namespace {

QList<int> splitterSizes(const MainWindow &window, const char *name)
{
    return window.findChild<QSplitter *>(QLatin1String(name))->sizes();
}

QString lastFolderOffered(MainWindow &window)
{
    QString folder = QStringLiteral("not asked");
    window.setFileChooser([&](QWidget *, const QString &, const QString &dir, const QString &) {
        folder = dir;
        return QString();
    });
    window.findChild<QAction *>(QStringLiteral("actionOpen_file"))->trigger();
    return folder;
}

} // namespace

class TestWindowSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void secondWindowStartsAsTheFirstWasLeft();
    void handEditedFileLeavesTheDefaults();

private:
    QTemporaryDir m_dir;
};

void TestWindowSettings::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useConfigIn(m_dir);
}

void TestWindowSettings::init()
{
    QFile::remove(WindowSettings::filePath());
}

void TestWindowSettings::secondWindowStartsAsTheFirstWasLeft()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("plans")));
    const QString plan = writeFile(m_dir.filePath(QStringLiteral("plans/plan.xer")),
                                   xerText(QStringLiteral("%T\tTASK\r\n%F\ttask_id\ttask_code\r\n%R\t1\tA1\r\n")));

    QSize size;
    QList<int> treeAndChart;
    {
        MainWindow first;
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        first.resize(first.width() - 200, first.height() - 100);
        auto *splitter = first.findChild<QSplitter *>(QStringLiteral("splitter"));
        splitter->setSizes({splitter->width() / 4, splitter->width() * 3 / 4});
        first.findChild<QAction *>(QStringLiteral("actionWeek"))->trigger();
        first.setFileChooser([&](QWidget *, const QString &, const QString &, const QString &) { return plan; });
        first.findChild<QAction *>(QStringLiteral("actionOpen_file"))->trigger();
        QTRY_VERIFY(first.activities()->treeView()->model()->rowCount() == 1);
        size = first.size();
        treeAndChart = splitterSizes(first, "splitter");
        first.close();
    }

    MainWindow second;
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(second.size(), size);
    QCOMPARE(splitterSizes(second, "splitter"), treeAndChart);
    QCOMPARE(second.timeScaleLevels(), (QList<int>{3, 4, 6}));
    QCOMPARE(second.activities()->ganttChart()->dateAxis()->levelUnits(), (QVector<int>{3, 4, 6}));
    QCOMPARE(lastFolderOffered(second), QFileInfo(plan).absolutePath());
}

void TestWindowSettings::handEditedFileLeavesTheDefaults()
{
    {
        QSettings settings(WindowSettings::filePath(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("window/geometry"), QByteArray("not a geometry"));
        settings.setValue(QStringLiteral("splitters/splitter"), QByteArray("\xff\xff"));
        settings.setValue(QStringLiteral("window/timeBands"), QVariantList{0, 99, QStringLiteral("x")});
        settings.setValue(QStringLiteral("files/lastFolder"), m_dir.filePath(QStringLiteral("gone")));
    }
    MainWindow window;
    QCOMPARE(window.timeScaleLevels(), (QList<int>{3, 6}));
    QCOMPARE(lastFolderOffered(window), QString());
}

QTEST_MAIN(TestWindowSettings)
#include "tst_windowsettings.moc"
