// What the bookmarks and favourites dialogs share: a list of stored lines
// beside a column of buttons, whose action (Go To, Open) and Remove follow
// the selection, ending in Close. Close, Escape and the close box save the
// list, then close.
#ifndef PARCHLY_BOOKMARKS_STORED_LIST_DIALOG_H
#define PARCHLY_BOOKMARKS_STORED_LIST_DIALOG_H

#include <QDialog>

class QBoxLayout;
class QListWidget;
class QPushButton;

namespace parchly {

class StoredListDialog : public QDialog {
    Q_OBJECT
public:
    QListWidget* list() const { return m_list; }
    QPushButton* removeButton() const { return m_remove; }
    QPushButton* exitButton() const { return m_exit; }

public slots:
    void reject() override;

protected:
    StoredListDialog(const QString& title, const char* listName, QWidget* parent);

    // A button of the column, in the order of the calls; Remove and Close
    // come last.
    QPushButton* addButton(const QString& text, const char* name);
    // The list and the finished column of buttons; `action` is enabled, as
    // Remove is, while an entry is selected.
    QBoxLayout* listAndButtons(QPushButton* action);
    void updateSelectionButtons();
    // Writes the list into the settings file.
    virtual void save() = 0;

private:
    void removeSelected();

    QListWidget* m_list;
    QPushButton* m_action = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_exit = nullptr;
    QList<QPushButton*> m_buttons;
};

} // namespace parchly

#endif
