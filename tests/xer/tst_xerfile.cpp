#include "xerfile.h"
#include "xertext.h"

#include <QBuffer>
#include <QDir>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace xer;

namespace {

const int MiB = 0x100000;

// "NAME F:a|b R:1|2 R:3|4 / NEXT ..." — fields after the marker, joined.
QString dump(const XERFile &file)
{
    auto join = [](const XERObject *object) {
        QStringList fields;
        for (int i = 1; i < object->fieldCount(); ++i)
            fields << object->field(i).toString();
        return fields.join('|');
    };
    QStringList tables;
    for (const XERTable *table : file.tables()) {
        QString text = table->name();
        if (table->fieldNames())
            text += " F:" + join(table->fieldNames());
        for (const XERRecord *record : table->records())
            text += " R:" + join(record);
        tables << text;
    }
    return tables.join(" / ");
}

// Reading must not depend on where the blocks happen to cut the bytes.
QString readAllBlockSizes(const QByteArray &content, int convention, const QStringList &wanted, int *code,
                          const QList<int> &blockSizes = {MiB, 1, 2, 3, 7, 64})
{
    QString first;
    for (int blockSize : blockSizes) {
        QBuffer buffer;
        buffer.setData(content);
        buffer.open(QIODevice::ReadOnly);
        XERFile file(QString(), convention, wanted);
        file.setBlockSize(blockSize);
        *code = file.read(&buffer);
        const QString text = dump(file);
        if (blockSize == MiB)
            first = text;
        else if (text != first)
            return QStringLiteral("block size %1 gave: %2").arg(blockSize).arg(text);
    }
    return first;
}

// The plain model of a CR LF file: split at line ends, then at tabs. A table
// starts only at a "%T" line.
QString referenceDump(const QByteArray &content, const QStringList &wanted)
{
    QStringList tables;
    bool inside = false;
    const QList<QByteArray> lines = content.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = decodeLine(line.constData(), line.size());
        const QStringList fields = text.split('\t');
        const QString rest = QStringList(fields.mid(1)).join('|');
        if (fields[0] == "%T") {
            inside = wanted.isEmpty() || wanted.contains(fields.value(1).toUpper());
            if (inside)
                tables << fields.value(1);
        } else if (inside && fields[0] == "%F") {
            tables.last() += " F:" + rest;
        } else if (inside && fields[0] == "%R") {
            tables.last() += " R:" + rest;
        } else if (fields[0] == "ERMHDR") {
            inside = false;
        }
    }
    return tables.join(" / ");
}

QByteArray header() { return QByteArray("ERMHDR\t19.12\t2026-01-05\r\n"); }

// A record "%R\t<filler>\r\n" that makes the next line start at `offset`.
void padTo(QByteArray &content, int offset)
{
    const int filler = offset - content.size() - 5;
    QVERIFY(filler >= 0);
    content += "%R\t" + QByteArray(filler, 'p') + "\r\n";
}

} // namespace

class TestXerFile : public QObject
{
    Q_OBJECT

private slots:
    void readsLines_data();
    void readsLines();
    void sequenceNumbersCountCollectedLines();
    void blockBoundaries_data();
    void blockBoundaries();
    void slicesOutliveTheReader();
    void standaloneLinesSplitAtTabs_data();
    void standaloneLinesSplitAtTabs();
    void progressReportsTenths_data();
    void progressReportsTenths();
    void unopenableFileGivesOpenError_data();
    void unopenableFileGivesOpenError();
    void sampleFilesKeepTheirShape_data();
    void sampleFilesKeepTheirShape();
};

