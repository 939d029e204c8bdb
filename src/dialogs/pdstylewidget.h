#pragma once

#include <QWidget>

class PdColorWidget;
class PdTextColorCombo;
class QFontComboBox;
class QToolButton;

// The popup of a group level's format: font family and italic, underline and
// bold, text colour, and the background colour of the group rows.
class PdStyleWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PdStyleWidget(QWidget *parent = nullptr);

    // The family from the combo, italic and underline from their buttons,
    // weight 75 with bold pressed and 50 without; the size of the font last
    // set is kept.
    QFont textFont() const;
    void setTextFont(const QFont &font);
    QColor textColor() const;
    void setTextColor(const QColor &color);
    QColor background() const;
    void setBackground(const QColor &color);

signals:
    void accepted();

private:
    QFontComboBox *m_fontCombo = nullptr;
    QToolButton *m_italic = nullptr;
    QToolButton *m_underline = nullptr;
    QToolButton *m_bold = nullptr;
    PdTextColorCombo *m_textColor = nullptr;
    PdColorWidget *m_background = nullptr;
    QFont m_font;
};
