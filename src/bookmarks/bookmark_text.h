// A bookmark is one line of text, both what the Bookmarks list shows and what
// the settings file stores:
//   [name " - "] fileName " (Ln " line ", Col " column ") - " fullPath
// with the full path in its stored form ("/" separators; "\" in files of
// earlier versions).
#ifndef PARCHLY_BOOKMARKS_BOOKMARK_TEXT_H
#define PARCHLY_BOOKMARKS_BOOKMARK_TEXT_H

#include <QString>

namespace parchly {

// The location part of a bookmark for a caret at `line`, `column` of the
// document at `storedPath`.
QString bookmarkLocation(const QString& storedPath, int line, int column);

// The bookmark line: the location alone when `name` is empty.
QString bookmarkText(const QString& name, const QString& location);

struct BookmarkTarget {
    QString storedPath; // empty when the text holds no ") - " after the file name
    int line = 0;
    int column = 0;
};

// The bookmark line with its path in the form written today.
QString tidiedBookmarkText(const QString& text);

// Reads a bookmark line back. The file name is taken from the end of the
// line and its first occurrence marks where the location starts, so a name
// that begins with the file name still yields the path but no position
// (line and column stay 0, as for any text that does not fit the pattern).
BookmarkTarget readBookmarkText(const QString& text);

// The bookmark as the dialog shows it: line and column counted from 1, as the
// status bar and Go To count them, and the path with this system's
// separators. Stored lines keep counting from 0, so that settings files of
// earlier versions keep their meaning; a text without a position shows as
// it is stored.
QString shownBookmarkText(const QString& storedText);

} // namespace parchly

#endif
