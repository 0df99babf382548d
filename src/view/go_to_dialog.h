// The Go TO dialog: go to a line or a page. The kind and number of the last
// successful choice are kept for the whole run and offered again in every
// view.
#ifndef PARCHLY_VIEW_GO_TO_DIALOG_H
#define PARCHLY_VIEW_GO_TO_DIALOG_H

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace parchly {

enum GoToKindId : int32_t { kGoToLine = 0, kGoToPage = 1 };

struct GoToKind {
    int32_t kind = kGoToLine;
    int32_t minimum = 1;
    int32_t maximum = 1;
    bool enabled = true;
    QString name;
    QString label;
    QString description;
    QString caption;
};

// The Line and Page kinds for a text of `lineCount` shown lines and
// `pageCount` pages; Page is disabled for the RFC index.
std::vector<GoToKind> goToKinds(int32_t lineCount, int32_t pageCount, bool isIndex);

// The last successful Go TO of the run (both 0 at start).
struct GoToChoice {
    int32_t kind = kGoToLine;
    int32_t number = 0;
};

class GoToDialog : public QDialog {
    Q_OBJECT
public:
    // Offers `last` first, and keeps an accepted choice there.
    GoToDialog(std::vector<GoToKind> kinds, GoToChoice& last, QWidget* parent = nullptr);

    // The choice accepted with "&Go To".
    GoToChoice choice() const { return m_choice; }

    QListWidget* kindList() const { return m_kinds; }
    QLineEdit* numberEdit() const { return m_number; }
    QLabel* promptLabel() const { return m_label; }
    QLabel* descriptionLabel() const { return m_description; }
    QPushButton* goToButton() const { return m_goTo; }

public slots:
    // Shows the selected kind (the first when none is selected).
    void applyKind();
    // Checks the number against the kind's range: remembers the choice and
    // accepts, or reports the range and stays open.
    void goTo();

private:
    std::vector<GoToKind> m_kindTable;
    GoToChoice m_choice;
    GoToChoice& m_last;
    QListWidget* m_kinds;
    QLabel* m_label;
    QLineEdit* m_number;
    QLabel* m_description;
    QPushButton* m_goTo;
};

} // namespace parchly

#endif
