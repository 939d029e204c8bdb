#ifndef PDFILTERVALUE_H
#define PDFILTERVALUE_H

#include <QDate>
#include <QString>
#include <QVariant>

class QAbstractItemModel;

// How a column's cells are read by the filters, from the "datatype" of its descriptor.
enum class PdValueKind { Text, Integer, Double, Date };

// The one reading of cell values that the value lists, the conditions and the sort share. A value
// list stores canonical texts and a cell passes when its own canonical text is among them, so a
// list written to a layout and read back matches the same cells again.
class PdFilterValue
{
public:
    static PdValueKind kindOf(const QString& datatype);
    static PdValueKind kindOfColumn(const QAbstractItemModel* model, int column);
    // The P6 enumeration prefix ("TK_", "CS_" ...) that the column's values carry, or an empty
    // text for columns that hold no enumeration.
    static QString prefixOfColumn(const QAbstractItemModel* model, int column);

    static bool isBlank(const QVariant& value);
    static bool toNumber(const QVariant& value, double* number);
    // A text that reads as a finite number in the C form ("12", "-3.5", "1e6"); words such as
    // "inf" or "nan" stay texts.
    static bool textToNumber(const QString& text, double* number);
    static QDate toDate(const QVariant& value);
    static QString numberText(double number);

    static QString canonicalText(const QVariant& value, PdValueKind kind);
    static QString displayText(const QVariant& value, PdValueKind kind, const QString& prefix);
};

#endif // PDFILTERVALUE_H
