#pragma once

#include <QString>
#include <QStringRef>
#include <QVector>

#include <memory>

namespace xer {

// One parsed line of an XER file. The line text is held once; every field is
// handed out as a slice into it, so reading a large table makes no string per
// field.
class XERObject
{
public:
    enum Kind : qint32 { Table = 0, FieldNames = 1, Header = 2, Record = 3 };

    virtual ~XERObject();

    // The slice of field `index`; an index outside the line gives an empty
    // slice, so short records read as if the missing fields were empty.
    virtual QStringRef field(int index) const;

    int fieldCount() const { return m_fieldCount; }
    QVector<QStringRef> fields() const;

    qint32 sequence() const { return m_sequence; }
    qint32 kind() const { return m_kind; }
    const QString &text() const { return m_text; }

protected:
    // `text` is the line without its terminator. When the caller already
    // knows where the tabs are (`tabs`, `tabCount` >= 0) they are taken as
    // given; otherwise the text is scanned.
    XERObject(Kind kind, qint32 sequence, QString text, const int *tabs = nullptr, int tabCount = -1);

private:
    Q_DISABLE_COPY(XERObject)

    int tabAt(int index) const
    {
        return m_wideTabs ? int(m_tabs[2 * index]) | int(m_tabs[2 * index + 1]) << 16 : int(m_tabs[index]);
    }

    // Slices are made on demand from the tab positions, so they always point
    // at m_text of a live object; the object is neither copied nor moved.
    QString m_text;
    // Tab positions, two bytes each: most lines are short, so wider
    // positions would be a fair share of a table's memory. A line of 64 Ki
    // characters or more keeps each position as a low and a high half.
    std::unique_ptr<quint16[]> m_tabs;
    int m_fieldCount = 0;
    qint32 m_sequence = 0;
    qint32 m_kind = Record;
    bool m_wideTabs = false;
};

} // namespace xer
