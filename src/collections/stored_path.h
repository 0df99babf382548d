// Paths inside the bookmarks and favourites of the settings file keep "\"
// separators, so that one file serves every platform and the stored lines
// can be read back by finding the file name after the last "\". A local path
// is stored with every "/" turned into "\", and a stored path is used with
// every "\" turned back into "/".
#ifndef PARCHLY_COLLECTIONS_STORED_PATH_H
#define PARCHLY_COLLECTIONS_STORED_PATH_H

#include <QString>

namespace parchly {

QString toStoredPath(const QString& localPath);
QString fromStoredPath(const QString& storedPath);

// The text after the last "\" of `text`; all of it when it holds none.
QString textAfterLastBackslash(const QString& text);

// Equal when they differ at most in the case of ASCII letters.
bool equalIgnoringAsciiCase(const QString& a, const QString& b);

} // namespace parchly

#endif
