#include "app/options_dialog.h"

#include "app/options_format_page.h"
#include "app/options_regular_page.h"
#include "app/options_rfc_page.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace parchly {

OptionsDialog::OptionsDialog(RfcSettings& settings, Profile& profile, std::string& lastBrowsedFolder,
                             QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options (Changes take effect when applied)"));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    m_regular = new OptionsRegularPage(settings, profile, m_tabs);
    m_format = new OptionsFormatPage(settings, profile, m_tabs);
    m_rfc = new OptionsRfcPage(settings, profile, lastBrowsedFolder, m_tabs);
    m_tabs->addTab(m_regular, QStringLiteral("Regular"));
    m_tabs->addTab(m_format, QStringLiteral("Format"));
    m_tabs->addTab(m_rfc, QStringLiteral("RFC"));
    m_tabs->setCurrentIndex(kRegularPage);

    // No button is the default: Enter inside a page neither closes nor applies.
    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("okButton"));
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_apply = new QPushButton(QStringLiteral("&Apply"), this);
    m_apply->setObjectName(QStringLiteral("applyButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_ok, m_cancel, m_apply}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &OptionsDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, &OptionsDialog::applyCurrentPage);
}

void OptionsDialog::applyCurrentPage()
{
    switch (m_tabs->currentIndex()) {
    case kFormatPage:
        m_format->apply();
        break;
    case kRfcPage:
        m_rfc->apply();
        break;
    default:
        m_regular->apply();
        break;
    }
    emit applied();
}

void OptionsDialog::accept()
{
    m_regular->apply();
    m_format->apply();
    m_rfc->apply();
    emit applied();
    QDialog::accept();
}

} // namespace parchly
