// The Options dialog's "RFC" page: the download addresses, the local
// folder of the RFC files, and when the program may look for new RFCs.
#ifndef PARCHLY_APP_OPTIONS_RFC_PAGE_H
#define PARCHLY_APP_OPTIONS_RFC_PAGE_H

#include <QWidget>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace parchly {

class Profile;
struct RfcSettings;

class OptionsRfcPage : public QWidget {
    Q_OBJECT
public:
    // `lastBrowsedFolder` is where the folder browser starts and what it
    // remembers for the rest of the run.
    OptionsRfcPage(RfcSettings& settings, Profile& profile, std::string& lastBrowsedFolder,
                   QWidget* parent = nullptr);

    // Stores the page into the settings and saves them; false, storing
    // nothing, when the user declines an empty local path.
    bool apply();

    QLineEdit* indexUrlField() const { return m_indexUrl; }
    QLineEdit* errataUrlField() const { return m_errataUrl; }
    QLineEdit* collectionUrlField() const { return m_collectionUrl; }
    QLineEdit* localPathField() const { return m_localPath; }
    QPushButton* browseButton() const { return m_browse; }
    QCheckBox* keepArchiveBox() const { return m_keepArchive; }
    QComboBox* checkForNewBox() const { return m_checkForNew; }
    QCheckBox* fetchMissingBox() const { return m_fetchMissing; }

private slots:
    void browseForFolder();

private:
    RfcSettings& m_settings;
    Profile& m_profile;
    std::string& m_lastBrowsedFolder;
    QLineEdit* m_indexUrl = nullptr;
    QLineEdit* m_errataUrl = nullptr;
    QLineEdit* m_collectionUrl = nullptr;
    QLineEdit* m_localPath = nullptr;
    QPushButton* m_browse = nullptr;
    QCheckBox* m_keepArchive = nullptr;
    QLineEdit* m_rfcFolderUrl = nullptr;
    QLineEdit* m_feedUrl = nullptr;
    QComboBox* m_checkForNew = nullptr;
    QCheckBox* m_fetchMissing = nullptr;
};

} // namespace parchly

#endif
