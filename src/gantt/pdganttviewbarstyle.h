#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>

// How one kind of Gantt bar is drawn. The chart picks styles by position:
// 0 task, 1 summary, 2 milestone, 3 baseline pair, 4 actual pair.
struct PdGanttViewBarStyle
{
    QString styleName;
    QString startPointShape;
    QColor startPointColor;
    int bodyShapeHeight = 0;
    int bodyShapeOffset = 0;
    QColor bodyColor;
    QString endPointShape;
    QColor endPointColor;
    QMap<int, QString> displayColumns;
    QString startDate;
    QString finishDate;
    bool visible = false;

    QJsonObject toJson() const;
    static PdGanttViewBarStyle fromJson(const QJsonObject &object);

    static QJsonArray listToJson(const QList<PdGanttViewBarStyle> &styles);
    static QList<PdGanttViewBarStyle> listFromJson(const QJsonArray &array);

    // The chart's own list, in force until a layout supplies one.
    static QList<PdGanttViewBarStyle> chartDefaults();
    // The "barStyles" array of the default layout carried for XER files.
    static QList<PdGanttViewBarStyle> documentDefaults();

    // Registers the meta type under its plain name; safe to call repeatedly.
    static void registerMetaType();

    bool operator==(const PdGanttViewBarStyle &other) const;
    bool operator!=(const PdGanttViewBarStyle &other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(PdGanttViewBarStyle)
