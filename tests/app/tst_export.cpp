#include "activities.h"
#include "apptesting.h"
#include "pdmodelutils.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QListView>
#include <QProcess>
#include <QStatusBar>
#include <QTreeView>

namespace {

const QString SmallSchedule = QStringLiteral(PLANDECK_SOURCE_DIR "/tests/project/data/small.xer");
const QByteArray OldContent("kept from before\n");

// Runs the program as a script would, on a machine without any display.
int runPlandeck(const QStringList &arguments, bool tinyFileSizeLimit = false)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess process;
    process.setProcessEnvironment(environment);
    const QString program = QStringLiteral(PLANDECK_BIN_DIR "/plandeck");
    if (tinyFileSizeLimit) {
        // Writes past the limit fail with EFBIG once the signal is ignored: a full disk, in effect.
        process.start(QStringLiteral("/bin/sh"), QStringList{"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\"",
                                                             program} + arguments);
    } else {
        process.start(program, arguments);
    }
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void commandLineStatus_data();
    void commandLineStatus();
    void pagesAndPicturesFromTheCommandLine_data();
    void pagesAndPicturesFromTheCommandLine();
    void windowWritesWhatTheCommandLineWrites_data();
    void windowWritesWhatTheCommandLineWrites();
    void copyPutsSelectedRowsOnTheClipboard();
    void columnsCommandReordersTheTree();
    void commandLineNumbersRows();

private:
    QTemporaryDir m_dir;
};

void TestExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useConfigIn(m_dir);
}

void TestExport::commandLineStatus_data()
{
    // "{out}" stands for an output that already holds older content.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("tinyFileSizeLimit");
    QTest::addColumn<int>("status");

    const QString notXer = writeFile(m_dir.filePath("notes.xer"), "Dear planner,\r\n");

    QTest::newRow("written") << QStringList{"--export", "{out}", SmallSchedule} << false << 0;
    QTest::newRow("written, option with =") << QStringList{"--export={out}", SmallSchedule} << false << 0;
    QTest::newRow("input is not a schedule") << QStringList{"--export", "{out}", notXer} << false << 1;
    QTest::newRow("input missing") << QStringList{"--export", "{out}", m_dir.filePath("gone.xer")} << false << 2;
    QTest::newRow("input is a folder") << QStringList{"--export", "{out}", m_dir.path()} << false << 2;
    QTest::newRow("output folder missing")
        << QStringList{"--export", m_dir.filePath("none/out.csv"), SmallSchedule} << false << 3;
    QTest::newRow("disk full while writing") << QStringList{"--export", "{out}", SmallSchedule} << true << 3;
    QTest::newRow("no schedule") << QStringList{"--export", "{out}"} << false << 64;
    QTest::newRow("two schedules") << QStringList{"--export", "{out}", SmallSchedule, SmallSchedule} << false << 64;
    QTest::newRow("unknown option") << QStringList{"--export", "{out}", "--bogus", SmallSchedule} << false << 64;
    QTest::newRow("unknown format") << QStringList{"--export", "{out}.txt", SmallSchedule} << false << 64;
}

void TestExport::commandLineStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, tinyFileSizeLimit);
    QFETCH(int, status);

    const QString out = writeFile(m_dir.filePath(QStringLiteral("out.csv")), OldContent);
    QVERIFY(!out.isEmpty());
    arguments.replaceInStrings(QStringLiteral("{out}"), out);

    QCOMPARE(runPlandeck(arguments, tinyFileSizeLimit), status);
    const QByteArray written = readFile(out);
    if (status == 0)
        QVERIFY(written.startsWith("\xEF\xBB\xBF" "Activity ID;Activity Name;"));
    else
        QCOMPARE(written, OldContent);
}

void TestExport::pagesAndPicturesFromTheCommandLine_data()
{
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("status");
    QTest::newRow("pdf pages") << "plan.pdf" << QStringList() << 0;
    QTest::newRow("png of a month") << "month.png" << QStringList{"--from", "2026-03-01", "--to", "2026-03-31"} << 0;
    QTest::newRow("png without dates") << "nodates.png" << QStringList() << 64;
    QTest::newRow("png ending before it starts") << "back.png" << QStringList{"--from", "2026-03-31", "--to", "2026-03-01"}
                                                 << 64;
    QTest::newRow("png of dates before the schedule") << "before.png"
                                                      << QStringList{"--from", "2001-01-01", "--to", "2001-02-01"} << 3;
}

