#pragma once

#include <QHash>
#include <QJsonDocument>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class P6ConfigNode;

// A view stored by P6 (a "VIEWPROP" row of a schedule or a layout file), reduced to what a
// layout of this program can show: columns, a WBS grouping and the sort keys.
struct P6Layout
{
    struct Column
    {
        QString field;
        QString title;
        // The header text the column has here, from the table catalogue; empty when unknown.
        QString display;
        int width = 0;
    };

    int id = 0;
    QString name;
    QVector<Column> columns;
    QStringList group;
    QStringList sort;

    // The layout document this view stands for.
    QString toDocument() const;

    // Field name to header text, from the catalogue's columns (the first mapping of a field
    // wins), with P6's own names for the computed start and finish.
    static QHash<QString, QString> fieldDisplayTable(const QJsonDocument &catalogue);
    // False when the view shows no column: such a view gives no layout.
    static bool fromView(const P6ConfigNode &root, const QHash<QString, QString> &displays, P6Layout *layout);
    // Rows with "VIEW_ID", "VIEW_NAME" and "VIEW_DATA", as the loader collects them.
    static QVector<P6Layout> fromRows(const QVariantList &rows, const QHash<QString, QString> &displays);
};
