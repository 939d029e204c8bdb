#include "containercolumn.h"

#include <algorithm>

namespace {

// After the kind check a valid value holds exactly the column's type, so it
// is read in place rather than through QVariant's conversions.
template<typename T>
const T &held(const QVariant &value)
{
    return *static_cast<const T *>(value.constData());
}

} // namespace

ContainerColumn::Kind ContainerColumn::kindOf(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::Int:
        return Kind::Int;
    case QMetaType::Double:
        return Kind::Double;
    case QMetaType::QString:
        return Kind::String;
    case QMetaType::QDateTime:
        return Kind::DateTime;
    default:
        return Kind::Variant;
    }
}

void ContainerColumn::reserve(int rows)
{
    m_reserved = rows;
    m_valid.reserve(std::size_t(rows));
    switch (m_kind) {
    case Kind::Int:
        m_ints.reserve(std::size_t(rows));
        break;
    case Kind::Double:
        m_doubles.reserve(std::size_t(rows));
        break;
    case Kind::String:
        m_strings.reserve(std::size_t(rows));
        break;
    case Kind::DateTime:
        m_dateTimes.reserve(std::size_t(rows));
        break;
    case Kind::Variant:
        m_variants.reserve(std::size_t(rows));
        break;
    case Kind::None:
        break;
    }
}

// Moves the stored cells into the storage of `kind`: from nothing to a typed
// vector, or from a typed vector to plain QVariants.
void ContainerColumn::adopt(Kind kind)
{
    const std::size_t rows = std::size_t(m_size);
    const std::size_t capacity = std::max(rows, std::size_t(m_reserved));
    if (kind == Kind::Variant) {
        std::vector<QVariant> variants;
        variants.reserve(capacity);
        for (int r = 0; r < m_size; ++r)
            variants.push_back(at(r));
        m_ints = {};
        m_doubles = {};
        m_strings = {};
        m_dateTimes = {};
        m_variants.swap(variants);
    } else {
        auto prepare = [rows, capacity](auto &cells) {
            cells.reserve(capacity);
            cells.resize(rows);
        };
        switch (kind) {
        case Kind::Int:
            prepare(m_ints);
            break;
        case Kind::Double:
            prepare(m_doubles);
            break;
        case Kind::String:
            prepare(m_strings);
            break;
        case Kind::DateTime:
            prepare(m_dateTimes);
            break;
        case Kind::None:
        case Kind::Variant:
            break;
        }
    }
    m_kind = kind;
}

void ContainerColumn::append(const QVariant &value)
{
    const bool valid = value.isValid();
    if (valid && m_kind != Kind::Variant) {
        const Kind kind = kindOf(value);
        if (m_kind == Kind::None)
            adopt(kind);
        else if (kind != m_kind)
            adopt(Kind::Variant);
    }
    m_valid.push_back(valid);
    switch (m_kind) {
    case Kind::Int:
        m_ints.push_back(valid ? held<int>(value) : 0);
        break;
    case Kind::Double:
        m_doubles.push_back(valid ? held<double>(value) : 0.0);
        break;
    case Kind::String:
        m_strings.push_back(valid ? held<QString>(value) : QString());
        break;
    case Kind::DateTime:
        m_dateTimes.push_back(valid ? held<QDateTime>(value) : QDateTime());
        break;
    case Kind::Variant:
        m_variants.push_back(value);
        break;
    case Kind::None:
        break;
    }
    ++m_size;
}

// Prepares the storage for one more valid value of `kind`; false when the
// column holds plain QVariants, so the caller appends a QVariant instead.
bool ContainerColumn::accepts(Kind kind)
{
    if (m_kind == Kind::None)
        adopt(kind);
    else if (m_kind != kind && m_kind != Kind::Variant)
        adopt(Kind::Variant);
    return m_kind == kind;
}

void ContainerColumn::appendInvalid()
{
    m_valid.push_back(false);
    switch (m_kind) {
    case Kind::Int:
        m_ints.push_back(0);
        break;
    case Kind::Double:
        m_doubles.push_back(0.0);
        break;
    case Kind::String:
        m_strings.emplace_back();
        break;
    case Kind::DateTime:
        m_dateTimes.emplace_back();
        break;
    case Kind::Variant:
        m_variants.emplace_back();
        break;
    case Kind::None:
        break;
    }
    ++m_size;
}

