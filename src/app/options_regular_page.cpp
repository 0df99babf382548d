#include "app/options_regular_page.h"

#include "app/options_level_counts.h"
#include "settings/settings.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace parchly {

namespace {
constexpr int kIndent = 20;
}

OptionsRegularPage::OptionsRegularPage(RfcSettings& settings, Profile& profile, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_profile(profile)
{
    auto* layout = new QVBoxLayout(this);
    addBox("Open the RFC index at start-up", "OpenRfcIndexWhenStarted", &RfcSettings::OpenRfcIndexWhenStarted,
           false);
    addBox("Build the Structure view from the text when there is no table of contents",
           "BuildStructureFromText", &RfcSettings::BuildStructureFromText, false);
    addBox("Disable hyperlink of all entries in Table of Contents", "DisableContentEntryLink",
           &RfcSettings::DisableContentEntryLink, false);
    addBox("Disable hyperlink of invalid entries of Table of Contents", "DisableInvalidContentEntryLink",
           &RfcSettings::DisableInvalidContentEntryLink, true);
    addBox("Hide invalid entries of Table of Contents in Structure View", "HideInvalidContentEntryInTreeView",
           &RfcSettings::HideInvalidContentEntryInTreeView, true);
    addBox("Disable analysis of references", "DisableReferenceAnalysis",
           &RfcSettings::DisableReferenceAnalysis, false);
    addBox("Disable hyperlink to all references", "DisableReferenceLink", &RfcSettings::DisableReferenceLink,
           true);
    addBox("Jump to RFC info in Index View while clicking on index (instead of opening RFC)",
           "JumpToRfcIndexInsteadOfFile", &RfcSettings::JumpToRfcIndexInsteadOfFile, false);
    addBox("Show plain text (disable hyper-RFC)", "UseOnlyDefaultText", &RfcSettings::UseOnlyDefaultText,
           false);
    addBox("Hide Headers and Footers in all RFCs", "DisableHeaderAndFooterInAllFiles",
           &RfcSettings::DisableHeaderAndFooterInAllFiles, false);
    addBox("Hide blank lines near headers and footers", "DisableSpacesNearHeaderAndFooter",
           &RfcSettings::DisableSpacesNearHeaderAndFooter, false);
    addBox("Show page separators", "ShowPageSeparator", &RfcSettings::ShowPageSeparator, false);
    addBox("Show text on toolbar buttons", "LargeToolBarButtonWithText",
           &RfcSettings::LargeToolBarButtonWithText, false);

    m_levelCounts = new QLineEdit(formatLevelCounts(m_settings.IndexLevelCounts), this);
    m_levelCounts->setObjectName(QStringLiteral("IndexLevelCounts"));
    auto* label = new QLabel(QStringLiteral("Node count in each RFC Index Tree level:"), this);
    label->setBuddy(m_levelCounts);
    layout->addWidget(label);
    layout->addWidget(m_levelCounts);
    layout->addStretch();

    connect(box("DisableContentEntryLink"), &QCheckBox::clicked, this,
            &OptionsRegularPage::applyDependentOptions);
    connect(box("DisableReferenceAnalysis"), &QCheckBox::clicked, this,
            &OptionsRegularPage::applyDependentOptions);
    applyDependentOptions();
}

QCheckBox* OptionsRegularPage::addBox(const char* label, const char* fieldName, bool RfcSettings::*field,
                                      bool indented)
{
    auto* checkBox = new QCheckBox(QString::fromLatin1(label), this);
    checkBox->setObjectName(QString::fromLatin1(fieldName));
    checkBox->setChecked(m_settings.*field);
    auto* row = new QHBoxLayout;
    if (indented)
        row->addSpacing(kIndent);
    row->addWidget(checkBox);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    m_bindings.append({checkBox, field});
    return checkBox;
}

QCheckBox* OptionsRegularPage::box(const char* fieldName) const
{
    return findChild<QCheckBox*>(QString::fromLatin1(fieldName));
}

void OptionsRegularPage::applyDependentOptions()
{
    auto lockUnder = [this](const char* master, std::initializer_list<const char*> dependents) {
        const bool on = box(master)->isChecked();
        for (const char* dependent : dependents) {
            if (on)
                box(dependent)->setChecked(true);
            box(dependent)->setEnabled(!on);
        }
    };
    lockUnder("DisableReferenceAnalysis", {"DisableReferenceLink"});
    lockUnder("DisableContentEntryLink",
              {"HideInvalidContentEntryInTreeView", "DisableInvalidContentEntryLink"});
}

bool OptionsRegularPage::apply()
{
    std::vector<int32_t> counts;
    QString message;
    if (!parseLevelCounts(m_levelCounts->text(), counts, message)) {
        dialogs().message(this, message);
        return false;
    }
    m_settings.IndexLevelCounts = counts;
    for (const Binding& binding : m_bindings)
        m_settings.*binding.field = binding.box->isChecked();
    m_settings.saveSettings(m_profile);
    return true;
}

} // namespace parchly
