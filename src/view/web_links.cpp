#include "view/web_links.h"

#include <QLatin1StringView>
#include <algorithm>

namespace parchly {

namespace {

const QLatin1StringView kSchemes[] = {QLatin1StringView("https://"), QLatin1StringView("http://"),
                                      QLatin1StringView("ftp://"), QLatin1StringView("mailto:")};

bool endsAddress(QChar c)
{
    return c.isSpace() || c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>')
        || c == QLatin1Char('`') || c.unicode() < 0x20;
}

bool endsSentence(QChar c)
{
    return QStringView(u".,;:!?'").contains(c);
}

// The scheme that starts at `at`, not in the middle of a word ("xhttp://").
int schemeLength(const QString& line, int at)
{
    if (at > 0 && line[at - 1].isLetterOrNumber())
        return 0;
    for (const QLatin1StringView scheme : kSchemes)
        if (QStringView(line).mid(at).startsWith(scheme, Qt::CaseInsensitive))
            return int(scheme.size());
    return 0;
}

// Drops what ends the sentence around the address rather than the address.
int trimmedEnd(const QString& line, int start, int end)
{
    for (;;) {
        const QChar last = line[end - 1];
        const QStringView address = QStringView(line).mid(start, end - start);
        if (endsSentence(last) || (last == QLatin1Char(')') && address.count(u'(') < address.count(u')'))
            || (last == QLatin1Char(']') && address.count(u'[') < address.count(u']')))
            --end;
        else
            return end;
    }
}

} // namespace

std::vector<WebLink> webLinksIn(const QString& line)
{
    std::vector<WebLink> links;
    for (int at = 0; at < line.size(); ++at) {
        const int scheme = schemeLength(line, at);
        if (scheme == 0)
            continue;
        int end = at + scheme;
        while (end < line.size() && !endsAddress(line[end]))
            ++end;
        end = trimmedEnd(line, at, end);
        const QString url = line.mid(at, end - at);
        // A scheme alone ("http://" in a sentence about it) leads nowhere.
        const bool mail = url.startsWith(QLatin1StringView("mailto:"), Qt::CaseInsensitive);
        if (end - at > scheme && (!mail || url.indexOf(QLatin1Char('@')) > scheme))
            links.push_back({at, end, url});
        at = std::max(at, end - 1);
    }
    return links;
}

} // namespace parchly
