#include "platform/font_chooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace parchly {

namespace {

// The style list's entries in order: bit 0 italic, bit 1 bold.
constexpr int kItalicStyle = 1;
constexpr int kBoldStyle = 2;
constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;

} // namespace

FontChooserDialog::FontChooserDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Font"));

    m_face = new QFontComboBox(this);
    m_face->setObjectName(QStringLiteral("faceBox"));
    m_face->setFontFilters(QFontComboBox::MonospacedFonts);
    m_face->setEditable(false);
    m_style = new QComboBox(this);
    m_style->setObjectName(QStringLiteral("styleBox"));
    m_style->addItems({QStringLiteral("Regular"), QStringLiteral("Italic"), QStringLiteral("Bold"),
                       QStringLiteral("Bold Italic")});
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("sizeBox"));
    m_size->setRange(1, 500);
    m_underline = new QCheckBox(QStringLiteral("&Underline"), this);
    m_underline->setObjectName(QStringLiteral("underlineCheck"));
    m_strikeout = new QCheckBox(QStringLiteral("Stri&keout"), this);
    m_strikeout->setObjectName(QStringLiteral("strikeoutCheck"));
    m_colourButton = new QPushButton(QStringLiteral("&Color..."), this);
    m_colourButton->setObjectName(QStringLiteral("colourButton"));
    m_colourButton->setAutoDefault(false);
    m_sample = new QLabel(QStringLiteral("AaBbYyZz 0123 {[()]}"), this);
    m_sample->setObjectName(QStringLiteral("sample"));
    m_sample->setMinimumHeight(48);
    m_sample->setAlignment(Qt::AlignCenter);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), m_face);
    form->addRow(QStringLiteral("Font st&yle:"), m_style);
    form->addRow(QStringLiteral("&Size:"), m_size);
    auto* effects = new QHBoxLayout;
    effects->addWidget(m_underline);
    effects->addWidget(m_strikeout);
    effects->addWidget(m_colourButton);
    form->addRow(QStringLiteral("Effects:"), effects);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_sample);
    layout->addWidget(buttons);

    m_face->setCurrentFont(QFont(initial.face));
    m_style->setCurrentIndex((initial.weight == kBoldWeight ? kBoldStyle : 0)
                             | (initial.italic ? kItalicStyle : 0));
    m_size->setValue(initial.pointSize);
    m_underline->setChecked(initial.underline);
    m_strikeout->setChecked(initial.strikeout);
    setColour(initial.colour);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_colourButton, &QPushButton::clicked, this, &FontChooserDialog::pickColour);
    connect(m_face, &QFontComboBox::currentFontChanged, this, &FontChooserDialog::updateSample);
    connect(m_style, &QComboBox::currentIndexChanged, this, &FontChooserDialog::updateSample);
    connect(m_size, &QSpinBox::valueChanged, this, &FontChooserDialog::updateSample);
    connect(m_underline, &QCheckBox::toggled, this, &FontChooserDialog::updateSample);
    connect(m_strikeout, &QCheckBox::toggled, this, &FontChooserDialog::updateSample);
    updateSample();
}

FontChoice FontChooserDialog::choice() const
{
    FontChoice chosen;
    chosen.face = m_face->currentFont().family();
    chosen.weight = (m_style->currentIndex() & kBoldStyle) ? kBoldWeight : kNormalWeight;
    chosen.italic = (m_style->currentIndex() & kItalicStyle) != 0;
    chosen.underline = m_underline->isChecked();
    chosen.strikeout = m_strikeout->isChecked();
    chosen.pointSize = m_size->value();
    chosen.colour = m_colour;
    return chosen;
}

void FontChooserDialog::setColour(const QColor& colour)
{
    m_colour = colour;
    updateSample();
}

void FontChooserDialog::pickColour()
{
    const QColor picked = dialogs().chooseColour(this, m_colour);
    if (picked.isValid())
        setColour(picked);
}

void FontChooserDialog::updateSample()
{
    const FontChoice chosen = choice();
    QFont font(chosen.face, chosen.pointSize, chosen.weight, chosen.italic);
    font.setUnderline(chosen.underline);
    font.setStrikeOut(chosen.strikeout);
    m_sample->setFont(font);
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::WindowText, chosen.colour);
    m_sample->setPalette(palette);
}

} // namespace parchly
