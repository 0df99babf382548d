#include "app/options_rfc_page.h"

#include "settings/settings.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace parchly {

namespace {

QLineEdit* textField(QWidget* parent, const char* name, const std::string& text)
{
    auto* field = new QLineEdit(QString::fromStdString(text), parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

} // namespace

OptionsRfcPage::OptionsRfcPage(RfcSettings& settings, Profile& profile, std::string& lastBrowsedFolder,
                               QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_profile(profile)
    , m_lastBrowsedFolder(lastBrowsedFolder)
{
    m_indexUrl = textField(this, "indexUrlField", m_settings.RfcIndexDownloadUrl);
    m_collectionUrl = textField(this, "collectionUrlField", m_settings.RfcDownloadUrl);
    m_localPath = textField(this, "localPathField", m_settings.RfcRootPath);
    m_browse = new QPushButton(QStringLiteral("Browse..."), this);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->setAutoDefault(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_localPath, 1);
    pathRow->addWidget(m_browse);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Address of the RFC index:"), m_indexUrl);
    layout->addRow(QStringLiteral("Address of the RFC collection:"), m_collectionUrl);
    layout->addRow(QStringLiteral("Local Path of RFCs:"), pathRow);

    connect(m_browse, &QPushButton::clicked, this, &OptionsRfcPage::browseForFolder);

    m_keepArchive =
        new QCheckBox(QStringLiteral("&Keep the RFC Collection archive after unpacking it"), this);
    m_keepArchive->setObjectName(QStringLiteral("keepArchiveBox"));
    m_keepArchive->setChecked(m_settings.KeepCollectionArchive);
    layout->addRow(m_keepArchive);
}

void OptionsRfcPage::browseForFolder()
{
    const QString folder = dialogs().folderName(this, QStringLiteral("Choose the folder of local RFCs"),
                                                QString::fromStdString(m_lastBrowsedFolder));
    if (folder.isEmpty())
        return;
    m_lastBrowsedFolder = folder.toStdString();
    m_localPath->setText(folder);
}

bool OptionsRfcPage::apply()
{
    const std::string path = normaliseRootPath(m_localPath->text().toStdString());
    m_localPath->setText(QString::fromStdString(path));
    if (path.empty()
        && dialogs().message(this, QStringLiteral("Empty Local Path"), MessageButtons::OkCancel)
            == MessageAnswer::Cancel)
        return false;
    m_settings.RfcRootPath = path;
    m_settings.RfcDownloadUrl = m_collectionUrl->text().toStdString();
    m_settings.RfcIndexDownloadUrl = m_indexUrl->text().toStdString();
    m_settings.KeepCollectionArchive = m_keepArchive->isChecked();
    m_settings.saveSettings(m_profile);
    return true;
}

} // namespace parchly
