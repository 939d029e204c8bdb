#include "xerobject.h"

#include "xertext.h"

#include <vector>

namespace xer {

XERObject::XERObject(Kind kind, qint32 sequence, QString text, const int *tabs, int tabCount)
    : m_text(std::move(text))
    , m_sequence(sequence)
    , m_kind(kind)
{
    std::vector<int> found;
    if (tabCount < 0) {
        findTabs(m_text, found);
        tabs = found.data();
        tabCount = int(found.size());
    }
    m_fieldCount = tabCount + 1;
    if (tabCount == 0)
        return;
    m_wideTabs = m_text.size() > 0xFFFF;
    if (m_wideTabs) {
        m_tabs.reset(new quint16[2 * size_t(tabCount)]);
        for (int i = 0; i < tabCount; ++i) {
            m_tabs[2 * i] = quint16(tabs[i] & 0xFFFF);
            m_tabs[2 * i + 1] = quint16(unsigned(tabs[i]) >> 16);
        }
    } else {
        m_tabs.reset(new quint16[size_t(tabCount)]);
        for (int i = 0; i < tabCount; ++i)
            m_tabs[i] = quint16(tabs[i]);
    }
}

XERObject::~XERObject() = default;

QStringRef XERObject::field(int index) const
{
    if (index < 0 || index >= m_fieldCount)
        return QStringRef();
    const int begin = index == 0 ? 0 : tabAt(index - 1) + 1;
    const int end = index == m_fieldCount - 1 ? m_text.size() : tabAt(index);
    return QStringRef(&m_text, begin, end - begin);
}

QVector<QStringRef> XERObject::fields() const
{
    QVector<QStringRef> result;
    result.reserve(m_fieldCount);
    for (int i = 0; i < m_fieldCount; ++i)
        result.append(field(i));
    return result;
}

} // namespace xer
