#pragma once

#include "pdkeyrowsproxymodel.h"

#include <QHash>

// The relationships of one activity, with header texts renamed so that the
// two tables of the details panel say whose name they show ("Predecessor
// Name", "Successor Name"), and the lag read in hours and working days.
class MapHdrModel : public PdKeyRowsProxyModel
{
    Q_OBJECT
public:
    explicit MapHdrModel(QObject *parent = nullptr);

    // Adds or replaces the text shown for a horizontal header text.
    void setHeaderMapping(const QString &from, const QString &to);
    // The column whose hours are shown as lag text; -1 for none.
    void setLagColumn(int column);

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // "16h (2d)": the calendar of an activity is not in the file's tables
    // that are read, so a day is taken as 8 working hours.
    static QString lagText(const QVariant &hours);

private:
    QHash<QString, QString> m_headerMap;
    int m_lagColumn = -1;
};
