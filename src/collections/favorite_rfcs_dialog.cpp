#include "collections/favorite_rfcs_dialog.h"

#include "collections/collections_host.h"
#include "collections/favorite_line.h"
#include "collections/numbered_list.h"
#include "collections/stored_line_list.h"
#include "collections/stored_path.h"
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

FavoriteRfcsDialog::FavoriteRfcsDialog(CollectionsHost& host, Profile& profile, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_profile(profile)
{
    buildWidgets();
    const bool hasTabs = m_host.hasDocumentTabs();
    m_addActive->setEnabled(hasTabs);
    m_addAllOpened->setEnabled(hasTabs);
    for (const QString& storedPath : readNumberedList(m_profile, kSection, kKeyPrefix))
        appendStoredLine(m_list, favoriteLine(storedPath));
    updateSelectionButtons();
}

void FavoriteRfcsDialog::buildWidgets()
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

    connect(m_open, &QPushButton::clicked, this, &FavoriteRfcsDialog::openSelected);
    connect(m_addRfc, &QPushButton::clicked, this, &FavoriteRfcsDialog::addRfc);
    connect(m_addActive, &QPushButton::clicked, this, &FavoriteRfcsDialog::addActive);
    connect(m_addAllOpened, &QPushButton::clicked, this, &FavoriteRfcsDialog::addAllOpened);
    connect(m_remove, &QPushButton::clicked, this, &FavoriteRfcsDialog::removeSelected);
    connect(m_exit, &QPushButton::clicked, this, &FavoriteRfcsDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &FavoriteRfcsDialog::openSelected);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &FavoriteRfcsDialog::updateSelectionButtons);
}

// A failure to open one favourite (reported by the opening itself) does not
// stop the others, and the list is saved either way.
void FavoriteRfcsDialog::openSelected()
{
    for (int row : selectedRows(m_list))
        m_host.openDocument(fromStoredPath(favoritePath(storedLineAt(m_list, row))));
    save();
    accept();
}

// A chosen file is added even when listed already: choosing it is deliberate.
void FavoriteRfcsDialog::addRfc()
{
    const QString path = dialogs().openFileName(this, QStringLiteral("Open"), QString(),
                                                QStringLiteral("Txt Files (*.txt);;All Files (*)"));
    if (!path.isEmpty())
        appendStoredLine(m_list, favoriteLine(toStoredPath(path)));
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
    if (!holdsStoredLine(m_list, line))
        appendStoredLine(m_list, line);
}

void FavoriteRfcsDialog::removeSelected()
{
    const QList<int> rows = selectedRows(m_list);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        delete m_list->takeItem(*row);
}

void FavoriteRfcsDialog::updateSelectionButtons()
{
    const bool selected = m_list->count() > 0 && !m_list->selectedItems().isEmpty();
    m_remove->setEnabled(selected);
    m_open->setEnabled(selected);
}

void FavoriteRfcsDialog::reject()
{
    save();
    QDialog::reject();
}

void FavoriteRfcsDialog::save()
{
    QStringList paths;
    for (const QString& line : storedLines(m_list))
        paths << favoritePath(line);
    writeNumberedList(m_profile, kSection, kKeyPrefix, paths);
}

} // namespace parchly
