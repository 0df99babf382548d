#include "view/find_matches.h"

#include "view/find.h"

#include <QElapsedTimer>
#include <algorithm>
#include <climits>

namespace parchly {

bool matchesAt(QStringView text, int position, const QString& needle, bool matchCase, bool wholeWord)
{
    const int end = position + int(needle.size());
    if (needle.isEmpty() || position < 0 || end > text.size())
        return false;
    if (text.mid(position, needle.size()).compare(needle, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive)
        != 0)
        return false;
    if (!wholeWord)
        return true;
    return (position == 0 || !text[position - 1].isLetterOrNumber())
        && (end == text.size() || !text[end].isLetterOrNumber());
}

void MatchScan::start(const QString& text, const FindRequest& request)
{
    m_text = text;
    m_needle = request.text;
    m_matchCase = request.matchCase;
    m_wholeWord = request.wholeWord;
    m_starts.clear();
    // Nothing to look for is a scan already done.
    m_from = m_needle.isEmpty() ? int(m_text.size()) : 0;
}

bool MatchScan::scanFor(int budgetMs, int sliceChars)
{
    QElapsedTimer clock;
    clock.start();
    const Qt::CaseSensitivity sensitivity = m_matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QStringView text(m_text);
    const int length = int(m_needle.size());
    while (!done()) {
        // A match may start in this slice and end in the next: the slice
        // reaches that far past its end.
        const int sliceEnd = int(std::min<qsizetype>(text.size(), qsizetype(m_from) + sliceChars));
        const QStringView slice =
            text.mid(0, std::min<qsizetype>(text.size(), qsizetype(sliceEnd) + length - 1));
        int from = m_from;
        while (from < sliceEnd) {
            const int found = int(slice.indexOf(m_needle, from, sensitivity));
            if (found < 0 || found >= sliceEnd) {
                from = sliceEnd;
                break;
            }
            if (!m_wholeWord || matchesAt(text, found, m_needle, m_matchCase, true)) {
                m_starts.push_back(found);
                from = found + length;
            } else {
                from = found + 1;
            }
        }
        m_from = std::max(from, sliceEnd);
        if (clock.elapsed() >= budgetMs)
            break;
    }
    return done();
}

int MatchScan::firstAtOrAfter(int position) const
{
    return int(std::lower_bound(m_starts.begin(), m_starts.end(), position) - m_starts.begin());
}

int MatchScan::indexOf(int start, int end) const
{
    if (end - start != matchLength())
        return -1;
    const int index = firstAtOrAfter(start);
    return index < int(m_starts.size()) && m_starts[index] == start ? index : -1;
}

std::vector<int> allMatchStarts(const QString& text, const FindRequest& request)
{
    MatchScan scan;
    scan.start(text, request);
    scan.scanFor(INT_MAX);
    return scan.starts();
}

} // namespace parchly