void TestXerFile::readsLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("convention");
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");

    const QStringList task{"TASK"};
    const QByteArray h = header();
    const QByteArray taskTable = "%T\tTASK\r\n%F\ttask_id\ttask_name\r\n%R\t1\tDig\r\n%R\t2\tPour\r\n";
    const QString taskDump = "TASK F:task_id|task_name R:1|Dig R:2|Pour";

    QTest::newRow("empty file") << QByteArray() << 2 << task << 0 << QString();
    QTest::newRow("byte-order mark before header") << "\xEF\xBB\xBF" + h + taskTable << 2 << task << 1 << QString();
    QTest::newRow("blank instead of tab after ERMHDR") << "ERMHDR 19.12\r\n" + taskTable << 2 << task << 1 << QString();
    QTest::newRow("unwanted table contributes nothing")
        << h + "%T\tRSRC\r\n%F\trsrc_id\r\n%R\t9\r\n" + taskTable << 2 << task << 0 << taskDump;
    QTest::newRow("empty wanted list takes every table")
        << h + "%T\tRSRC\r\n%F\trsrc_id\r\n%R\t9\r\n" + taskTable << 2 << QStringList() << 0
        << "RSRC F:rsrc_id R:9 / " + taskDump;
    QTest::newRow("same table twice, in file order")
        << h + taskTable + "%T\tTASK\r\n%F\ttask_id\r\n%R\t3\r\n" << 2 << task << 0
        << taskDump + " / TASK F:task_id R:3";
    QTest::newRow("table name matched in upper case")
        << h + "%T\ttask\r\n%R\t1\r\n" << 2 << task << 0 << "task R:1";
    QTest::newRow("tab before CR LF gives an empty last field")
        << h + "%T\tTASK\r\n%R\t1\t\r\n%R\t\t\r\n" << 2 << task << 0 << "TASK R:1| R:|";
    QTest::newRow("short record keeps its own fields")
        << h + "%T\tTASK\r\n%F\ta\tb\tc\r\n%R\t1\r\n" << 2 << task << 0 << "TASK F:a|b|c R:1";
    QTest::newRow("%T inside a value is text")
        << h + "%T\tTASK\r\n%R\t1\t100%Tested\tx\r\n%R\t2\t%T\tRSRC\r\n%R\t3\r\n" << 2 << task << 0
        << "TASK R:1|100%Tested|x R:2|%T|RSRC R:3";
    QTest::newRow("%E, unknown and empty lines are dropped")
        << h + "%T\tTASK\r\n%X\tno\r\n\r\n%R\t1\r\n%E\r\n" << 2 << task << 0 << "TASK R:1";
    QTest::newRow("ERMHDR line ends the wanted table")
        << h + "%T\tTASK\r\n%R\t1\r\n" + h + "%R\t2\r\n" << 2 << task << 0 << "TASK R:1";
    QTest::newRow("second field line replaces the first")
        << h + "%T\tTASK\r\n%F\ta\r\n%F\tb\r\n%R\t1\r\n" << 2 << task << 0 << "TASK F:b R:1";
    QTest::newRow("unterminated last record is kept")
        << h + "%T\tTASK\r\n%R\t1\tlast" << 2 << task << 0 << "TASK R:1|last";
    QTest::newRow("lone CR is text, lone LF ends the line under CR LF convention")
        << h + "%T\tTASK\r\n%R\ta\rb\tc\n%R\td\r\n" << 2 << task << 0 << "TASK R:a\rb|c R:d";
    QTest::newRow("LF convention drops one CR before LF")
        << QByteArray("ERMHDR\t1\n%T\tTASK\n%R\t1\tx\r\n%R\t2\r\r\n%R\t3\r") << 1 << QStringList() << 0
        << "TASK R:1|x R:2\r R:3";
    QTest::newRow("CR convention keeps LF as text")
        << QByteArray("ERMHDR\t1\r%T\tTASK\r%R\t1\nx\r") << 0 << task << 0 << "TASK R:1\nx";
    QTest::newRow("UTF-8 umlaut keeps the following fields")
        << h + "%T\tTASK\r\n%R\tM\xC3\xBCller\tFa\xC3\xA7" "ade\t3\r\n" << 2 << task << 0
        << QString::fromUtf8("TASK R:Müller|Façade|3");
    QTest::newRow("Windows-1252 accents keep the following fields")
        << h + "%T\tTASK\r\n%R\tM\xFCller\tFa\xE7" "ade \x80\t3\r\n" << 2 << task << 0
        << QString::fromUtf8("TASK R:Müller|Façade €|3");
}

