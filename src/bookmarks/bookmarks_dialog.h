// The Bookmarks dialog: takes the active view's caret as a named bookmark,
// lists the bookmarks of the active file (or of every file), removes them and
// goes to one. Bookmarks live in the "Bookmarks" section of the settings file.
#ifndef PARCHLY_BOOKMARKS_BOOKMARKS_DIALOG_H
#define PARCHLY_BOOKMARKS_BOOKMARKS_DIALOG_H

#include "bookmarks/stored_list_dialog.h"
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace parchly {

class BookmarksHost;
class Profile;

class BookmarksDialog : public StoredListDialog {
    Q_OBJECT
public:
    BookmarksDialog(BookmarksHost& host, Profile& profile, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return m_name; }
    QLineEdit* locationField() const { return m_location; }
    QCheckBox* showAllBox() const { return m_showAll; }
    QPushButton* setButton() const { return m_set; }
    QPushButton* goToButton() const { return m_goTo; }

private slots:
    void fillList();
    void setBookmark();
    void goToBookmark();

private:
    void buildWidgets();
    void save() override;
    // Adds a stored bookmark, shown with its position counted from 1.
    void appendBookmark(const QString& storedText);

    BookmarksHost& m_host;
    Profile& m_profile;
    QString m_activeStoredPath; // empty without an active document
    QString m_storedLocation; // the Location field's text as it is stored
    QStringList m_kept; // other files' bookmarks while Show all is off

    QLineEdit* m_name = nullptr;
    QLineEdit* m_location = nullptr;
    QCheckBox* m_showAll = nullptr;
    QPushButton* m_set = nullptr;
    QPushButton* m_goTo = nullptr;
};

// Keeps the active view's caret as a bookmark at once (Add Bookmark,
// Ctrl+D), named as the dialog names a new one. Gives the bookmark as the
// dialog shows it; empty when no document is active. A bookmark already
// kept is not added twice.
QString addBookmarkAtCaret(BookmarksHost& host, Profile& profile);

} // namespace parchly

#endif
