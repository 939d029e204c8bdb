#pragma once

class QAbstractItemModel;
class QIODevice;
class QVariant;
class QString;

// Writes a flat model as CSV: a header row of the horizontal display texts,
// then one line per row; fields with a comma, a quote or a line break are
// quoted with the quotes doubled. Date-times read "yyyy-MM-dd HH:mm".
namespace ModelCsv {

QString field(const QVariant &value);
bool write(const QAbstractItemModel &model, QIODevice *device);

} // namespace ModelCsv
