#pragma once

#include "xerobject.h"

#include <QSharedData>
#include <QString>

namespace xer {

// Storage shared by many lines: their texts back to back (without
// terminators) in one string, and their tab positions in one array. A block
// is filled once, from the front, and then only read; the lines refer to it
// by offset, so neither array may move under them while it is filled.
class XERTextBlock : public QSharedData
{
public:
    // Room for `capacity` characters.
    explicit XERTextBlock(int capacity);
    // A block whose room is filled with `text` already; addLine() takes it.
    explicit XERTextBlock(QString text);
    ~XERTextBlock();

    const QString &text() const { return m_text; }
    const quint16 *tabs() const { return m_tabs; }

    // Characters that still fit.
    int room() const { return m_text.size() - m_used; }
    // Where the next line's `room()` characters may be written.
    ushort *nextLine() { return reinterpret_cast<ushort *>(m_text.data()) + m_used; }
    // Takes the `size` characters written at nextLine() as a line with the
    // given tabs (positions within the line).
    XERObject::Place addLine(int size, const int *tabs, int tabCount);
    // Drops the unused room; nothing may be added afterwards.
    void close();

private:
    Q_DISABLE_COPY(XERTextBlock)

    QString m_text;
    // Grown and finally shrunk with realloc(), which shrinks in place.
    quint16 *m_tabs = nullptr;
    int m_tabCount = 0;
    int m_tabCapacity = 0;
    int m_used = 0;
};

} // namespace xer
