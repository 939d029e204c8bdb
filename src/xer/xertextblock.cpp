#include "xertextblock.h"

namespace xer {

XERTextBlock::XERTextBlock(int capacity)
    : m_text(capacity, Qt::Uninitialized)
{
}

XERTextBlock::XERTextBlock(QString text)
    : m_text(std::move(text))
{
}

XERObject::Place XERTextBlock::addLine(int size, const int *tabs, int tabCount)
{
    const XERObject::Place place{this, m_used, size, int(m_tabs.size()), tabCount};
    if (size > 0xFFFF) {
        for (int i = 0; i < tabCount; ++i) {
            m_tabs.push_back(quint16(tabs[i] & 0xFFFF));
            m_tabs.push_back(quint16(unsigned(tabs[i]) >> 16));
        }
    } else {
        for (int i = 0; i < tabCount; ++i)
            m_tabs.push_back(quint16(tabs[i]));
    }
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
    m_tabs.shrink_to_fit();
}

} // namespace xer
