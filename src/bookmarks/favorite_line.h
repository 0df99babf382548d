// A favourite is shown as one line: its file name in a column of 24
// characters (or followed by two spaces when it is longer), then its full
// path in the stored form ("/" separators).
#ifndef PARCHLY_BOOKMARKS_FAVORITE_LINE_H
#define PARCHLY_BOOKMARKS_FAVORITE_LINE_H

#include <QString>

namespace parchly {

QString favoriteLine(const QString& storedPath);

// The stored path of a favourite line: the file name at the front is as long
// as the text after the last "/" or "\", so that many characters are
// dropped; a line without either holds the name twice, so its right half is the path.
// Leading spaces are dropped in both cases.
QString favoritePath(const QString& line);

} // namespace parchly

#endif
