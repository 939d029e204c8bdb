#include "pdgrouplevel.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

const QRgb LevelColors[] = {qRgb(60, 83, 111),  qRgb(0, 101, 169),  qRgb(170, 204, 235), qRgb(248, 152, 29),
                            qRgb(110, 166, 52), qRgb(202, 83, 92),  qRgb(222, 83, 14),   qRgb(249, 225, 126),
                            qRgb(128, 84, 98),  qRgb(106, 90, 127)};
constexpr int LevelCount = int(sizeof(LevelColors) / sizeof(LevelColors[0]));

// Background, font or colour parts a text leaves out keep the built-in look
// of the level at that position, so "WBS Code;All" from a P6 view still draws
// coloured bands rather than nothing behind white text.
PdGroupLevel builtInLevel(int position)
{
    PdGroupLevel level;
    level.font = QFont(QStringLiteral("MS Shell Dlg 2"));
    level.font.setWeight(QFont::Bold);
    if (position < LevelCount)
        level.background = QBrush(QColor(LevelColors[position]));
    return level;
}

} // namespace

bool PdGroupLevel::operator==(const PdGroupLevel &other) const
{
    return field == other.field && interval == other.interval && background == other.background
        && font == other.font && textColor == other.textColor;
}

QList<PdGroupLevel> PdGroupLevel::defaultLevels()
{
    QList<PdGroupLevel> levels;
    for (int i = 0; i < LevelCount; ++i) {
        PdGroupLevel level;
        level.background = QBrush(QColor(LevelColors[i]));
        levels.append(level);
    }
    return levels;
}

QString PdGroupLevel::fontText(const QFont &font)
{
    QString flags;
    if (font.style() != QFont::StyleNormal)
        flags += QLatin1Char('i');
    if (font.underline())
        flags += QLatin1Char('u');
    if (font.weight() >= 58)
        flags += QLatin1Char('b');
    return font.family() + QLatin1Char(':') + flags;
}

QFont PdGroupLevel::fontFromText(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    QFont font(parts.value(0));
    const QString flags = parts.value(1);
    font.setItalic(flags.contains(QLatin1Char('i')));
    font.setUnderline(flags.contains(QLatin1Char('u')));
    font.setWeight(flags.contains(QLatin1Char('b')) ? QFont::Bold : QFont::Normal);
    return font;
}

QString PdGroupLevel::colorText(const QColor &color)
{
    if (!color.isValid())
        return QString();
    return QStringLiteral("r%1g%2b%3a%4").arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alpha());
}

QColor PdGroupLevel::colorFromText(const QString &text)
{
    static const QRegularExpression letters(QStringLiteral("[a-z]"));
    const QStringList parts = text.split(letters, Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts.size() > 4)
        return QColor();
    int components[4] = {0, 0, 0, 255};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        components[i] = parts.at(i).toInt(&ok);
        if (!ok)
            return QColor();
        components[i] = qBound(0, components[i], 255);
    }
    return QColor(components[0], components[1], components[2], components[3]);
}

QString PdGroupLevel::toText(const QList<PdGroupLevel> &levels)
{
    QStringList pieces;
    for (const PdGroupLevel &level : levels) {
        // A level without a background writes an empty part, which reads back
        // as none; the brush's colour alone would read back as solid black.
        const QString background =
            level.background.style() == Qt::NoBrush ? QString() : colorText(level.background.color());
        pieces << QStringList{level.field, level.interval, fontText(level.font), colorText(level.textColor),
                              background}
                      .join(QLatin1Char(';'));
    }
    return pieces.join(QLatin1Char(','));
}

QList<PdGroupLevel> PdGroupLevel::fromText(const QString &text)
{
    QList<PdGroupLevel> levels;
    const QStringList pieces = text.split(QLatin1Char(','));
    for (int i = 0; i < pieces.size(); ++i) {
        const QStringList parts = pieces.at(i).split(QLatin1Char(';'));
        PdGroupLevel level = builtInLevel(i);
        level.field = parts.value(0);
        level.interval = parts.value(1);
        if (parts.size() > 2)
            level.font = fontFromText(parts.at(2));
        if (parts.size() > 3)
            level.textColor = colorFromText(parts.at(3));
        if (parts.size() > 4) {
            const QColor background = colorFromText(parts.at(4));
            level.background = background.isValid() ? QBrush(background) : QBrush();
        }
        levels.append(level);
    }
    return levels;
}
