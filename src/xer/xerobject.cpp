#include "xerobject.h"

#include <cstring>

namespace xer {

XERObject::XERObject(Kind kind, qint32 sequence, QString text, const int *tabs, int tabCount)
    : m_text(std::move(text))
    , m_sequence(sequence)
    , m_kind(kind)
{
    if (tabCount < 0) {
        const QChar *chars = m_text.constData();
        const int size = m_text.size();
        tabCount = 0;
        for (int i = 0; i < size; ++i)
            tabCount += chars[i] == QLatin1Char('\t');
        if (tabCount > 0) {
            m_tabs.reset(new int[tabCount]);
            int n = 0;
            for (int i = 0; i < size; ++i) {
                if (chars[i] == QLatin1Char('\t'))
                    m_tabs[n++] = i;
            }
        }
    } else if (tabCount > 0) {
        m_tabs.reset(new int[tabCount]);
        std::memcpy(m_tabs.get(), tabs, sizeof(int) * size_t(tabCount));
    }
    m_fieldCount = tabCount + 1;
}

XERObject::~XERObject() = default;

QStringRef XERObject::field(int index) const
{
    if (index < 0 || index >= m_fieldCount)
        return QStringRef();
    const int begin = index == 0 ? 0 : m_tabs[index - 1] + 1;
    const int end = index == m_fieldCount - 1 ? m_text.size() : m_tabs[index];
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
