#include "maphdrmodel.h"

#include <cmath>

MapHdrModel::MapHdrModel(QObject *parent)
    : PdKeyRowsProxyModel(parent)
{
}

void MapHdrModel::setHeaderMapping(const QString &from, const QString &to)
{
    m_headerMap.insert(from, to);
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void MapHdrModel::setLagColumn(int column)
{
    m_lagColumn = column;
    if (rowCount() > 0 && column >= 0 && column < columnCount())
        emit dataChanged(index(0, column), index(rowCount() - 1, column), {Qt::DisplayRole});
}

QVariant MapHdrModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QVariant value = PdKeyRowsProxyModel::headerData(section, orientation, role);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return value;
    const auto it = m_headerMap.constFind(value.toString());
    return it == m_headerMap.constEnd() ? value : QVariant(*it);
}

QVariant MapHdrModel::data(const QModelIndex &index, int role) const
{
    const QVariant value = PdKeyRowsProxyModel::data(index, role);
    if (role == Qt::DisplayRole && index.isValid() && index.column() == m_lagColumn && value.isValid())
        return lagText(value);
    return value;
}

QString MapHdrModel::lagText(const QVariant &hours)
{
    bool ok = false;
    const double value = hours.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return hours.toString();
    const auto number = [](double n) {
        // Two decimals at most, and none for whole numbers: "1.5", not "1.50".
        QString text = QString::number(n, 'f', 2);
        while (text.contains(QLatin1Char('.')) && (text.endsWith(QLatin1Char('0')) || text.endsWith(QLatin1Char('.'))))
            text.chop(1);
        return text == QLatin1String("-0") ? QStringLiteral("0") : text;
    };
    const QString inHours = number(value) + QLatin1Char('h');
    if (number(value) == QLatin1String("0"))
        return inHours;
    return inHours + QStringLiteral(" (") + number(value / 8.0) + QStringLiteral("d)");
}
