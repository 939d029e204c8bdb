#include "xerobject.h"

#include "xertext.h"
#include "xertextblock.h"

#include <vector>

namespace xer {

XERObject::XERObject(Kind kind, qint32 sequence, QString text, const int *tabs, int tabCount)
    : m_sequence(sequence)
    , m_kind(qint8(kind))
{
    std::vector<int> found;
    if (tabCount < 0) {
        findTabs(text, found);
        tabs = found.data();
        tabCount = int(found.size());
    }
    const int size = text.size();
    auto *block = new XERTextBlock(std::move(text));
    m_block = block;
    const Place place = block->addLine(size, tabs, tabCount);
    m_size = size;
    m_tabsAt = place.tabsAt;
    m_fieldCount = tabCount + 1;
    m_wideTabs = size > 0xFFFF;
}

XERObject::XERObject(Kind kind, qint32 sequence, const Place &place)
    : m_block(place.block)
    , m_textAt(place.textAt)
    , m_size(place.size)
    , m_tabsAt(place.tabsAt)
    , m_fieldCount(place.tabCount + 1)
    , m_sequence(sequence)
    , m_kind(qint8(kind))
    , m_wideTabs(place.size > 0xFFFF)
{
}

XERObject::~XERObject() = default;

int XERObject::tabAt(int index) const
{
    const quint16 *tabs = m_block->tabs() + m_tabsAt;
    return m_wideTabs ? int(tabs[2 * index]) | int(tabs[2 * index + 1]) << 16 : int(tabs[index]);
}

QStringRef XERObject::field(int index) const
{
    if (index < 0 || index >= m_fieldCount)
        return QStringRef();
    const int begin = index == 0 ? 0 : tabAt(index - 1) + 1;
    const int end = index == m_fieldCount - 1 ? m_size : tabAt(index);
    return QStringRef(&m_block->text(), m_textAt + begin, end - begin);
}

QVector<QStringRef> XERObject::fields() const
{
    QVector<QStringRef> result;
    result.reserve(m_fieldCount);
    for (int i = 0; i < m_fieldCount; ++i)
        result.append(field(i));
    return result;
}

QString XERObject::text() const
{
    return m_block->text().mid(m_textAt, m_size);
}

} // namespace xer
