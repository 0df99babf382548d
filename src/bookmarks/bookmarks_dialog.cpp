#include "bookmarks/bookmarks_dialog.h"

#include "bookmarks/bookmark_text.h"
#include "bookmarks/bookmarks_host.h"
#include "bookmarks/numbered_list.h"
#include "bookmarks/stored_line_list.h"
#include "bookmarks/stored_path.h"
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
QString caretLocation(const BookmarksHost& host, const QString& storedPath)
{
    if (storedPath.isEmpty())
        return QString();
    int line = 0;
    int column = 0;
    host.activeCaretLineColumn(line, column);
    return bookmarkLocation(storedPath, line, column);
}

} // namespace

BookmarksDialog::BookmarksDialog(BookmarksHost& host, Profile& profile, QWidget* parent)
    : StoredListDialog(QStringLiteral("Bookmarks"), "bookmarkList", parent)
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
        // A new bookmark is named after where it stands.
        const QString section = m_host.activeSectionTitle();
        m_name->setText(section.isEmpty() ? QString::fromLatin1(kNewBookmarkName) : section);
        m_name->setFocus();
    }
    fillList();
    updateSelectionButtons();
}

void BookmarksDialog::buildWidgets()
{
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_location = new QLineEdit(this);
    m_location->setObjectName(QStringLiteral("locationEdit"));
    m_location->setReadOnly(true);
    list()->setSelectionMode(QAbstractItemView::SingleSelection);
    m_showAll = new QCheckBox(QStringLiteral("Show all bookmarks"), this);
    m_showAll->setObjectName(QStringLiteral("showAllCheck"));

    m_set = addButton(QStringLiteral("&Set"), "setButton");
    m_goTo = addButton(QStringLiteral("&Go To"), "goToButton");
    m_goTo->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Name:"), this), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Location:"), this), 1, 0);
    fields->addWidget(m_location, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(listAndButtons(m_goTo), 1);
    layout->addWidget(m_showAll);
    resize(640, 360);

    connect(m_showAll, &QCheckBox::clicked, this, &BookmarksDialog::fillList);
    connect(m_set, &QPushButton::clicked, this, &BookmarksDialog::setBookmark);
    connect(m_goTo, &QPushButton::clicked, this, &BookmarksDialog::goToBookmark);
    connect(list(), &QListWidget::itemDoubleClicked, this, &BookmarksDialog::goToBookmark);
}

// Re-reads the stored bookmarks: changes made since the dialog opened and
// not yet saved are dropped, as the box's click means "show me what is kept".
void BookmarksDialog::fillList()
{
    list()->clear();
    m_kept.clear();
    const bool hasActive = !m_activeStoredPath.isEmpty();
    m_set->setEnabled(hasActive);
    m_name->setEnabled(hasActive);

    for (const QString& stored : readNumberedList(m_profile, kSection, kKeyPrefix)) {
        const QString text = tidiedBookmarkText(stored);
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
    if (!holdsStoredLine(list(), text))
        appendBookmark(text);
}

void BookmarksDialog::appendBookmark(const QString& storedText)
{
    appendStoredLine(list(), storedText);
    list()->item(list()->count() - 1)->setText(shownBookmarkText(storedText));
}

void BookmarksDialog::goToBookmark()
{
    save();
    const QList<int> rows = selectedRows(list());
    if (!rows.isEmpty()) {
        const BookmarkTarget target = readBookmarkText(storedLineAt(list(), rows.first()));
        if (m_host.openDocument(fromStoredPath(target.storedPath)))
            m_host.setActiveCaretLineColumn(target.line, target.column);
    }
    accept();
}

QString addBookmarkAtCaret(BookmarksHost& host, Profile& profile)
{
    const QString location = caretLocation(host, toStoredPath(host.activeDocumentPath()));
    if (location.isEmpty())
        return QString();
    const QString section = host.activeSectionTitle();
    const QString text =
        bookmarkText(section.isEmpty() ? QString::fromLatin1(kNewBookmarkName) : section, location);
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
    writeNumberedList(m_profile, kSection, kKeyPrefix, m_kept + storedLines(list()));
}

} // namespace parchly
