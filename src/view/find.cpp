#include "view/find.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

namespace parchly {

bool findText(QPlainTextEdit& edit, const FindRequest& request)
{
    if (request.text.isEmpty())
        return false;
    QTextDocument::FindFlags flags;
    if (request.matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (request.wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (!request.down)
        flags |= QTextDocument::FindBackward;

    QTextDocument* document = edit.document();
    const QTextCursor current = edit.textCursor();
    QTextCursor from(document);
    from.setPosition(request.down ? current.selectionEnd() : current.selectionStart());
    QTextCursor found = document->find(request.text, from, flags);
    if (found.isNull()) {
        QTextCursor round(document);
        round.movePosition(request.down ? QTextCursor::Start : QTextCursor::End);
        found = document->find(request.text, round, flags);
    }
    if (found.isNull())
        return false;
    edit.setTextCursor(found);
    return true;
}

FindDialog::FindDialog(const FindRequest& initial, QWidget* parent)
    : QDialog(parent), m_text(new QLineEdit(initial.text, this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      m_up(new QRadioButton(QStringLiteral("&Up"), this)), m_down(new QRadioButton(QStringLiteral("&Down"), this)),
      m_findNext(new QPushButton(QStringLiteral("&Find Next"), this))
{
    setWindowTitle(QStringLiteral("Find"));
    m_wholeWord->setChecked(initial.wholeWord);
    m_matchCase->setChecked(initial.matchCase);
    (initial.down ? m_down : m_up)->setChecked(true);
    m_findNext->setDefault(true);
    m_findNext->setEnabled(!initial.text.isEmpty());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);

    auto* what = new QLabel(QStringLiteral("Fi&nd what:"), this);
    what->setBuddy(m_text);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    auto* layout = new QGridLayout(this);
    layout->addWidget(what, 0, 0);
    layout->addWidget(m_text, 0, 1, 1, 2);
    layout->addWidget(m_findNext, 0, 3);
    layout->addWidget(m_wholeWord, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2, 2, 1);
    layout->addWidget(cancel, 1, 3);
    layout->addWidget(m_matchCase, 2, 0, 1, 2);

    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNext->setEnabled(!text.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

FindRequest FindDialog::request() const
{
    return {m_text->text(), m_matchCase->isChecked(), m_wholeWord->isChecked(), m_down->isChecked()};
}

void FindDialog::findNext()
{
    if (!m_text->text().isEmpty())
        emit findRequested(request());
}

} // namespace parchly
