#include "p6layout.h"

#include "p6confignode.h"

#include <QJsonArray>
#include <QLoggingCategory>
#include <QJsonObject>
#include <QVariantMap>

Q_LOGGING_CATEGORY(lcP6Layout, "plandeck.layouts.p6")

QString P6Layout::toDocument() const
{
    QJsonArray columnTexts;
    for (const Column &column : columns)
        columnTexts.append(QStringLiteral("%1:%2").arg(column.display).arg(column.width));
    const QJsonObject document{{QStringLiteral("columns"), columnTexts},
                               {QStringLiteral("group"), QJsonArray::fromStringList(group)},
                               {QStringLiteral("sortby"), QJsonArray::fromStringList(sort)}};
    return QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Compact));
}

QHash<QString, QString> P6Layout::fieldDisplayTable(const QJsonDocument &catalogue)
{
    QHash<QString, QString> displays;
    const QJsonArray tables = catalogue.object().value(QStringLiteral("tables")).toArray();
    for (const QJsonValue &table : tables) {
        const QJsonArray columns = table.toObject().value(QStringLiteral("columns")).toArray();
        for (const QJsonValue &value : columns) {
            const QJsonObject column = value.toObject();
            const QString id = column.value(QStringLiteral("id")).toString();
            const QString display = column.value(QStringLiteral("display")).toString();
            if (!display.isEmpty() && !displays.contains(id))
                displays.insert(id, display);
        }
    }
    displays.insert(QStringLiteral("start_date"), QStringLiteral("Start Date"));
    displays.insert(QStringLiteral("end_date"), QStringLiteral("Finish Date"));
    return displays;
}

bool P6Layout::fromView(const P6ConfigNode &root, const QHash<QString, QString> &displays, P6Layout *layout)
{
    const QString taskView = QStringLiteral("TaskView");
    for (const P6ConfigNode::Ptr &node : root.at({taskView, QStringLiteral("Columns")}).children) {
        Column column;
        column.field = node->name;
        column.title = node->attribute(QStringLiteral("column_title"));
        column.display = displays.value(column.field);
        column.width = node->attribute(QStringLiteral("width")).toInt();
        layout->columns.append(column);
    }

    const P6ConfigNode &groupSortBy = root.at({taskView, QStringLiteral("GroupSortBy")});
    const P6ConfigNode &group = groupSortBy.at({QStringLiteral("GroupBys"), QStringLiteral("Item1")});
    if (group.attribute(QStringLiteral("join_path")) == QLatin1String("PROJWBS")) {
        QString level = group.attribute(QStringLiteral("max_level"));
        if (level.isEmpty() || level == QLatin1String("0"))
            level = QStringLiteral("All");
        layout->group = QStringList{QStringLiteral("WBS Code;") + level};
    }

    for (const P6ConfigNode::Ptr &node : groupSortBy.child(QStringLiteral("SortBys")).children) {
        const QString field = node->attribute(QStringLiteral("source_field"));
        if (field.isEmpty() || !displays.contains(field))
            continue;
        const bool descending =
            node->attribute(QStringLiteral("sort_type")).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
        layout->sort.append(QStringLiteral("%1;%2").arg(displays.value(field), descending ? QStringLiteral("D")
                                                                                          : QStringLiteral("A")));
    }
    return !layout->columns.isEmpty();
}

QVector<P6Layout> P6Layout::fromRows(const QVariantList &rows, const QHash<QString, QString> &displays)
{
    QVector<P6Layout> layouts;
    for (const QVariant &value : rows) {
        const QVariantMap row = value.toMap();
        QString error;
        const P6ConfigNode::Ptr root = P6ConfigNode::parse(row.value(QStringLiteral("VIEW_DATA")).toString(), &error);
        if (!root) {
            qCWarning(lcP6Layout).noquote() << "P6Layout::fromRows view" << row.value(QStringLiteral("VIEW_NAME")).toString()
                                 << "is not readable:" << error;
            continue;
        }
        P6Layout layout;
        layout.id = row.value(QStringLiteral("VIEW_ID")).toInt();
        layout.name = row.value(QStringLiteral("VIEW_NAME")).toString();
        if (fromView(*root, displays, &layout))
            layouts.append(layout);
    }
    return layouts;
}
