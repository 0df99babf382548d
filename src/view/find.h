// Find and Find Next over the reading view's text: a modeless find dialog
// (text, whole word, match case, up or down) and the search itself.
#ifndef PARCHLY_VIEW_FIND_H
#define PARCHLY_VIEW_FIND_H

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace parchly {

struct FindRequest {
    QString text;
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;
};

// Selects the next match after the selection (or the previous one before
// it, searching up), going round the text once; false, with the selection
// unchanged, when the text holds no match.
bool findText(QPlainTextEdit& edit, const FindRequest& request);

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
