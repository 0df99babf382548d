#include "bookmarks/stored_list_dialog.h"

#include "bookmarks/stored_line_list.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parchly {

StoredListDialog::StoredListDialog(const QString& title, const char* listName, QWidget* parent)
    : QDialog(parent)
    , m_list(new QListWidget(this))
{
    setWindowTitle(title);
    m_list->setObjectName(QString::fromLatin1(listName));
    connect(m_list, &QListWidget::itemSelectionChanged, this, &StoredListDialog::updateSelectionButtons);
}

QPushButton* StoredListDialog::addButton(const QString& text, const char* name)
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    m_buttons << button;
    return button;
}

QBoxLayout* StoredListDialog::listAndButtons(QPushButton* action)
{
    m_action = action;
    m_remove = addButton(QStringLiteral("&Remove"), "removeButton");
    m_exit = addButton(QStringLiteral("&Close"), "exitButton");
    connect(m_remove, &QPushButton::clicked, this, &StoredListDialog::removeSelected);
    connect(m_exit, &QPushButton::clicked, this, &StoredListDialog::reject);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : m_buttons)
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout;
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    return layout;
}

void StoredListDialog::updateSelectionButtons()
{
    if (!m_remove)
        return;
    const bool selected = m_list->count() > 0 && !m_list->selectedItems().isEmpty();
    m_remove->setEnabled(selected);
    m_action->setEnabled(selected);
}

void StoredListDialog::removeSelected()
{
    const QList<int> rows = selectedRows(m_list);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        delete m_list->takeItem(*row);
}

void StoredListDialog::reject()
{
    save();
    QDialog::reject();
}

} // namespace parchly
