#include "modelcsv.h"

#include <QAbstractItemModel>
#include <QDateTime>
#include <QIODevice>
#include <QVariant>

namespace {

QString quoted(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

namespace ModelCsv {

QString field(const QVariant &value)
{
    if (!value.isValid())
        return QString();
    if (value.userType() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return quoted(value.toString());
}

bool write(const QAbstractItemModel &model, QIODevice *device)
{
    const int columns = model.columnCount();
    QString line;
    auto flush = [&line, device] {
        line += QLatin1Char('\n');
        const QByteArray bytes = line.toUtf8();
        line.clear();
        return device->write(bytes) == bytes.size();
    };

    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            line += QLatin1Char(',');
        line += field(model.headerData(c, Qt::Horizontal, Qt::DisplayRole));
    }
    if (!flush())
        return false;
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                line += QLatin1Char(',');
            line += field(model.index(r, c).data(Qt::DisplayRole));
        }
        if (!flush())
            return false;
    }
    return true;
}

} // namespace ModelCsv