template <typename T>
void ContainerColumn::appendTyped(Kind kind, std::vector<T> &storage, T value)
{
    if (!accepts(kind))
        return append(QVariant::fromValue(value));
    m_valid.push_back(true);
    storage.push_back(std::move(value));
    ++m_size;
}

void ContainerColumn::appendInt(int value)
{
    appendTyped(Kind::Int, m_ints, qint32(value));
}

void ContainerColumn::appendDouble(double value)
{
    appendTyped(Kind::Double, m_doubles, value);
}

void ContainerColumn::appendString(QString value)
{
    appendTyped(Kind::String, m_strings, std::move(value));
}

void ContainerColumn::appendDateTime(const QDateTime &value)
{
    appendTyped(Kind::DateTime, m_dateTimes, value);
}

void ContainerColumn::appendColumn(ContainerColumn &&other)
{
    if (other.m_size == 0)
        return;
    if (m_size == 0 && m_kind == Kind::None) {
        const int reserved = m_reserved;
        *this = std::move(other);
        reserve(std::max(reserved, m_size));
        other = ContainerColumn();
        return;
    }
    auto moveAll = [](auto &into, auto &from) {
        into.insert(into.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    };
    // An all-invalid part, or one of the same typed kind, joins without
    // passing its cells through QVariants.
    const bool typed = other.m_kind != Kind::Variant;
    if (other.m_kind == Kind::None || (typed && accepts(other.m_kind))) {
        m_valid.insert(m_valid.end(), other.m_valid.begin(), other.m_valid.end());
        switch (m_kind) {
        case Kind::Int:
            if (other.m_kind == Kind::None)
                m_ints.resize(m_ints.size() + std::size_t(other.m_size));
            else
                moveAll(m_ints, other.m_ints);
            break;
        case Kind::Double:
            if (other.m_kind == Kind::None)
                m_doubles.resize(m_doubles.size() + std::size_t(other.m_size));
            else
                moveAll(m_doubles, other.m_doubles);
            break;
        case Kind::String:
            if (other.m_kind == Kind::None)
                m_strings.resize(m_strings.size() + std::size_t(other.m_size));
            else
                moveAll(m_strings, other.m_strings);
            break;
        case Kind::DateTime:
            if (other.m_kind == Kind::None)
                m_dateTimes.resize(m_dateTimes.size() + std::size_t(other.m_size));
            else
                moveAll(m_dateTimes, other.m_dateTimes);
            break;
        case Kind::Variant:
            m_variants.resize(m_variants.size() + std::size_t(other.m_size));
            break;
        case Kind::None:
            break;
        }
        m_size += other.m_size;
    } else {
        for (int r = 0; r < other.m_size; ++r)
            append(other.at(r));
    }
    other = ContainerColumn();
}

QVariant ContainerColumn::at(int row) const
{
    if (row < 0 || row >= m_size || !m_valid[std::size_t(row)])
        return QVariant();
    switch (m_kind) {
    case Kind::Int:
        return m_ints[std::size_t(row)];
    case Kind::Double:
        return m_doubles[std::size_t(row)];
    case Kind::String:
        return m_strings[std::size_t(row)];
    case Kind::DateTime:
        return m_dateTimes[std::size_t(row)];
    case Kind::Variant:
        return m_variants[std::size_t(row)];
    case Kind::None:
        break;
    }
    return QVariant();
}

void ContainerColumn::set(int row, const QVariant &value)
{
    if (row < 0 || row >= m_size)
        return;
    const bool valid = value.isValid();
    if (valid && m_kind != Kind::Variant) {
        const Kind kind = kindOf(value);
        if (m_kind == Kind::None)
            adopt(kind);
        else if (kind != m_kind)
            adopt(Kind::Variant);
    }
    m_valid[std::size_t(row)] = valid;
    store(row, value);
}

void ContainerColumn::store(int row, const QVariant &value)
{
    const std::size_t r = std::size_t(row);
    const bool valid = value.isValid();
    switch (m_kind) {
    case Kind::Int:
        m_ints[r] = valid ? held<int>(value) : 0;
        break;
    case Kind::Double:
        m_doubles[r] = valid ? held<double>(value) : 0.0;
        break;
    case Kind::String:
        m_strings[r] = valid ? held<QString>(value) : QString();
        break;
    case Kind::DateTime:
        m_dateTimes[r] = valid ? held<QDateTime>(value) : QDateTime();
        break;
    case Kind::Variant:
        m_variants[r] = value;
        break;
    case Kind::None:
        break;
    }
}
