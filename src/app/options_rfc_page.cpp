#include "app/options_rfc_page.h"

#include "settings/settings.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
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
    m_errataUrl = textField(this, "errataUrlField", m_settings.ErrataDownloadUrl);
    m_collectionUrl->setToolTip(QStringLiteral("An rsync module (rsync://…), or a .zip or .tar.gz archive"));
    m_rfcFolderUrl = textField(this, "rfcFolderUrlField", m_settings.RfcFileDownloadUrl);
    m_rfcFolderUrl->setToolTip(QStringLiteral("The web folder holding rfcNNNN.txt, used for single RFCs "
                                              "and when rsync cannot serve"));
    m_feedUrl = textField(this, "feedUrlField", m_settings.NewRfcFeedUrl);
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
    layout->addRow(QStringLiteral("Address of single RFCs:"), m_rfcFolderUrl);
    layout->addRow(QStringLiteral("Feed of new RFCs:"), m_feedUrl);
    layout->addRow(QStringLiteral("Address of errata.json:"), m_errataUrl);
    layout->addRow(QStringLiteral("Local Path of RFCs:"), pathRow);

    connect(m_browse, &QPushButton::clicked, this, &OptionsRfcPage::browseForFolder);

    m_keepArchive =
        new QCheckBox(QStringLiteral("&Keep the RFC Collection archive after unpacking it"), this);
    m_keepArchive->setObjectName(QStringLiteral("keepArchiveBox"));
    m_keepArchive->setChecked(m_settings.KeepCollectionArchive);
    layout->addRow(m_keepArchive);

    // No network access happens unless the reader asks or switches this on.
    m_checkForNew = new QComboBox(this);
    m_checkForNew->setObjectName(QStringLiteral("checkForNewBox"));
    m_checkForNew->addItems({QStringLiteral("Never"), QStringLiteral("At start-up, once a day"),
                             QStringLiteral("At start-up, once a week")});
    m_checkForNew->setCurrentIndex(static_cast<int>(m_settings.CheckForNewRfcs));
    layout->addRow(QStringLiteral("Check for new RFCs:"), m_checkForNew);
    m_fetchMissing = new QCheckBox(QStringLiteral("&Fetch a missing RFC when a link needs it"), this);
    m_fetchMissing->setObjectName(QStringLiteral("fetchMissingBox"));
    m_fetchMissing->setChecked(m_settings.FetchMissingRfcOnLink);
    layout->addRow(m_fetchMissing);
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
    m_settings.ErrataDownloadUrl = m_errataUrl->text().toStdString();
    m_settings.RfcFileDownloadUrl = m_rfcFolderUrl->text().toStdString();
    m_settings.NewRfcFeedUrl = m_feedUrl->text().toStdString();
    m_settings.KeepCollectionArchive = m_keepArchive->isChecked();
    m_settings.CheckForNewRfcs = static_cast<NewRfcCheck>(m_checkForNew->currentIndex());
    m_settings.FetchMissingRfcOnLink = m_fetchMissing->isChecked();
    m_settings.saveSettings(m_profile);
    return true;
}

} // namespace parchly
