#include "xertextblock.h"

#include <cstdlib>

namespace xer {

namespace {

quint16 *resized(quint16 *tabs, int count)
{
    auto *moved = static_cast<quint16 *>(std::realloc(tabs, std::size_t(qMax(count, 1)) * sizeof(quint16)));
    Q_CHECK_PTR(moved);
    return moved;
}

} // namespace

XERTextBlock::XERTextBlock(int capacity)
    : m_text(capacity, Qt::Uninitialized)
{
}

XERTextBlock::XERTextBlock(QString text)
    : m_text(std::move(text))
{
}

XERTextBlock::~XERTextBlock()
{
    std::free(m_tabs);
}

XERObject::Place XERTextBlock::addLine(int size, const int *tabs, int tabCount)
{
    const XERObject::Place place{this, m_used, size, m_tabCount, tabCount};
    const bool wide = size > 0xFFFF;
    const int needed = m_tabCount + (wide ? 2 * tabCount : tabCount);
    if (needed > m_tabCapacity) {
        // About one tab in eight characters is usual; start there.
        m_tabCapacity = qMax(needed, qMax(2 * m_tabCapacity, m_text.size() / 8));
        m_tabs = resized(m_tabs, m_tabCapacity);
    }
    quint16 *out = m_tabs + m_tabCount;
    if (wide) {
        for (int i = 0; i < tabCount; ++i) {
            *out++ = quint16(tabs[i] & 0xFFFF);
            *out++ = quint16(unsigned(tabs[i]) >> 16);
        }
    } else {
        for (int i = 0; i < tabCount; ++i)
            *out++ = quint16(tabs[i]);
    }
    m_tabCount = needed;
    m_used += size;
    return place;
}

void XERTextBlock::close()
{
    // Shrinking only moves the end; the copy of squeeze() is worth it only
    // when much of the room went unused (a small file, or the last block).
    const bool squeeze = room() > m_text.size() / 16;
    m_text.resize(m_used);
    if (squeeze)
        m_text.squeeze();
    if (m_tabCapacity > m_tabCount) {
        m_tabs = resized(m_tabs, m_tabCount);
        m_tabCapacity = m_tabCount;
    }
}

} // namespace xer
