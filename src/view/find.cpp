#include "view/find.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace parchly {

QString findOutcomeText(FindOutcome outcome, const FindRequest& request)
{
    switch (outcome) {
    case kNotFound:
        return QStringLiteral("\"%1\" not found").arg(request.text);
    case kFoundAfterWrap:
        return request.down ? QStringLiteral("Passed the end, continued from the top")
                            : QStringLiteral("Passed the top, continued from the bottom");
    case kFound:
        break;
    }
    return QString();
}

FindBar::FindBar(QWidget* parent)
    : QWidget(parent)
    , m_text(new QLineEdit(this))
    , m_matchCase(new QCheckBox(QStringLiteral("Match c&ase"), this))
    , m_wholeWord(new QCheckBox(QStringLiteral("Whole wor&d"), this))
    , m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("findBar"));
    auto* label = new QLabel(QStringLiteral("Find:"), this);
    label->setBuddy(m_text);
    m_text->setClearButtonEnabled(true);
    auto* previous = new QToolButton(this);
    previous->setArrowType(Qt::UpArrow);
    previous->setToolTip(QStringLiteral("Previous match (Shift+F3)"));
    auto* next = new QToolButton(this);
    next->setArrowType(Qt::DownArrow);
    next->setToolTip(QStringLiteral("Next match (F3)"));
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("\u2715"));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Close the find bar (Escape)"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label);
    layout->addWidget(m_text, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_wholeWord);
    layout->addWidget(m_count);
    layout->addStretch();
    layout->addWidget(close);

    connect(m_text, &QLineEdit::textChanged, this, &FindBar::requestChanged);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindBar::requestChanged);
    connect(m_wholeWord, &QCheckBox::toggled, this, &FindBar::requestChanged);
    // Shift+Enter searches back, as in a browser's find bar.
    connect(m_text, &QLineEdit::returnPressed, this,
            [this] { emit searchRequested(!(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier)); });
    connect(next, &QToolButton::clicked, this, [this] { emit searchRequested(true); });
    connect(previous, &QToolButton::clicked, this, [this] { emit searchRequested(false); });
    connect(close, &QToolButton::clicked, this, &FindBar::dismiss);
    hide();
}

FindRequest FindBar::request(bool down) const
{
    return {m_text->text(), m_matchCase->isChecked(), m_wholeWord->isChecked(), down};
}

void FindBar::open(const QString& text)
{
    if (!text.isEmpty())
        m_text->setText(text);
    show();
    m_text->selectAll();
    m_text->setFocus();
}

void FindBar::setMatchCount(int current, int count, bool complete)
{
    if (m_text->text().isEmpty())
        m_count->clear();
    else if (!complete)
        m_count->setText(QStringLiteral("%1 matches so far").arg(count));
    else if (current >= 0)
        m_count->setText(QStringLiteral("%1 of %2").arg(current + 1).arg(count));
    else
        m_count->setText(count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count));
}

void FindBar::dismiss()
{
    hide();
    emit closed();
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        dismiss();
    } else if (event->key() == Qt::Key_F3) {
        emit searchRequested(!(event->modifiers() & Qt::ShiftModifier));
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

FindDialog::FindDialog(const FindRequest& initial, QWidget* parent)
    : QDialog(parent)
    , m_text(new QLineEdit(initial.text, this))
    , m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this))
    , m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this))
    , m_up(new QRadioButton(QStringLiteral("&Up"), this))
    , m_down(new QRadioButton(QStringLiteral("&Down"), this))
    , m_findNext(new QPushButton(QStringLiteral("&Find Next"), this))
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
