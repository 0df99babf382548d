#include "bookmarks/bookmark_text.h"

#include "bookmarks/stored_path.h"

#include <QDir>
#include <climits>

namespace parchly {

namespace {

// Reads an unsigned decimal at `pos` after optional blanks, held at INT_MAX;
// false when no digit is there.
bool readCount(const QString& text, qsizetype& pos, int& value)
{
    auto digitAt = [&text](qsizetype i) {
        return i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
    };
    while (pos < text.size() && (text[pos] == QLatin1Char(' ') || text[pos] == QLatin1Char('\t')))
        ++pos;
    if (!digitAt(pos))
        return false;
    long long number = 0;
    for (; digitAt(pos); ++pos)
        number = qMin<long long>(number * 10 + (text[pos].unicode() - '0'), INT_MAX);
    value = static_cast<int>(number);
    return true;
}

bool readLiteral(const QString& text, qsizetype& pos, QLatin1String literal)
{
    if (QStringView(text).mid(pos).startsWith(literal)) {
        pos += literal.size();
        return true;
    }
    return false;
}

// Matches "(Ln %u, Col %u)" at `pos`; each number is kept as soon as it is read.
void readLineColumn(const QString& text, qsizetype pos, BookmarkTarget& target)
{
    if (!readLiteral(text, pos, QLatin1String("(Ln")) || !readCount(text, pos, target.line))
        return;
    if (readLiteral(text, pos, QLatin1String(", Col")))
        readCount(text, pos, target.column);
}

} // namespace

QString bookmarkLocation(const QString& storedPath, int line, int column)
{
    return QStringLiteral("%1 (Ln %2, Col %3) - %4")
        .arg(textAfterLastSeparator(storedPath), QString::number(line), QString::number(column), storedPath);
}

QString bookmarkText(const QString& name, const QString& location)
{
    return name.isEmpty() ? location : name + QStringLiteral(" - ") + location;
}

namespace {

// Where the location's "(Ln" would start: one character after the first
// occurrence of the file name that ends the line.
qsizetype positionStart(const QString& text)
{
    const QString tail = textAfterLastSeparator(text);
    return text.indexOf(tail) + tail.size() + 1;
}

} // namespace

BookmarkTarget readBookmarkText(const QString& text)
{
    BookmarkTarget target;
    const qsizetype afterTail = positionStart(text) - 1;
    const QLatin1String pathMark(") - ");
    const qsizetype mark = text.indexOf(pathMark, afterTail);
    if (mark >= 0)
        target.storedPath = text.mid(mark + pathMark.size());
    if (afterTail + 1 < text.size())
        readLineColumn(text, afterTail + 1, target);
    return target;
}

QString tidiedBookmarkText(const QString& text)
{
    const QString path = readBookmarkText(text).storedPath;
    return path.isEmpty() ? text : text.left(text.size() - path.size()) + fromStoredPath(path);
}

QString shownBookmarkText(const QString& storedText)
{
    QString shown = storedText;
    const qsizetype start = positionStart(storedText);
    qsizetype pos = start;
    int line = 0;
    int column = 0;
    if (readLiteral(storedText, pos, QLatin1String("(Ln")) && readCount(storedText, pos, line)
        && readLiteral(storedText, pos, QLatin1String(", Col")) && readCount(storedText, pos, column)
        && readLiteral(storedText, pos, QLatin1String(")"))) {
        // Stored counts are held at INT_MAX; the shown ones must not wrap.
        const auto counted = [](int value) { return QString::number(qint64(value) + 1); };
        shown.replace(start, pos - start,
                      QStringLiteral("(Ln %1, Col %2)").arg(counted(line), counted(column)));
    }
    return QDir::toNativeSeparators(fromStoredPath(shown));
}

} // namespace parchly
