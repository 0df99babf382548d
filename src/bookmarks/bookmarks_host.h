// What the bookmarks and favourites dialogs need of the rest of the program:
// the open documents, the active view's caret, and opening a file the way
// the File menu does. The main frame implements it.
#ifndef PARCHLY_BOOKMARKS_BOOKMARKS_HOST_H
#define PARCHLY_BOOKMARKS_BOOKMARKS_HOST_H

#include <QString>
#include <QStringList>

namespace parchly {

class BookmarksHost {
public:
    virtual ~BookmarksHost() = default;

    // The full path of the active view's document; empty when no view is
    // active or it has no document.
    virtual QString activeDocumentPath() const = 0;

    // The caret of the active view as the status bar shows it: the shown line
    // of the selection's end and its offset in that line, both from 0.
    virtual void activeCaretLineColumn(int& line, int& column) const = 0;

    // Puts the active view's caret at `line` and `column` when that line is
    // shown; a line past the end leaves the caret where it is.
    virtual void setActiveCaretLineColumn(int line, int column) = 0;

    // The full paths of every open document, in the order they were opened.
    virtual QStringList openDocumentPaths() const = 0;

    // Whether the document tab bar holds at least one tab.
    virtual bool hasDocumentTabs() const = 0;

    // Opens `path` as the application's openDocumentFile does, with its
    // checks and messages, and makes it active; false when it was not opened.
    virtual bool openDocument(const QString& path) = 0;
    // The number and title of the section the active document's caret is in
    // ("2.1. Details"); empty outside any section or without a document.
    virtual QString activeSectionTitle() const { return QString(); }
};

} // namespace parchly

#endif
