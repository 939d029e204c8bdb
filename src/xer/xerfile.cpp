#include "xerfile.h"

#include "xertext.h"
#include "xertextblock.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QLoggingCategory>

#include <cstring>

// Timed start/stop lines; QT_LOGGING_RULES="plandeck.timing.*=false" silences them.
Q_LOGGING_CATEGORY(lcXerTiming, "plandeck.timing.xer", QtInfoMsg)

namespace xer {

namespace {

const char kHeader[] = "ERMHDR\t";
const int kHeaderSize = 7;

// A line longer than this cannot be held as one string; it is dropped
// instead of failing the whole read.
const int kMaxLineBytes = 256 * 1024 * 1024;

const int kMaxBlockSize = 64 * 1024 * 1024;

// Characters per text block: large enough that a block's own cost and the
// room left at its end are small against its lines, small enough that the
// last, partly filled block of a read costs little.
const int kTextBlockChars = 512 * 1024;

QString progressText()
{
    return QStringLiteral("Read project from file");
}

int percentRead(qint64 done, qint64 total)
{
    if (total <= 0)
        return 10;
    return int(qMin<qint64>(10, 10 * done / total));
}

// The state of the byte scan that outlives one block.
struct LineScan
{
    bool atLineStart = true;   // the next byte is the first of a line
    bool collecting = false;   // the current line is being kept
    bool pendingPercent = false; // a line began with '%' as the block's last byte
    QByteArray carry;          // kept bytes of a line that began in an earlier block
    QByteArray tail;           // the last bytes read
};

const int kTailBytes = 64;

bool lastLineIsEndMarker(QByteArray tail)
{
    while (!tail.isEmpty() && (tail.endsWith('\n') || tail.endsWith('\r') || tail.endsWith(' ') || tail.endsWith('\t')))
        tail.chop(1);
    const int lineStart = qMax(tail.lastIndexOf('\n'), tail.lastIndexOf('\r')) + 1;
    const QByteArray line = tail.mid(lineStart);
    return line == "%E" || line.startsWith("%E\t");
}

} // namespace

XERFile::XERFile(const QString &fileName, int lineEndConvention, const QStringList &wantedTables,
                 QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_lineEnd(lineEndConvention)
{
    // Names are matched upper case; taking the caller's list in upper case
    // too means "task" cannot silently match nothing.
    m_wanted.reserve(wantedTables.size());
    for (const QString &name : wantedTables) {
        m_wanted.append(name.toUpper());
        m_wantedSet.insert(m_wanted.last());
    }
}

XERFile::~XERFile()
{
    clear();
}

void XERFile::setBlockSize(int bytes)
{
    m_blockSize = qBound(1, bytes, kMaxBlockSize);
}

void XERFile::clear()
{
    qDeleteAll(m_tables);
    m_tables.clear();
    m_unowned.clear();
    m_objects.clear();
    m_block.reset();
    m_insideWantedTable = false;
    m_streaming = false;
    m_endMarker = false;
    m_sequence = 0;
}

ErrorCode XERFile::read()
{
    qCInfo(lcXerTiming).noquote().nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();

    QFile file(m_fileName);
    // A FIFO or a device would block the open or the reads for good.
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile()) {
        clear();
        qWarning().noquote() << "XERFile::read" << m_fileName << "is not a regular file";
        qInfo().noquote().nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
        return FileOpenError;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        clear();
        qWarning().noquote() << "XERFile::read cannot open" << m_fileName << ":" << file.errorString();
        qCInfo(lcXerTiming).noquote().nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
        return FileOpenError;
    }
    const ErrorCode result = scan(file);
    file.close();
    qCInfo(lcXerTiming).noquote().nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
    return result;
}

ErrorCode XERFile::read(QIODevice *device)
{
    qCInfo(lcXerTiming).noquote().nospace() << Q_FUNC_INFO << " start";
    QElapsedTimer timer;
    timer.start();

    ErrorCode result = FileOpenError;
    if (!device || !device->isReadable()) {
        clear();
        qWarning().noquote() << "XERFile::read device not readable";
    } else {
        result = scan(*device);
    }
    qCInfo(lcXerTiming).noquote().nospace() << Q_FUNC_INFO << " stop: " << timer.elapsed();
    return result;
}

ErrorCode XERFile::scan(QIODevice &device)
{
    clear();

    const qint64 total = device.isSequential() ? 0 : device.size() - device.pos();
    // A file never decodes to more characters than it has bytes.
    m_blockChars = total > 0 ? int(qMin<qint64>(kTextBlockChars, total)) : kTextBlockChars;
    // LF ends a line under both LF and CR LF, and one CR before it is
    // dropped: files whose line ends change part-way (concatenated, or
    // edited by hand) are read whole instead of losing every line after the
    // change. Only the old CR-alone convention looks for CR.
    const char terminator = m_lineEnd == CarriageReturn ? '\r' : '\n';
    const bool dropsCarriageReturn = m_lineEnd != CarriageReturn;
    // The length of a completed line without its terminator.
    auto contentSize = [&](const char *line, int sizeWithTerminator) {
        int size = sizeWithTerminator - 1;
        if (dropsCarriageReturn && size > 0 && line[size - 1] == '\r')
            --size;
        return size;
    };

    std::unique_ptr<char[]> buffer(new char[size_t(m_blockSize)]());
    LineScan scan;
    qint64 done = 0;
    int headerChecked = 0;

    for (;;) {
        if (m_cancel && m_cancel->load(std::memory_order_relaxed)) {
            clear();
            return Cancelled;
        }
        const qint64 got = device.read(buffer.get(), m_blockSize);
        if (got < 0) {
            qWarning().noquote() << "XERFile::read failed reading" << m_fileName << ":" << device.errorString();
            clear();
            return FileOpenError;
        }
        if (got == 0)
            break;
        const char *data = buffer.get();
        const int size = int(got);

        for (int i = 0; headerChecked < kHeaderSize && i < size; ++i, ++headerChecked) {
            if (data[i] != kHeader[headerChecked]) {
                clear();
                return InvalidFormat;
            }
        }

        int lineBegin = 0;
        int i = 0;
        if (scan.pendingPercent) {
            scan.pendingPercent = false;
            if (data[0] == 'T') {
                scan.collecting = true;
                scan.carry.append('%');
            }
        }
        while (i < size) {
            if (scan.atLineStart) {
                // A table can only start at the start of a line: a "%T"
                // inside a value is text, not a new table.
                scan.atLineStart = false;
                if (m_insideWantedTable) {
                    scan.collecting = true;
                    lineBegin = i;
                } else if (data[i] == '%') {
                    if (i + 1 == size) {
                        scan.pendingPercent = true;
                        break;
                    }
                    if (data[i + 1] == 'T') {
                        scan.collecting = true;
                        lineBegin = i;
                    }
                }
            }
            const void *hit = std::memchr(data + i, terminator, size_t(size - i));
            const int end = hit ? int(static_cast<const char *>(hit) - data) + 1 : -1;
            if (end < 0) {
                if (scan.collecting) {
                    if (scan.carry.size() + (size - lineBegin) > kMaxLineBytes) {
                        qWarning().noquote() << "XERFile::read dropped a line longer than" << kMaxLineBytes
                                             << "bytes in" << m_fileName;
                        ++m_sequence;
                        scan.collecting = false;
                        scan.carry = QByteArray();
                    } else {
                        scan.carry.append(data + lineBegin, size - lineBegin);
                    }
                }
                break;
            }
            if (scan.collecting) {
                if (scan.carry.isEmpty()) {
                    completeLine(data + lineBegin, contentSize(data + lineBegin, end - lineBegin));
                } else {
                    scan.carry.append(data + lineBegin, end - lineBegin);
                    completeLine(scan.carry.constData(), contentSize(scan.carry.constData(), scan.carry.size()));
                    scan.carry = QByteArray();
                }
                scan.collecting = false;
            }
            scan.atLineStart = true;
            i = end;
        }

        // The end marker is a short last line, so the file's last bytes
        // are enough to find it.
        scan.tail.append(data + qMax(0, size - kTailBytes), qMin(size, kTailBytes));
        if (scan.tail.size() > kTailBytes)
            scan.tail.remove(0, scan.tail.size() - kTailBytes);

        done += got;
        emit progress(percentRead(done, total), progressText());
    }

    if (done == 0) {
        emit progress(10, progressText());
        return NoError;
    }
    if (headerChecked < kHeaderSize) {
        clear();
        return InvalidFormat;
    }
    // A last line without its terminator still holds data (a file cut short,
    // or saved without the final line end); keep it rather than lose it.
    m_endMarker = lastLineIsEndMarker(scan.tail);
    if (scan.collecting)
        completeLine(scan.carry.constData(), contentSize(scan.carry.constData(), scan.carry.size() + 1));
    closeBlock();
    return NoError;
}

ushort *XERFile::roomForLine(int size)
{
    if (!m_block || m_block->room() < size) {
        closeBlock();
        m_block = new XERTextBlock(qMax(size, m_blockChars));
    }
    return m_block->nextLine();
}

void XERFile::closeBlock()
{
    if (m_block)
        m_block->close();
    m_block.reset();
}

void XERFile::completeLine(const char *data, int size)
{
    const qint32 sequence = m_sequence++;

    const void *firstTab = std::memchr(data, '\t', size_t(size));
    const int markerSize = firstTab ? int(static_cast<const char *>(firstTab) - data) : size;
    XERObject::Kind kind;
    if (markerSize == 2 && data[0] == '%' && data[1] == 'T')
        kind = XERObject::Table;
    else if (markerSize == 2 && data[0] == '%' && data[1] == 'F')
        kind = XERObject::FieldNames;
    else if (markerSize == 2 && data[0] == '%' && data[1] == 'R')
        kind = XERObject::Record;
    else if (markerSize == 6 && std::memcmp(data, "ERMHDR", 6) == 0)
        kind = XERObject::Header;
    else
        return;

    if ((kind == XERObject::FieldNames || kind == XERObject::Record) && m_tables.isEmpty())
        return;
    if (kind == XERObject::Record && m_streaming) {
        m_sink->record(*m_tables.last(), data, size);
        return;
    }

    const int length = decodeLine(data, size, roomForLine(size), m_tabScratch);
    const XERObject::Place place = m_block->addLine(length, m_tabScratch.data(), int(m_tabScratch.size()));

    switch (kind) {
    case XERObject::Table: {
        auto *table = new XERTable(sequence, place);
        m_objects.append(table);
        const bool wanted = m_wantedSet.isEmpty() || m_wantedSet.contains(table->field(1).toString().toUpper());
        if (wanted)
            m_tables.append(table);
        else
            m_unowned.emplace_back(table);
        m_insideWantedTable = wanted;
        m_streaming = wanted && m_sink && m_sink->streams(*table);
        break;
    }
    case XERObject::FieldNames: {
        auto *fieldNames = new XERField(sequence, place);
        m_objects.append(fieldNames);
        XERTable *table = m_tables.last();
        if (XERField *replaced = table->takeFieldNames())
            m_unowned.emplace_back(replaced);
        table->setFieldNames(fieldNames);
        break;
    }
    case XERObject::Header: {
        auto *header = new XERHeader(sequence, place);
        m_objects.append(header);
        m_unowned.emplace_back(header);
        m_insideWantedTable = false;
        m_streaming = false;
        break;
    }
    case XERObject::Record: {
        auto *record = new XERRecord(sequence, place);
        m_objects.append(record);
        m_tables.last()->appendRecord(record);
        break;
    }
    }
}

} // namespace xer
