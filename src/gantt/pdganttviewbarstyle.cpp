#include "pdganttviewbarstyle.h"

namespace {

QString colorText(const QColor &c)
{
    // No colour reads back as none; "#000000" would read back as black.
    return c.isValid() ? c.name() : QString();
}

QColor colorFrom(const QJsonValue &v)
{
    const QString text = v.toString();
    // isValidColor first: constructing from an unknown name logs a warning.
    return QColor::isValidColor(text) ? QColor(text) : QColor();
}

PdGanttViewBarStyle make(const QString &name, const QString &startShape, const QColor &startColor,
                         int height, int offset, const QColor &body, const QString &endShape,
                         const QColor &endColor, const QString &startDate, const QString &finishDate,
                         bool visible)
{
    PdGanttViewBarStyle s;
    s.styleName = name;
    s.startPointShape = startShape;
    s.startPointColor = startColor;
    s.bodyShapeHeight = height;
    s.bodyShapeOffset = offset;
    s.bodyColor = body;
    s.endPointShape = endShape;
    s.endPointColor = endColor;
    s.startDate = startDate;
    s.finishDate = finishDate;
    s.visible = visible;
    return s;
}

} // namespace

QJsonObject PdGanttViewBarStyle::toJson() const
{
    QJsonArray columns;
    for (auto it = displayColumns.cbegin(); it != displayColumns.cend(); ++it)
        columns.append(QJsonObject{{QStringLiteral("key"), it.key()}, {QStringLiteral("value"), it.value()}});
    return QJsonObject{
        {QStringLiteral("styleName"), styleName},
        {QStringLiteral("startPointShape"), startPointShape},
        {QStringLiteral("startPointColor"), colorText(startPointColor)},
        {QStringLiteral("bodyShapeHeight"), bodyShapeHeight},
        {QStringLiteral("bodyShapeOffset"), bodyShapeOffset},
        {QStringLiteral("bodyColor"), colorText(bodyColor)},
        {QStringLiteral("endPointShape"), endPointShape},
        {QStringLiteral("endPointColor"), colorText(endPointColor)},
        {QStringLiteral("displayColumns"), columns},
        {QStringLiteral("startDate"), startDate},
        {QStringLiteral("finishDate"), finishDate},
        {QStringLiteral("visible"), visible},
    };
}

PdGanttViewBarStyle PdGanttViewBarStyle::fromJson(const QJsonObject &o)
{
    PdGanttViewBarStyle s;
    s.styleName = o.value(QStringLiteral("styleName")).toString();
    s.startPointShape = o.value(QStringLiteral("startPointShape")).toString();
    s.startPointColor = colorFrom(o.value(QStringLiteral("startPointColor")));
    s.bodyShapeHeight = o.value(QStringLiteral("bodyShapeHeight")).toInt();
    s.bodyShapeOffset = o.value(QStringLiteral("bodyShapeOffset")).toInt();
    s.bodyColor = colorFrom(o.value(QStringLiteral("bodyColor")));
    s.endPointShape = o.value(QStringLiteral("endPointShape")).toString();
    s.endPointColor = colorFrom(o.value(QStringLiteral("endPointColor")));
    const QJsonArray columns = o.value(QStringLiteral("displayColumns")).toArray();
    for (const QJsonValue &v : columns) {
        const QJsonObject entry = v.toObject();
        s.displayColumns.insert(entry.value(QStringLiteral("key")).toVariant().toInt(),
                                entry.value(QStringLiteral("value")).toString());
    }
    s.startDate = o.value(QStringLiteral("startDate")).toString();
    s.finishDate = o.value(QStringLiteral("finishDate")).toString();
    s.visible = o.value(QStringLiteral("visible")).toBool(false);
    return s;
}

QJsonArray PdGanttViewBarStyle::listToJson(const QList<PdGanttViewBarStyle> &styles)
{
    QJsonArray array;
    for (const auto &s : styles)
        array.append(s.toJson());
    return array;
}

QList<PdGanttViewBarStyle> PdGanttViewBarStyle::listFromJson(const QJsonArray &array)
{
    QList<PdGanttViewBarStyle> styles;
    for (const QJsonValue &v : array)
        styles.append(fromJson(v.toObject()));
    return styles;
}

QList<PdGanttViewBarStyle> PdGanttViewBarStyle::chartDefaults()
{
    const QString start = QStringLiteral("Start Date");
    const QString finish = QStringLiteral("Finish Date");
    const QColor black(Qt::black);
    const QString southCone = QStringLiteral("SouthCone");
    return {
        make(QStringLiteral("Normal"), QString(), QColor(), 11, 6, QColor(150, 50, 50), QString(), QColor(), start, finish, true),
        make(QStringLiteral("Summary"), southCone, black, 5, 3, black, southCone, black, start, finish, true),
        make(QStringLiteral("Milestone"), QStringLiteral("Diamond"), black, 0, 0, black, QString(), QColor(), start, start, true),
        make(QStringLiteral("Baseline"), QString(), QColor(), 5, 9, QColor(255, 200, 200), QString(), QColor(), start, finish, true),
        make(QStringLiteral("Actual"), QString(), QColor(), 5, 12, QColor(100, 255, 100), QString(), QColor(),
             QStringLiteral("Actual Start"), QStringLiteral("Actual Finish"), true),
    };
}

QList<PdGanttViewBarStyle> PdGanttViewBarStyle::documentDefaults()
{
    const QString start = QStringLiteral("Start Date");
    const QString finish = QStringLiteral("Finish Date");
    const QColor black(Qt::black);
    const QString diamond = QStringLiteral("Diamond");
    // The task body matches the chart's own default so a freshly opened file
    // looks the same before and after the default layout is applied.
    return {
        make(QStringLiteral("Task"), QString(), black, 11, 6, QColor(150, 50, 50), QString(), black, start, finish, true),
        make(QStringLiteral("Milestone"), diamond, QColor(0x80, 0x80, 0x80), 0, 6, black, QString(), black, start, finish, true),
        make(QStringLiteral("Summary"), QStringLiteral("SouthCone"), black, 5, 3, black, QStringLiteral("SouthPenta"), black, start, finish, true),
        make(QStringLiteral("Actual"), QString(), QColor(0xff, 0, 0), 3, 10, QColor(0, 0, 0xff), QString(), black, QString(), QString(), false),
        make(QStringLiteral("Baseline Task"), QString(), black, 3, 18, QColor(0xfe, 0xfe, 0x53), QString(), black, QString(), QString(), false),
        make(QStringLiteral("Baseline Milestone"), diamond, QColor(0xc0, 0xc0, 0xc0), 0, 6, black, QString(), black, QString(), QString(), false),
    };
}

void PdGanttViewBarStyle::registerMetaType()
{
    qRegisterMetaType<PdGanttViewBarStyle>("PdGanttViewBarStyle");
}

bool PdGanttViewBarStyle::operator==(const PdGanttViewBarStyle &o) const
{
    return styleName == o.styleName && startPointShape == o.startPointShape
            && startPointColor == o.startPointColor && bodyShapeHeight == o.bodyShapeHeight
            && bodyShapeOffset == o.bodyShapeOffset && bodyColor == o.bodyColor
            && endPointShape == o.endPointShape && endPointColor == o.endPointColor
            && displayColumns == o.displayColumns && startDate == o.startDate
            && finishDate == o.finishDate && visible == o.visible;
}
