#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

// One grouping level of the activity tree: the grouped column (by header
// text; empty when the level is not in use), its interval ("All" or a depth
// for a structured column, a period for a date column) and the look of its
// group rows.
struct PdGroupLevel
{
    QString field;
    QString interval;
    QBrush background;
    QFont font;
    // Invalid means none chosen: group rows then take a colour that reads on
    // their background.
    QColor textColor;

    bool inUse() const { return !field.isEmpty(); }
    bool operator==(const PdGroupLevel &other) const;
    bool operator!=(const PdGroupLevel &other) const { return !(*this == other); }

    // The ten levels a view starts with: none in use, each with its own colour.
    static QList<PdGroupLevel> defaultLevels();

    // The text form a layout stores: levels separated by ",", each as
    // field;interval;font;text colour;background.
    static QString toText(const QList<PdGroupLevel> &levels);
    static QList<PdGroupLevel> fromText(const QString &text);

    // "Arial:ib" for a bold italic Arial.
    static QString fontText(const QFont &font);
    static QFont fontFromText(const QString &text);
    // "r60g83b111a255"; an invalid colour is an empty text.
    static QString colorText(const QColor &color);
    static QColor colorFromText(const QString &text);
};