void TestXerFile::readsLines()
{
    QFETCH(QByteArray, content);
    QFETCH(int, convention);
    QFETCH(QStringList, wanted);
    int got = -1;
    QTEST(readAllBlockSizes(content, convention, wanted, &got), "expected");
    QTEST(got, "code");
}

void TestXerFile::sequenceNumbersCountCollectedLines()
{
    QBuffer buffer;
    buffer.setData(header() + "%T\tTASK\r\n%F\ta\r\n%E\r\n%R\t1\r\n%T\tRSRC\r\n%R\tx\r\n%T\tTASK\r\n%R\t2\r\n");
    buffer.open(QIODevice::ReadOnly);
    XERFile file(QString(), 2, {"TASK"});
    QCOMPARE(file.read(&buffer), NoError);

    // The dropped "%E" line is counted; the unwanted table's record is never collected.
    QStringList got;
    for (const XERObject *object : file.objects())
        got << QString("%1:%2").arg(object->sequence()).arg(object->kind());
    QCOMPARE(got.join(' '), QString("0:0 1:1 3:3 4:0 5:0 6:3"));
    QCOMPARE(file.tables().first()->fieldNames()->table(), file.tables().first());
}

void TestXerFile::blockBoundaries_data()
{
    QTest::addColumn<QByteArray>("content");

    QByteArray c = header() + "%T\tTASK\r\n%F\ta\tb\r\n";
    QByteArray straddle = c;
    padTo(straddle, MiB - 6);
    QTest::newRow("record straddles the block boundary") << straddle + "%R\tleft\tright\r\n%R\tz\r\n";

    QByteArray percent = header() + "%T\tRSRC\r\n";
    padTo(percent, MiB - 1);
    QTest::newRow("'%' last byte of a block, 'T' first of the next")
        << percent + "%T\tTASK\r\n%R\tt\r\n";

    QByteArray longLine = c + "%R\t" + QByteArray(MiB * 5 / 2, 'L') + "\tafter\r\n%R\tnext\r\n";
    QTest::newRow("line longer than the buffer") << longLine;

    // Lines of every length and encoding, far more text than one storage
    // block holds, so lines end up on both sides of every block's end.
    QByteArray many = c;
    for (int i = 0; many.size() < 3 * MiB; ++i) {
        many += "%R\t" + QByteArray::number(i) + "\t" + QByteArray(i % 997, char('a' + i % 26));
        many += i % 3 == 0 ? "\tM\xC3\xBCller\r\n" : i % 3 == 1 ? "\tFa\xE7" "ade\r\n" : "\t\r\n";
    }
    QTest::newRow("lines spread over many storage blocks") << many;
}

void TestXerFile::blockBoundaries()
{
    QFETCH(QByteArray, content);
    int code = -1;
    QCOMPARE(readAllBlockSizes(content, 2, {"TASK"}, &code, {MiB}), referenceDump(content, {"TASK"}));
    QCOMPARE(code, int(NoError));
}

void TestXerFile::slicesOutliveTheReader()
{
    QByteArray content = header() + "%T\tTASK\r\n%F\ttask_id\ttask_name\r\n";
    for (int i = 0; i < 20000; ++i)
        content += "%R\t" + QByteArray::number(i) + "\tname\r\n";
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    auto file = std::make_unique<XERFile>(QString(), 2, QStringList{"TASK"});
    QCOMPARE(file->read(&buffer), NoError);
    std::unique_ptr<XERField> names(file->tables().first()->takeFieldNames());
    file.reset();
    QCOMPARE(names->field(2), QLatin1String("task_name"));
    QCOMPARE(names->text(), QStringLiteral("%F\ttask_id\ttask_name"));
}

