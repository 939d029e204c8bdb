#pragma once

#include <QExplicitlySharedDataPointer>
#include <QString>
#include <QStringRef>
#include <QVector>

namespace xer {

class XERTextBlock;

// One parsed line of an XER file. The reader stores many lines back to back
// in one shared text block, so a large table costs neither a string nor an
// allocation per line or per field; every field is handed out as a slice
// into that block.
class XERObject
{
public:
    enum Kind : qint32 { Table = 0, FieldNames = 1, Header = 2, Record = 3 };

    virtual ~XERObject();

    // The slice of field `index`; an index outside the line gives an empty
    // slice, so short records read as if the missing fields were empty.
    // The slice stays valid for the life of this object.
    virtual QStringRef field(int index) const;

    int fieldCount() const { return m_fieldCount; }
    QVector<QStringRef> fields() const;

    qint32 sequence() const { return m_sequence; }
    qint32 kind() const { return m_kind; }
    // A copy of the line without its terminator.
    QString text() const;

    // Where a line already stored in a block lies (made by the reader).
    struct Place
    {
        XERTextBlock *block;
        int textAt;
        int size;
        int tabsAt;
        int tabCount;
    };

protected:
    // `text` is the line without its terminator. When the caller already
    // knows where the tabs are (`tabs`, `tabCount` >= 0) they are taken as
    // given; otherwise the text is scanned.
    XERObject(Kind kind, qint32 sequence, QString text, const int *tabs = nullptr, int tabCount = -1);
    XERObject(Kind kind, qint32 sequence, const Place &place);

private:
    Q_DISABLE_COPY(XERObject)

    int tabAt(int index) const;

    // Shared by every line of the block; the block goes when its last line
    // does, so slices stay valid however the objects are handed around.
    QExplicitlySharedDataPointer<XERTextBlock> m_block;
    int m_textAt = 0;
    int m_size = 0;
    int m_tabsAt = 0;
    int m_fieldCount = 0;
    qint32 m_sequence = 0;
    qint8 m_kind = Record;
    // A line of 64 Ki characters or more keeps each tab position as a low
    // and a high half.
    bool m_wideTabs = false;
};

} // namespace xer
