#include "bookmarks/favorite_line.h"

#include "bookmarks/stored_path.h"

namespace parchly {

namespace {

constexpr qsizetype kNameColumn = 24;

QString withoutLeadingSpaces(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == QLatin1Char(' '))
        ++start;
    return text.mid(start);
}

} // namespace

QString favoriteLine(const QString& storedPath)
{
    const QString name = textAfterLastSeparator(storedPath);
    const qsizetype padding = name.size() < kNameColumn ? kNameColumn - name.size() : 2;
    return name + QString(padding, QLatin1Char(' ')) + storedPath;
}

QString favoritePath(const QString& line)
{
    if (line.contains(QLatin1Char('\\')) || line.contains(QLatin1Char('/')))
        return withoutLeadingSpaces(line.mid(textAfterLastSeparator(line).size()));
    return withoutLeadingSpaces(line.mid(line.size() - line.size() / 2));
}

} // namespace parchly
