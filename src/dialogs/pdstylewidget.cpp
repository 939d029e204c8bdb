#include "pdstylewidget.h"

#include "pdcolorwidget.h"
#include "pdtextcolorcombo.h"
#include "plandeckresources.h"

#include <QFontComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *toggle(const char *name, const QString &icon, const QString &tip)
{
    auto *button = new QToolButton;
    button->setObjectName(QLatin1String(name));
    button->setCheckable(true);
    button->setFixedSize(20, 20);
    button->setIcon(QIcon(icon));
    button->setToolTip(tip);
    return button;
}

} // namespace

PdStyleWidget::PdStyleWidget(QWidget *parent)
    : QWidget(parent)
{
    plandeck::initResources();
    setFixedHeight(340);

    m_fontCombo = new QFontComboBox;
    m_fontCombo->setObjectName(QStringLiteral("fontCombo"));
    m_fontCombo->setFixedSize(150, 22);
    m_italic = toggle("italic", QStringLiteral(":/images/character_italic_small.png"), tr("Italic"));
    m_underline = toggle("underline", QStringLiteral(":/images/character_underline_small.png"), tr("Underline"));
    m_bold = toggle("bold", QStringLiteral(":/images/character_bold_small.png"), tr("Bold"));
    m_textColor = new PdTextColorCombo;
    m_textColor->setObjectName(QStringLiteral("textColor"));

    auto *fontBox = new QGroupBox(tr("Font"));
    auto *fontLayout = new QVBoxLayout(fontBox);
    fontLayout->addWidget(m_fontCombo);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_italic);
    buttons->addWidget(m_underline);
    buttons->addWidget(m_bold);
    buttons->addStretch(1);
    buttons->addWidget(m_textColor);
    fontLayout->addLayout(buttons);

    m_background = new PdColorWidget;
    m_background->setObjectName(QStringLiteral("background"));
    auto *colorBox = new QGroupBox(tr("Color"));
    auto *colorLayout = new QHBoxLayout(colorBox);
    colorLayout->addWidget(m_background, 0, Qt::AlignCenter);

    auto *ok = new QPushButton(tr("Ok"));
    ok->setObjectName(QStringLiteral("ok"));
    connect(ok, &QPushButton::clicked, this, &PdStyleWidget::accepted);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fontBox);
    layout->addWidget(colorBox);
    layout->addStretch(1);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

QFont PdStyleWidget::textFont() const
{
    QFont font = m_font;
    font.setFamily(m_fontCombo->currentFont().family());
    font.setItalic(m_italic->isChecked());
    font.setUnderline(m_underline->isChecked());
    font.setWeight(m_bold->isChecked() ? 75 : 50);
    return font;
}

void PdStyleWidget::setTextFont(const QFont &font)
{
    m_font = font;
    m_fontCombo->setCurrentFont(font);
    m_italic->setChecked(font.style() != QFont::StyleNormal);
    m_underline->setChecked(font.underline());
    m_bold->setChecked(font.weight() >= 58);
}

QColor PdStyleWidget::textColor() const
{
    return m_textColor->color();
}

void PdStyleWidget::setTextColor(const QColor &color)
{
    m_textColor->setColor(color);
}

QColor PdStyleWidget::background() const
{
    return m_background->color();
}

void PdStyleWidget::setBackground(const QColor &color)
{
    m_background->setColor(color);
}
