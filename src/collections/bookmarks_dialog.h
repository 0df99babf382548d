// The Bookmarks dialog: takes the active view's caret as a named bookmark,
// lists the bookmarks of the active file (or of every file), removes them and
// goes to one. Bookmarks live in the "Bookmarks" section of the settings file.
#ifndef PARCHLY_COLLECTIONS_BOOKMARKS_DIALOG_H
#define PARCHLY_COLLECTIONS_BOOKMARKS_DIALOG_H

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace parchly {

class CollectionsHost;
class Profile;

class BookmarksDialog : public QDialog {
    Q_OBJECT
public:
    BookmarksDialog(CollectionsHost& host, Profile& profile, QWidget* parent = nullptr);

    QLineEdit* nameField() const { return m_name; }
    QLineEdit* locationField() const { return m_location; }
    QListWidget* list() const { return m_list; }
    QCheckBox* showAllBox() const { return m_showAll; }
    QPushButton* setButton() const { return m_set; }
    QPushButton* gotoButton() const { return m_goto; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* exitButton() const { return m_exit; }

public slots:
    // "E&xit", Escape and the close box: save, then close.
    void reject() override;

private slots:
    void fillList();
    void setBookmark();
    void removeBookmark();
    void gotoBookmark();
    void updateSelectionButtons();

private:
    void buildWidgets();
    void save();
    // Adds a stored bookmark, shown with its position counted from 1.
    void appendBookmark(const QString& storedText);

    CollectionsHost& m_host;
    Profile& m_profile;
    QString m_activeStoredPath; // empty without an active document
    QString m_storedLocation; // the Location field's text as it is stored
    QStringList m_kept; // other files' bookmarks while Show all is off

    QLineEdit* m_name = nullptr;
    QLineEdit* m_location = nullptr;
    QListWidget* m_list = nullptr;
    QCheckBox* m_showAll = nullptr;
    QPushButton* m_set = nullptr;
    QPushButton* m_goto = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_exit = nullptr;
};

// Keeps the active view's caret as a bookmark at once (Add Bookmark,
// Ctrl+D), named as the dialog names a new one. Gives the bookmark as the
// dialog shows it; empty when no document is active. A bookmark already
// kept is not added twice.
QString addBookmarkAtCaret(CollectionsHost& host, Profile& profile);

} // namespace parchly

#endif
