// Find and Find Next over the reading view's text: the request, a modeless
// find dialog (text, whole word, match case, up or down), the find bar and
// the notes on a search's outcome. The matches are found by MatchScan.
#ifndef PARCHLY_VIEW_FIND_H
#define PARCHLY_VIEW_FIND_H

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace parchly {

struct FindRequest {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

enum FindOutcome { kNotFound = 0, kFound, kFoundAfterWrap };

// The status-bar note for a search's outcome; empty for a plain match.
QString findOutcomeText(FindOutcome outcome, const FindRequest& request);

// The find bar at the bottom of a document window: the text, match case,
// whole word, the number of matches, previous and next. Escape closes it.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    FindRequest request(bool down) const;
    // Shows the bar with `text` (when not empty) selected for typing over.
    void open(const QString& text);
    // "k of N" while match k (0-based `current`) is selected, else "N
    // matches"; "N matches so far" while they are still being counted.
    void setMatchCount(int current, int count, bool complete);
    // Hides the bar and says so (Escape, its close button).
    void dismiss();

    QLineEdit* textEdit() const { return m_text; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QLabel* countLabel() const { return m_count; }

signals:
    // Searching forward (Enter, Next) or back (Shift+Enter, Previous).
    void searchRequested(bool down);
    // The text or an option changed: the matches are counted again.
    void requestChanged();
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QLabel* m_count;
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(const FindRequest& initial, QWidget* parent = nullptr);

    FindRequest request() const;

    QLineEdit* textEdit() const { return m_text; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }
    QRadioButton* downButton() const { return m_down; }
    QPushButton* findNextButton() const { return m_findNext; }

signals:
    void findRequested(const parchly::FindRequest& request);

public slots:
    void findNext();

private:
    QLineEdit* m_text;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
};

} // namespace parchly

#endif
