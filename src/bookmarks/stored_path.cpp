#include "bookmarks/stored_path.h"

#include <algorithm>

namespace parchly {

QString toStoredPath(const QString& localPath)
{
    return fromStoredPath(localPath);
}

QString fromStoredPath(const QString& storedPath)
{
    return QString(storedPath).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString textAfterLastSeparator(const QString& text)
{
    return text.mid(std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\'))) + 1);
}

bool equalIgnoringAsciiCase(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    auto fold = [](QChar c) {
        return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + 32) : c;
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

} // namespace parchly
