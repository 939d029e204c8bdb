#pragma once

#include "xerfield.h"
#include "xerheader.h"
#include "xerobject.h"
#include "xerrecordsink.h"
#include "xerrecord.h"
#include "xertable.h"

#include <QExplicitlySharedDataPointer>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <memory>
#include <vector>

class QIODevice;

namespace xer {

enum ErrorCode {
    NoError = 0,       // the whole file was scanned (also an empty one)
    InvalidFormat = 1, // the file does not begin with "ERMHDR" and a tab
    FileOpenError = 2, // the file cannot be opened, or reading it failed
    Cancelled = 3,     // the read was cancelled before it ended
};

// Reads an XER file into tables of field-name lines and records. Only the
// tables asked for are decoded; the bytes of every other table are passed
// over, which is what keeps large files with many unwanted tables fast.
class XERFile : public QObject
{
    Q_OBJECT

public:
    enum LineEnd { CarriageReturn = 0, LineFeed = 1, CarriageReturnLineFeed = 2 };
    static constexpr int DefaultBlockSize = 0x100000;

    // `lineEndConvention`: 0 CR alone ends a line; under 1 and 2 LF ends a
    // line and one CR before it is dropped, so LF and CR LF may be mixed.
    // `wantedTables`: table names (upper case); empty means every table.
    XERFile(const QString &fileName, int lineEndConvention, const QStringList &wantedTables,
            QObject *parent = nullptr);
    ~XERFile() override;

    // Scans the file once, synchronously, in the calling thread.
    ErrorCode read();
    // Same, from a device that is already open for reading.
    ErrorCode read(QIODevice *device);

    // Makes a running read() stop after its current block with Cancelled.
    // `flag` is owned by the caller and may be set from any thread.
    void setCancelFlag(const std::atomic<bool> *flag) { m_cancel = flag; }

    // Hands the records of the tables `sink` chooses to it rather than
    // keeping them. `sink` is not owned and must outlive read().
    void setRecordSink(XERRecordSink *sink) { m_sink = sink; }

    // The wanted tables found, in file order; a repeated name appears again.
    const QList<XERTable *> &tables() const { return m_tables; }
    // Every object made, in the order made.
    const QVector<XERObject *> &objects() const { return m_objects; }

    // Whether the file's last line is the "%E" end marker; a file without
    // it was probably cut short. Valid after read().
    bool endsWithEndMarker() const { return m_endMarker; }

    QString fileName() const { return m_fileName; }
    int lineEndConvention() const { return m_lineEnd; }
    QStringList wantedTables() const { return m_wanted; }

    // The size of the read buffer; 1 MiB unless changed before read().
    int blockSize() const { return m_blockSize; }
    void setBlockSize(int bytes);

signals:
    void progress(int percent, const QString &text);

private:
    ErrorCode scan(QIODevice &device);
    void clear();
    void completeLine(const char *data, int size);
    ushort *roomForLine(int size);
    void closeBlock();

    QString m_fileName;
    int m_lineEnd = CarriageReturnLineFeed;
    QStringList m_wanted;
    QSet<QString> m_wantedSet;
    int m_blockSize = DefaultBlockSize;

    QVector<XERObject *> m_objects;
    QList<XERTable *> m_tables;
    // Objects no wanted table owns: unwanted tables, headers and replaced
    // field-name lines. They stay valid as long as objects() lists them.
    std::vector<std::unique_ptr<XERObject>> m_unowned;
    const std::atomic<bool> *m_cancel = nullptr;
    XERRecordSink *m_sink = nullptr;
    bool m_insideWantedTable = false;
    // The records of the current table go to the sink.
    bool m_streaming = false;
    bool m_endMarker = false;
    qint32 m_sequence = 0;
    std::vector<int> m_tabScratch;
    // The block the next lines go to, and the size of a fresh one.
    QExplicitlySharedDataPointer<XERTextBlock> m_block;
    int m_blockChars = 0;
};

} // namespace xer
