// The Favorite RFCs dialog: a kept list of RFC files, added by choosing them,
// from the active document or from every open one, removed, and opened any
// number at once. The list lives in the "FavoriteRFCs" section of the
// settings file.
#ifndef PARCHLY_COLLECTIONS_FAVORITE_RFCS_DIALOG_H
#define PARCHLY_COLLECTIONS_FAVORITE_RFCS_DIALOG_H

#include <QDialog>

class QListWidget;
class QPushButton;

namespace parchly {

class CollectionsHost;
class Profile;

class FavoriteRfcsDialog : public QDialog {
    Q_OBJECT
public:
    FavoriteRfcsDialog(CollectionsHost& host, Profile& profile, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* addRfcButton() const { return m_addRfc; }
    QPushButton* addActiveButton() const { return m_addActive; }
    QPushButton* addAllOpenedButton() const { return m_addAllOpened; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* exitButton() const { return m_exit; }

public slots:
    // "E&xit", Escape and the close box: save, then close.
    void reject() override;

private slots:
    void openSelected();
    void addRfc();
    void addActive();
    void addAllOpened();
    void removeSelected();
    void updateSelectionButtons();

private:
    void buildWidgets();
    void addUnlessListed(const QString& localPath);
    void save();

    CollectionsHost& m_host;
    Profile& m_profile;

    QListWidget* m_list = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_addRfc = nullptr;
    QPushButton* m_addActive = nullptr;
    QPushButton* m_addAllOpened = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_exit = nullptr;
};

} // namespace parchly

#endif
