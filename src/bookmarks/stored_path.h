// Paths inside the bookmarks and favourites of the settings file are written
// with "/" separators; settings files of earlier versions hold "\" instead,
// so a stored path is read with either (every "\" turned into "/") and a
// stored line is read back by finding the file name after the last of
// either.
#ifndef PARCHLY_BOOKMARKS_STORED_PATH_H
#define PARCHLY_BOOKMARKS_STORED_PATH_H

#include <QString>

namespace parchly {

QString toStoredPath(const QString& localPath);
QString fromStoredPath(const QString& storedPath);

// The text after the last "/" or "\" of `text`; all of it when it holds none.
QString textAfterLastSeparator(const QString& text);

// Equal when they differ at most in the case of ASCII letters.
bool equalIgnoringAsciiCase(const QString& a, const QString& b);

} // namespace parchly

#endif
