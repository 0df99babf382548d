#include "app/options_format_page.h"

#include "settings/settings.h"
#include "platform/char_format.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace parchly {

namespace {

constexpr int kBoldWeight = 700;
constexpr int kTwipsPerPoint = 20;

FontChoice choiceFromFormat(const TextFormat& format)
{
    FontChoice choice;
    choice.face = QString::fromUtf8(format.faceName, qstrnlen(format.faceName, kFaceNameSize));
    choice.pointSize = format.height / kTwipsPerPoint;
    choice.weight = (format.effects & kEffectBold) ? kBoldWeight : 400;
    choice.italic = (format.effects & kEffectItalic) != 0;
    choice.underline = (format.effects & kEffectUnderline) != 0;
    choice.strikeout = (format.effects & kEffectStrikeout) != 0;
    choice.colour = QColor(format.colour & 0xFF, (format.colour >> 8) & 0xFF, (format.colour >> 16) & 0xFF);
    return choice;
}

// The text forms of a choice; bold only for a weight of exactly 700.
FormatTexts textsFromChoice(const FontChoice& choice)
{
    QStringList words;
    if (choice.weight == kBoldWeight)
        words << QStringLiteral("bold");
    if (choice.italic)
        words << QStringLiteral("italic");
    if (choice.strikeout)
        words << QStringLiteral("strikeout");
    if (choice.underline)
        words << QStringLiteral("underline");
    FormatTexts texts;
    texts.font = choice.face.toStdString();
    texts.style = words.join(QStringLiteral(", ")).toStdString();
    texts.color = QStringLiteral("%1:%2:%3")
                      .arg(choice.colour.red())
                      .arg(choice.colour.green())
                      .arg(choice.colour.blue())
                      .toStdString();
    texts.size = std::to_string(choice.pointSize);
    return texts;
}

QLineEdit* readOnlyField(QWidget* parent, const char* name)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

} // namespace

OptionsFormatPage::OptionsFormatPage(RfcSettings& settings, Profile& profile, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_profile(profile)
{
    m_category = new QComboBox(this);
    m_category->setObjectName(QStringLiteral("categoryBox"));
    for (int category = 0; category < kFormatCategoryCount; ++category)
        m_category->addItem(QString::fromLatin1(categoryName(category)));
    m_select = new QPushButton(QStringLiteral("&Select..."), this);
    m_select->setObjectName(QStringLiteral("selectButton"));
    m_select->setAutoDefault(false);
    m_font = readOnlyField(this, "fontField");
    m_color = readOnlyField(this, "colorField");
    m_style = readOnlyField(this, "styleField");
    m_size = readOnlyField(this, "sizeField");

    m_colourButton = new QPushButton(QStringLiteral("C&olor..."), this);
    m_colourButton->setObjectName(QStringLiteral("colourButton"));
    m_colourButton->setAutoDefault(false);

    auto* categoryRow = new QHBoxLayout;
    categoryRow->addWidget(m_category, 1);
    categoryRow->addWidget(m_select);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Category:"), categoryRow);
    layout->addRow(QStringLiteral("Font:"), m_font);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(m_color, 1);
    colourRow->addWidget(m_colourButton);
    layout->addRow(QStringLiteral("Color(RGB):"), colourRow);
    layout->addRow(QStringLiteral("Style:"), m_style);
    layout->addRow(QStringLiteral("Size:"), m_size);
    m_plain = new QPushButton(QStringLiteral("&Like Default"), this);
    m_plain->setObjectName(QStringLiteral("plainButton"));
    m_plain->setAutoDefault(false);
    layout->addRow(QString(), m_plain);
    m_indexBar = new QCheckBox(QStringLiteral("Show what the RFC &index says above each RFC"), this);
    m_indexBar->setObjectName(QStringLiteral("indexBarBox"));
    m_indexBar->setChecked(m_settings.ShowIndexBar);
    layout->addRow(QString(), m_indexBar);
    connect(m_plain, &QPushButton::clicked, this, [this] {
        m_settings.setCategoryFormat(m_category->currentIndex(), m_settings.Formats[kFormatDefault]);
        showSelectedFormat();
    });

    m_category->setCurrentIndex(kFormatDefault);
    showSelectedFormat();
    connect(m_category, &QComboBox::currentIndexChanged, this, &OptionsFormatPage::showSelectedFormat);
    connect(m_select, &QPushButton::clicked, this, &OptionsFormatPage::selectFont);
    connect(m_colourButton, &QPushButton::clicked, this, &OptionsFormatPage::selectColour);
}

void OptionsFormatPage::showSelectedFormat()
{
    const std::optional<TextFormat> format = m_settings.categoryFormat(m_category->currentIndex());
    if (!format)
        return;
    const FormatTexts texts = formatToText(*format);
    if (m_plain)
        m_plain->setEnabled(m_category->currentIndex() != kFormatDefault);
    // The face the text is shown in: a stored face this system lacks (the
    // "Fixedsys" of older settings files) is replaced as the view replaces it.
    m_font->setText(QFontInfo(toCharFormat(*format).font()).family());
    m_color->setText(QString::fromStdString(texts.color));
    m_style->setText(QString::fromStdString(texts.style));
    m_size->setText(QString::fromStdString(texts.size));
}

void OptionsFormatPage::selectFont()
{
    const std::optional<TextFormat> format = m_settings.categoryFormat(m_category->currentIndex());
    if (!format)
        return;
    FontChoice choice = choiceFromFormat(*format);
    if (!dialogs().chooseFixedFont(this, choice))
        return;
    const FormatTexts texts = textsFromChoice(choice);
    m_settings.setCategoryFormat(m_category->currentIndex(),
                                 textToFormat(texts.font, texts.style, texts.color, texts.size));
    showSelectedFormat();
}

void OptionsFormatPage::selectColour()
{
    const std::optional<TextFormat> format = m_settings.categoryFormat(m_category->currentIndex());
    if (!format)
        return;
    FontChoice choice = choiceFromFormat(*format);
    const QColor picked = dialogs().chooseColour(this, choice.colour);
    if (!picked.isValid())
        return;
    choice.colour = picked;
    const FormatTexts texts = textsFromChoice(choice);
    m_settings.setCategoryFormat(m_category->currentIndex(),
                                 textToFormat(texts.font, texts.style, texts.color, texts.size));
    showSelectedFormat();
}

bool OptionsFormatPage::apply()
{
    // The font field names the face in use; the stored face stays as stored.
    const int category = m_category->currentIndex();
    const std::optional<TextFormat> format = m_settings.categoryFormat(category);
    const std::string face = format ? formatToText(*format).font : m_font->text().toStdString();
    m_settings.setCategoryFormat(category,
                                 textToFormat(face, m_style->text().toStdString(),
                                              m_color->text().toStdString(), m_size->text().toStdString()));
    m_settings.ShowIndexBar = m_indexBar->isChecked();
    m_settings.saveSettings(m_profile);
    return true;
}

} // namespace parchly
