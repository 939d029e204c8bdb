#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <vector>

// The cells of one container column, stored by the type they hold rather
// than as QVariants: a column of ids costs four bytes a cell instead of
// sixteen, which halves the memory of a large activity table. The first
// valid value decides the storage; a value of another type turns the column
// into plain QVariants, so every value reads back exactly as it was stored.
class ContainerColumn
{
public:
    int size() const { return m_size; }
    void reserve(int rows);
    void append(const QVariant &value);
    void appendInvalid();
    // Typed appends for the loader: the value goes straight into typed
    // storage without passing through a QVariant, and reads back exactly as
    // append(QVariant) of the same value would.
    void appendInt(int value);
    void appendDouble(double value);
    void appendString(QString value);
    void appendDateTime(const QDateTime &value);
    // Appends every cell of `other`, which is left empty. Cells read back as
    // they did in `other`, so a table converted in parts joins up exactly.
    void appendColumn(ContainerColumn &&other);
    QVariant at(int row) const;
    void set(int row, const QVariant &value);

private:
    enum class Kind : std::uint8_t { None, Int, Double, String, DateTime, Variant };

    static Kind kindOf(const QVariant &value);
    bool accepts(Kind kind);
    template <typename T>
    void appendTyped(Kind kind, std::vector<T> &storage, T value);
    void adopt(Kind kind);
    void store(int row, const QVariant &value);

    Kind m_kind = Kind::None;
    int m_size = 0;
    int m_reserved = 0;
    std::vector<bool> m_valid;
    std::vector<qint32> m_ints;
    std::vector<double> m_doubles;
    std::vector<QString> m_strings;
    std::vector<QDateTime> m_dateTimes;
    std::vector<QVariant> m_variants;
};