void TestExport::pagesAndPicturesFromTheCommandLine()
{
    QFETCH(QString, out);
    QFETCH(QStringList, dates);
    QFETCH(int, status);
    const QString path = m_dir.filePath(out);
    QCOMPARE(runPlandeck(QStringList{"--export", path} + dates + QStringList{SmallSchedule}), status);
    QCOMPARE(QFile::exists(path), status == 0);
    if (status != 0)
        return;
    if (out.endsWith(QLatin1String(".pdf"))) {
        const QByteArray pdf = readFile(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QVERIFY(pdf.contains("/MediaBox [0 0 842"));
        return;
    }
    // A month of days: some pixels per day, not the whole schedule's width.
    const QImage image(path, "png");
    QVERIFY2(image.width() >= 31 * 10 && image.width() <= 31 * 100, qPrintable(QString::number(image.width())));
    QVERIFY(image.height() > 100);
}

void TestExport::windowWritesWhatTheCommandLineWrites_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("saved");
    QTest::newRow("written") << "window.csv" << true;
    QTest::newRow("folder missing: a warning naming the file, no word of success") << "none/x.csv" << false;
}

void TestExport::windowWritesWhatTheCommandLineWrites()
{
    QFETCH(QString, name);
    QFETCH(bool, saved);
    const QString fromCommandLine = m_dir.filePath(QStringLiteral("command-line.csv"));
    QCOMPARE(runPlandeck({"--export", fromCommandLine, SmallSchedule}), 0);

    MainWindow window;
    QVERIFY(loadInto(window, SmallSchedule));
    const QString fromWindow = m_dir.filePath(name);
    window.setSaveFileChooser([&](QWidget *, const QString &, const QString &, const QString &) { return fromWindow; });
    QString warning;
    if (!saved)
        captureMessageBox(&warning);
    window.findChild<QAction *>(QStringLiteral("actionExport"))->trigger();

    QCOMPARE(window.statusBar()->currentMessage().isEmpty(), !saved);
    if (!saved) {
        QTRY_VERIFY(!warning.isEmpty());
        QVERIFY2(warning.contains(QDir::toNativeSeparators(fromWindow)), qPrintable(warning));
        return;
    }
    const QByteArray written = readFile(fromWindow);
    QCOMPARE(written.count('\n'), 21);
    QCOMPARE(written, readFile(fromCommandLine));
}

void TestExport::copyPutsSelectedRowsOnTheClipboard()
{
    MainWindow window;
    window.show();
    QVERIFY(loadInto(window, SmallSchedule));
    // The load's modal progress dialog had the focus.
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTreeView *tree = window.activities()->treeView();
    const QAbstractItemModel *model = tree->model();
    tree->selectionModel()->select(model->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    tree->selectionModel()->select(model->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    tree->setFocus();
    QApplication::clipboard()->clear();

    QTest::keySequence(tree, QKeySequence::Copy);

    const QStringList lines = QApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, and the end of the last one
    QCOMPARE(lines.at(0), visibleColumnNames(tree->header()).join('\t'));
}

void TestExport::columnsCommandReordersTheTree()
{
    MainWindow window;
    QVERIFY(loadInto(window, SmallSchedule));
    QHeaderView *header = window.activities()->treeView()->header();
    QStringList expected = visibleColumnNames(header);
    expected.swapItemsAt(0, 1);

    bool seen = false;
    QTimer::singleShot(0, [&seen] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        dialog->findChild<QListView *>(QStringLiteral("lwChosen"))->setCurrentIndex(
            dialog->findChild<QListView *>(QStringLiteral("lwChosen"))->model()->index(0, 0));
        QTest::mouseClick(dialog->findChild<QWidget *>(QStringLiteral("tbDown")), Qt::LeftButton);
        dialog->accept();
    });
    window.findChild<QAction *>(QStringLiteral("actionColumns"))->trigger();

    QVERIFY(seen);
    QCOMPARE(visibleColumnNames(header), expected);
    QCOMPARE(window.activities()->treeView()->treePosition(), firstVisibleColumn(header));
}

// The window numbers rows a moment after opening; an export from the command
// line, which runs no event loop first, must still carry the numbers.
void TestExport::commandLineNumbersRows()
{
    const QString layout =
        writeFile(m_dir.filePath(QStringLiteral("numbers.json")), R"({"columns":["Activity ID:80","Row Number:60"]})");
    const QString out = m_dir.filePath(QStringLiteral("numbers.csv"));
    QCOMPARE(runPlandeck({"--export", out, "--layout", layout, SmallSchedule}), 0);
    const QStringList lines = QString::fromUtf8(readFile(out)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 2);
    for (int i = 1; i < lines.size(); ++i)
        QCOMPARE(lines.at(i).section(QLatin1Char(';'), 1, 1).trimmed(), QString::number(i));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
