// The Favorite RFCs dialog: a kept list of RFC files, added by choosing them,
// from the active document or from every open one, removed, and opened any
// number at once. The list lives in the "FavoriteRFCs" section of the
// settings file.
#ifndef PARCHLY_BOOKMARKS_FAVORITE_RFCS_DIALOG_H
#define PARCHLY_BOOKMARKS_FAVORITE_RFCS_DIALOG_H

#include "bookmarks/stored_list_dialog.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace parchly {

class BookmarksHost;
class Profile;

class FavoriteRfcsDialog : public StoredListDialog {
    Q_OBJECT
public:
    FavoriteRfcsDialog(BookmarksHost& host, Profile& profile, QWidget* parent = nullptr);

    QPushButton* openButton() const { return m_open; }
    QPushButton* addRfcButton() const { return m_addRfc; }
    QPushButton* addActiveButton() const { return m_addActive; }
    QPushButton* addAllOpenedButton() const { return m_addAllOpened; }

private slots:
    void openSelected();
    void addRfc();
    void addActive();
    void addAllOpened();

private:
    void buildWidgets();
    void addUnlessListed(const QString& localPath);
    void save() override;

    BookmarksHost& m_host;
    Profile& m_profile;

    QPushButton* m_open = nullptr;
    QPushButton* m_addRfc = nullptr;
    QPushButton* m_addActive = nullptr;
    QPushButton* m_addAllOpened = nullptr;
};

// The favourite RFCs' paths as the settings file keeps them, with "/"
// separators.
QStringList favoriteRfcPaths(const Profile& profile);

} // namespace parchly

#endif