void TestXerFile::standaloneLinesSplitAtTabs_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QStringLiteral("%R\t1\tDig");
    QTest::newRow("empty fields") << QStringLiteral("%R\t\t\t");
    QTest::newRow("no tab") << QStringLiteral("%E");
    QTest::newRow("tabs beyond 64 Ki characters")
        << "%R\t" + QString(0x10000, 'w') + "\tafter\t" + QString(0x20000, 'x') + "\tend";
}

void TestXerFile::standaloneLinesSplitAtTabs()
{
    QFETCH(QString, text);
    const QStringList expected = text.split('\t');
    const XERRecord record(7, text);
    QCOMPARE(record.fieldCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(record.field(i).toString(), expected.at(i));
    QVERIFY(record.field(expected.size()).isEmpty());
    QCOMPARE(record.text(), text);
}

void TestXerFile::progressReportsTenths_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("blockSize");
    QTest::addColumn<QList<int>>("percents");

    QTest::newRow("empty file reports done") << 0 << 64 << QList<int>{10};
    QTest::newRow("four blocks") << 400 << 100 << QList<int>{2, 5, 7, 10};
}

void TestXerFile::progressReportsTenths()
{
    QFETCH(int, size);
    QFETCH(int, blockSize);
    QByteArray content = size ? header() : QByteArray();
    if (size)
        padTo(content, size);
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    XERFile file(QString(), 2, {});
    file.setBlockSize(blockSize);
    QSignalSpy spy(&file, &XERFile::progress);
    QCOMPARE(file.read(&buffer), NoError);
    QList<int> percents;
    for (const QList<QVariant> &args : spy) {
        percents << args.at(0).toInt();
        QCOMPARE(args.at(1).toString(), QStringLiteral("Read project from file"));
    }
    QTEST(percents, "percents");
}

void TestXerFile::unopenableFileGivesOpenError_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << QDir::temp().filePath("plandeck-no-such-file.xer");
    QTest::newRow("directory") << QDir::tempPath();
}

void TestXerFile::unopenableFileGivesOpenError()
{
    QFETCH(QString, path);
    XERFile file(path, 2, {});
    QCOMPARE(file.read(), FileOpenError);
    QVERIFY(file.tables().isEmpty());
}

void TestXerFile::sampleFilesKeepTheirShape_data()
{
    QTest::addColumn<QString>("path");
    const QDir samples(PLANDECK_SAMPLES_DIR);
    const QStringList names = samples.entryList({"*.crlf.xer"}, QDir::Files);
    if (names.isEmpty())
        QSKIP("no sample files");
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << samples.filePath(name);
}

void TestXerFile::sampleFilesKeepTheirShape()
{
    QFETCH(QString, path);
    const QStringList catalogued{"PROJWBS", "TASK", "TASKPRED", "RSRC", "TASKRSRC",
                                 "ACTVTYPE", "ACTVCODE", "TASKACTV", "UDFTYPE", "UDFVALUE"};
    for (const QStringList &wanted : {catalogued, QStringList()}) {
        XERFile crlf(path, 2, wanted);
        QCOMPARE(crlf.read(), NoError);
        QVERIFY(!crlf.tables().isEmpty());
        for (const XERTable *table : crlf.tables()) {
            QVERIFY2(table->fieldNames(), qPrintable(table->name()));
            for (const XERRecord *record : table->records()) {
                QCOMPARE(record->field(0), QLatin1String("%R"));
                QVERIFY(!record->text().contains('\n') && !record->text().contains(QChar::ReplacementCharacter));
            }
        }
        // Same result from the LF twin, from tiny blocks, and from the plain model.
        QString lfPath = path;
        XERFile lf(lfPath.replace(".crlf.xer", ".lf.xer"), 1, wanted);
        QCOMPARE(lf.read(), NoError);
        QCOMPARE(dump(lf), dump(crlf));
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray bytes = raw.readAll();
        int code = -1;
        QCOMPARE(readAllBlockSizes(bytes, 2, wanted, &code, {MiB, 13, 4099}), dump(crlf));
        QCOMPARE(referenceDump(bytes, wanted), dump(crlf));
    }
}

QTEST_GUILESS_MAIN(TestXerFile)
#include "tst_xerfile.moc"
