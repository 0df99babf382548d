#include "collections/bookmarks_dialog.h"

#include "collections/bookmark_text.h"
#include "collections/collections_host.h"
#include "collections/numbered_list.h"
#include "collections/stored_line_list.h"
#include "collections/stored_path.h"
#include "settings/profile.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace parchly {

namespace {

constexpr const char* kSection = "Bookmarks";
constexpr const char* kShowAllKey = "AllBookmarks";
constexpr const char* kKeyPrefix = "BM";
constexpr const char* kNewBookmarkName = "bookmark";

// The stored location of the active view's caret; empty without a document.
QString caretLocation(const CollectionsHost& host, const QString& storedPath)
{
    if (storedPath.isEmpty())
        return QString();
    int line = 0;
    int column = 0;
    host.activeCaretLineColumn(line, column);
    return bookmarkLocation(storedPath, line, column);
}

} // namespace

BookmarksDialog::BookmarksDialog(CollectionsHost& host, Profile& profile, QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_profile(profile)
{
    buildWidgets();
    m_showAll->setChecked(m_profile.readInt(kSection, kShowAllKey, 0) != 0);

    m_activeStoredPath = toStoredPath(m_host.activeDocumentPath());
    if (!m_activeStoredPath.isEmpty()) {
        // The field shows what the status bar shows; the stored form goes to the file.
        m_storedLocation = caretLocation(m_host, m_activeStoredPath);
        m_location->setText(shownBookmarkText(m_storedLocation));
        m_name->setText(QString::fromLatin1(kNewBookmarkName));
        m_name->setFocus();
    }
    fillList();
    updateSelectionButtons();
}

void BookmarksDialog::buildWidgets()
{
    setWindowTitle(QStringLiteral("Bookmarks"));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_location = new QLineEdit(this);
    m_location->setObjectName(QStringLiteral("locationEdit"));
    m_location->setReadOnly(true);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("bookmarkList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_showAll = new QCheckBox(QStringLiteral("Show all bookmarks"), this);
    m_showAll->setObjectName(QStringLiteral("showAllCheck"));

    m_set = new QPushButton(QStringLiteral("&Set"), this);
    m_set->setObjectName(QStringLiteral("setButton"));
    m_goto = new QPushButton(QStringLiteral("&Goto"), this);
    m_goto->setObjectName(QStringLiteral("gotoButton"));
    m_goto->setDefault(true);
    m_remove = new QPushButton(QStringLiteral("&Remove"), this);
    m_remove->setObjectName(QStringLiteral("removeButton"));
    m_exit = new QPushButton(QStringLiteral("E&xit"), this);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    for (QPushButton* button : {m_set, m_remove, m_exit})
        button->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Location:"), this), 1, 0);
    fields->addWidget(m_location, 1, 1);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_set, m_goto, m_remove, m_exit})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* listAndButtons = new QHBoxLayout;
    listAndButtons->addWidget(m_list, 1);
    listAndButtons->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(listAndButtons, 1);
    layout->addWidget(m_showAll);
    resize(640, 360);

    connect(m_showAll, &QCheckBox::clicked, this, &BookmarksDialog::fillList);
    connect(m_set, &QPushButton::clicked, this, &BookmarksDialog::setBookmark);
    connect(m_goto, &QPushButton::clicked, this, &BookmarksDialog::gotoBookmark);
    connect(m_remove, &QPushButton::clicked, this, &BookmarksDialog::removeBookmark);
    connect(m_exit, &QPushButton::clicked, this, &BookmarksDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &BookmarksDialog::gotoBookmark);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &BookmarksDialog::updateSelectionButtons);
}

// Re-reads the stored bookmarks: changes made since the dialog opened and
// not yet saved are dropped, as the box's click means "show me what is kept".
void BookmarksDialog::fillList()
{
    m_list->clear();
    m_kept.clear();
    const bool hasActive = !m_activeStoredPath.isEmpty();
    m_set->setEnabled(hasActive);
    m_name->setEnabled(hasActive);

    for (const QString& text : readNumberedList(m_profile, kSection, kKeyPrefix)) {
        if (m_showAll->isChecked() || readBookmarkText(text).storedPath == m_activeStoredPath)
            appendBookmark(text);
        else
            m_kept << text;
    }
    updateSelectionButtons();
}

void BookmarksDialog::setBookmark()
{
    const QString text = bookmarkText(m_name->text(), m_storedLocation);
    if (!holdsStoredLine(m_list, text))
        appendBookmark(text);
}

void BookmarksDialog::appendBookmark(const QString& storedText)
{
    appendStoredLine(m_list, storedText);
    m_list->item(m_list->count() - 1)->setText(shownBookmarkText(storedText));
}

void BookmarksDialog::removeBookmark()
{
    const QList<int> rows = selectedRows(m_list);
    if (!rows.isEmpty())
        delete m_list->takeItem(rows.first());
}

void BookmarksDialog::gotoBookmark()
{
    save();
    const QList<int> rows = selectedRows(m_list);
    if (!rows.isEmpty()) {
        const BookmarkTarget target = readBookmarkText(storedLineAt(m_list, rows.first()));
        if (m_host.openDocument(fromStoredPath(target.storedPath)))
            m_host.setActiveCaretLineColumn(target.line, target.column);
    }
    accept();
}

void BookmarksDialog::updateSelectionButtons()
{
    const bool selected = m_list->count() > 0 && !m_list->selectedItems().isEmpty();
    m_remove->setEnabled(selected);
    m_goto->setEnabled(selected);
}

void BookmarksDialog::reject()
{
    save();
    QDialog::reject();
}

QString addBookmarkAtCaret(CollectionsHost& host, Profile& profile)
{
    const QString location = caretLocation(host, toStoredPath(host.activeDocumentPath()));
    if (location.isEmpty())
        return QString();
    const QString text = bookmarkText(QString::fromLatin1(kNewBookmarkName), location);
    QStringList kept = readNumberedList(profile, kSection, kKeyPrefix);
    if (!kept.contains(text, Qt::CaseInsensitive)) {
        kept << text;
        writeNumberedList(profile, kSection, kKeyPrefix, kept);
    }
    return shownBookmarkText(text);
}

// Other files' bookmarks go first, so that they survive while hidden.
void BookmarksDialog::save()
{
    ProfileBatch batch(m_profile);
    m_profile.writeString(kSection, kShowAllKey, m_showAll->isChecked() ? "1" : "0");
    writeNumberedList(m_profile, kSection, kKeyPrefix, m_kept + storedLines(m_list));
}

} // namespace parchly
