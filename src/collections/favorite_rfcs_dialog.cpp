#include "collections/favorite_rfcs_dialog.h"

#include "collections/collections_host.h"
#include "collections/favorite_line.h"
#include "collections/numbered_list.h"
#include "collections/stored_line_list.h"
#include "collections/stored_path.h"
#include "platform/dialogs.h"
#include "platform/profile.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parchly {

namespace {

constexpr const char* kSection = "FavoriteRFCs";
constexpr const char* kKeyPrefix = "RFC";

} // namespace

CFavoriteRfcsDlg::CFavoriteRfcsDlg(CollectionsHost& host, Profile& profile, QWidget* parent)
    : QDialog(parent), m_host(host), m_profile(profile)
{
    buildWidgets();
    const bool hasTabs = m_host.hasDocumentTabs();
    m_addActive->setEnabled(hasTabs);
    m_addAllOpened->setEnabled(hasTabs);
    for (const QString& storedPath : readNumberedList(m_profile, kSection, kKeyPrefix))
        appendStoredLine(m_list, FavoriteLine(storedPath));
    updateSelectionButtons();
}

void CFavoriteRfcsDlg::buildWidgets()
{
    setWindowTitle(QStringLiteral("Favorite RFCs"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("favoriteList"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The file names stand in a column of their own only in a fixed-pitch font.
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto makeButton = [this](const char* text, const char* name) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        return button;
    };
    m_open = makeButton("&Open", "openButton");
    m_open->setDefault(true);
    m_addRfc = makeButton("&Add RFC...", "addRfcButton");
    m_addActive = makeButton("Add Acti&ve", "addActiveButton");
    m_addAllOpened = makeButton("Add All O&pened", "addAllOpenedButton");
    m_remove = makeButton("&Remove", "removeButton");
    m_exit = makeButton("E&xit", "exitButton");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_open, m_addRfc, m_addActive, m_addAllOpened, m_remove, m_exit})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(680, 320);

    connect(m_open, &QPushButton::clicked, this, &CFavoriteRfcsDlg::openSelected);
    connect(m_addRfc, &QPushButton::clicked, this, &CFavoriteRfcsDlg::addRfc);
    connect(m_addActive, &QPushButton::clicked, this, &CFavoriteRfcsDlg::addActive);
    connect(m_addAllOpened, &QPushButton::clicked, this, &CFavoriteRfcsDlg::addAllOpened);
    connect(m_remove, &QPushButton::clicked, this, &CFavoriteRfcsDlg::removeSelected);
    connect(m_exit, &QPushButton::clicked, this, &CFavoriteRfcsDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CFavoriteRfcsDlg::openSelected);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CFavoriteRfcsDlg::updateSelectionButtons);
}

// A failure to open one favourite (reported by the opening itself) does not
// stop the others, and the list is saved either way.
void CFavoriteRfcsDlg::openSelected()
{
    for (int row : selectedRows(m_list))
        m_host.openDocument(fromStoredPath(FavoritePath(storedLineAt(m_list, row))));
    save();
    accept();
}

// A chosen file is added even when listed already: choosing it is deliberate.
void CFavoriteRfcsDlg::addRfc()
{
    const QString path = dialogs().openFileName(this, QStringLiteral("Open"), QString(),
                                                QStringLiteral("Txt Files (*.txt);;All Files (*)"));
    if (!path.isEmpty())
        appendStoredLine(m_list, FavoriteLine(toStoredPath(path)));
}

void CFavoriteRfcsDlg::addActive()
{
    const QString path = m_host.activeDocumentPath();
    if (!path.isEmpty())
        addUnlessListed(path);
}

void CFavoriteRfcsDlg::addAllOpened()
{
    for (const QString& path : m_host.openDocumentPaths())
        addUnlessListed(path);
}

void CFavoriteRfcsDlg::addUnlessListed(const QString& localPath)
{
    const QString line = FavoriteLine(toStoredPath(localPath));
    if (!holdsStoredLine(m_list, line))
        appendStoredLine(m_list, line);
}

void CFavoriteRfcsDlg::removeSelected()
{
    const QList<int> rows = selectedRows(m_list);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        delete m_list->takeItem(*row);
}

void CFavoriteRfcsDlg::updateSelectionButtons()
{
    const bool selected = m_list->count() > 0 && !m_list->selectedItems().isEmpty();
    m_remove->setEnabled(selected);
    m_open->setEnabled(selected);
}

void CFavoriteRfcsDlg::reject()
{
    save();
    QDialog::reject();
}

void CFavoriteRfcsDlg::save()
{
    QStringList paths;
    for (const QString& line : storedLines(m_list))
        paths << FavoritePath(line);
    writeNumberedList(m_profile, kSection, kKeyPrefix, paths);
}

} // namespace parchly
