#include "bookmarks/favorite_rfcs_dialog.h"

#include "bookmarks/bookmarks_host.h"
#include "bookmarks/favorite_line.h"
#include "bookmarks/numbered_list.h"
#include "bookmarks/stored_line_list.h"
#include "bookmarks/stored_path.h"
#include "platform/dialogs.h"
#include "settings/profile.h"

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

FavoriteRfcsDialog::FavoriteRfcsDialog(BookmarksHost& host, Profile& profile, QWidget* parent)
    : StoredListDialog(QStringLiteral("Favorite RFCs"), "favoriteList", parent)
    , m_host(host)
    , m_profile(profile)
{
    buildWidgets();
    const bool hasTabs = m_host.hasDocumentTabs();
    m_addActive->setEnabled(hasTabs);
    m_addAllOpened->setEnabled(hasTabs);
    for (const QString& path : favoriteRfcPaths(m_profile))
        appendStoredLine(list(), favoriteLine(path));
    updateSelectionButtons();
}

void FavoriteRfcsDialog::buildWidgets()
{
    list()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // The file names stand in a column of their own only in a fixed-pitch font.
    list()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    m_open = addButton(QStringLiteral("&Open"), "openButton");
    m_open->setDefault(true);
    m_addRfc = addButton(QStringLiteral("&Add RFC..."), "addRfcButton");
    m_addActive = addButton(QStringLiteral("Add Acti&ve"), "addActiveButton");
    m_addAllOpened = addButton(QStringLiteral("Add All O&pened"), "addAllOpenedButton");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(listAndButtons(m_open));
    resize(680, 320);

    connect(m_open, &QPushButton::clicked, this, &FavoriteRfcsDialog::openSelected);
    connect(m_addRfc, &QPushButton::clicked, this, &FavoriteRfcsDialog::addRfc);
    connect(m_addActive, &QPushButton::clicked, this, &FavoriteRfcsDialog::addActive);
    connect(m_addAllOpened, &QPushButton::clicked, this, &FavoriteRfcsDialog::addAllOpened);
    connect(list(), &QListWidget::itemDoubleClicked, this, &FavoriteRfcsDialog::openSelected);
}

// A failure to open one favourite (reported by the opening itself) does not
// stop the others, and the list is saved either way.
void FavoriteRfcsDialog::openSelected()
{
    for (int row : selectedRows(list()))
        m_host.openDocument(fromStoredPath(favoritePath(storedLineAt(list(), row))));
    save();
    accept();
}

// A chosen file is added even when listed already: choosing it is deliberate.
void FavoriteRfcsDialog::addRfc()
{
    const QString path = dialogs().openFileName(this, QStringLiteral("Open"), QString(),
                                                QStringLiteral("Txt Files (*.txt);;All Files (*)"));
    if (!path.isEmpty())
        appendStoredLine(list(), favoriteLine(toStoredPath(path)));
}

void FavoriteRfcsDialog::addActive()
{
    const QString path = m_host.activeDocumentPath();
    if (!path.isEmpty())
        addUnlessListed(path);
}

void FavoriteRfcsDialog::addAllOpened()
{
    for (const QString& path : m_host.openDocumentPaths())
        addUnlessListed(path);
}

void FavoriteRfcsDialog::addUnlessListed(const QString& localPath)
{
    const QString line = favoriteLine(toStoredPath(localPath));
    if (!holdsStoredLine(list(), line))
        appendStoredLine(list(), line);
}

QStringList favoriteRfcPaths(const Profile& profile)
{
    QStringList paths;
    for (const QString& storedPath : readNumberedList(profile, kSection, kKeyPrefix))
        paths << fromStoredPath(storedPath);
    return paths;
}

void FavoriteRfcsDialog::save()
{
    QStringList paths;
    for (const QString& line : storedLines(list()))
        paths << favoritePath(line);
    writeNumberedList(m_profile, kSection, kKeyPrefix, paths);
}

} // namespace parchly
