// libFuzzer entry for the XER reader. The first input byte picks the line-end
// convention, the block size and the wanted tables; the rest is the file. The
// result of small blocks must equal the result of one large block, which
// turns every block-boundary slip into a crash the fuzzer can see.

#include "xerfile.h"
#include "xertext.h"

#include <QBuffer>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

QString dump(const xer::XERFile &file)
{
    QString text;
    for (const xer::XERTable *table : file.tables()) {
        text += table->text() + '\n';
        if (const xer::XERField *names = table->fieldNames()) {
            if (names->table() != table)
                std::abort();
            text += names->text() + '\n';
        }
        for (const xer::XERRecord *record : table->records()) {
            if (record->field(0) != QLatin1String("%R") || !record->field(record->fieldCount()).isNull())
                std::abort();
            QStringList fields;
            for (const QStringRef &field : record->fields())
                fields << field.toString();
            if (fields.join(QLatin1Char('\t')) != record->text())
                std::abort();
            text += record->text() + '\n';
        }
    }
    qint32 previous = -1;
    for (const xer::XERObject *object : file.objects()) {
        if (object->sequence() <= previous)
            std::abort();
        previous = object->sequence();
    }
    return text;
}

// The line decoder against Qt's own, with the input taken as one line.
void checkDecoder(const QByteArray &bytes)
{
    QString expected;
    if (xer::isAscii(bytes.constData(), bytes.size()))
        expected = QString::fromLatin1(bytes.constData(), bytes.size());
    else if (xer::isValidUtf8(bytes.constData(), bytes.size()))
        expected = QString::fromUtf8(bytes.constData(), bytes.size());
    else
        expected = xer::fromWindows1252(bytes.constData(), bytes.size());
    // Exactly the room the reader gives a line, so a write past it is seen.
    std::vector<ushort> out(std::size_t(bytes.size()));
    std::vector<int> tabs;
    const int size = xer::decodeLine(bytes.constData(), bytes.size(), out.data(), tabs);
    if (QString(reinterpret_cast<const QChar *>(out.data()), size) != expected)
        std::abort();
    std::size_t next = 0;
    for (int i = 0; i < expected.size(); ++i) {
        if (expected.at(i) == QLatin1Char('\t') && (next >= tabs.size() || tabs[next++] != i))
            std::abort();
    }
    if (next != tabs.size())
        std::abort();
}

QString readWith(const QByteArray &content, int convention, const QStringList &wanted, int blockSize, int *code)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    xer::XERFile file(QString(), convention, wanted);
    file.setBlockSize(blockSize);
    *code = file.read(&buffer);
    return dump(file);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(dropMessages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t control = data[0];
    const QByteArray content(reinterpret_cast<const char *>(data + 1), int(size - 1));
    const int convention = control % 3;
    const int blockSize = 1 + (control >> 2) % 17;
    const QStringList wanted = (control & 0x80) ? QStringList() : QStringList{QStringLiteral("TASK")};

    checkDecoder(content);

    int largeCode = -1;
    int smallCode = -1;
    // Larger than any input the fuzzer is run with, so this is one block.
    const QString large = readWith(content, convention, wanted, 1 << 16, &largeCode);
    const QString small = readWith(content, convention, wanted, blockSize, &smallCode);
    if (large != small || largeCode != smallCode)
        std::abort();
    return 0;
}
