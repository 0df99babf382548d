#include "view/go_to_dialog.h"

#include "platform/dialogs.h"
#include "settings/leading_integer.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parchly {

std::vector<GoToKind> goToKinds(int32_t lineCount, int32_t pageCount, bool isIndex)
{
    return {
        {kGoToLine, 1, lineCount, true, QStringLiteral("Line"), QStringLiteral("Enter line number"),
         QStringLiteral("Enter the line number to go to"), QStringLiteral("Line Number")},
        {kGoToPage, 1, pageCount, !isIndex, QStringLiteral("Page"), QStringLiteral("Enter page number"),
         QStringLiteral("Enter the page number to go to"), QStringLiteral("Page Number")},
    };
}

GoToDialog::GoToDialog(std::vector<GoToKind> kinds, GoToChoice& last, QWidget* parent)
    : QDialog(parent)
    , m_kindTable(std::move(kinds))
    , m_last(last)
    , m_kinds(new QListWidget(this))
    , m_label(new QLabel(QStringLiteral("&Enter line number:"), this))
    , m_number(new QLineEdit(this))
    , m_description(new QLabel(this))
    , m_goTo(new QPushButton(QStringLiteral("&Go To"), this))
{
    setWindowTitle(QStringLiteral("Go To"));
    auto* what = new QLabel(QStringLiteral("Go to &what"), this);
    what->setBuddy(m_kinds);
    m_label->setBuddy(m_number);
    m_description->setWordWrap(true);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    m_goTo->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(what, 0, 0);
    layout->addWidget(m_kinds, 1, 0, 3, 1);
    layout->addWidget(m_label, 0, 1);
    layout->addWidget(m_number, 1, 1);
    layout->addWidget(m_description, 2, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_goTo);
    buttons->addWidget(close);
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2, 4, 1);

    for (const GoToKind& kind : m_kindTable)
        m_kinds->addItem(kind.name);
    if (last.number != 0)
        m_number->setText(QString::number(last.number));
    m_kinds->setCurrentRow(last.kind);
    applyKind();

    connect(m_kinds, &QListWidget::currentRowChanged, this, &GoToDialog::applyKind);
    connect(m_goTo, &QPushButton::clicked, this, &GoToDialog::goTo);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void GoToDialog::applyKind()
{
    int row = m_kinds->currentRow();
    if (row < 0 || row >= static_cast<int>(m_kindTable.size())) {
        row = 0;
        QSignalBlocker quiet(m_kinds);
        m_kinds->setCurrentRow(row);
    }
    if (m_kindTable.empty())
        return;
    const GoToKind& kind = m_kindTable[row];
    m_number->setEnabled(kind.enabled);
    m_goTo->setEnabled(kind.enabled);
    m_label->setText(kind.label);
    m_description->setText(kind.description);
    m_number->setFocus();
}

void GoToDialog::goTo()
{
    const int row = m_kinds->currentRow();
    if (row < 0 || row >= static_cast<int>(m_kindTable.size())) {
        dialogs().message(this, QStringLiteral("Unknown selection"));
        return;
    }
    const GoToKind& kind = m_kindTable[row];
    const int number = leadingInteger(m_number->text().toStdString());
    if (number < kind.minimum || number > kind.maximum) {
        dialogs().message(this,
                          QStringLiteral("'%1' must be between %2 and %3")
                              .arg(kind.caption)
                              .arg(kind.minimum)
                              .arg(kind.maximum));
        return;
    }
    m_choice = {kind.kind, number};
    m_last = m_choice;
    accept();
}

} // namespace parchly
