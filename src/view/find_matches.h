// Every match of the find bar's text in a document, found a slice at a time
// so that a long RFC (rfc8881 holds 149,171 "e"s) never holds up the window
// while the reader types.
#ifndef PARCHLY_VIEW_FIND_MATCHES_H
#define PARCHLY_VIEW_FIND_MATCHES_H

#include <QString>
#include <QStringView>
#include <vector>

namespace parchly {

struct FindRequest;

// Whether `needle` stands at `position` of `text` as the request asks (case,
// whole word: neither neighbour a letter or digit, as QTextDocument::find
// has it).
bool matchesAt(QStringView text, int position, const QString& needle, bool matchCase, bool wholeWord);

class MatchScan {
public:
    // Starts over: the matches of `request` (its direction does not matter)
    // in `text`, a snapshot the scan keeps. Nothing is scanned yet.
    void start(const QString& text, const FindRequest& request);
    // Scans on for about `budgetMs` milliseconds; true when the whole text
    // is scanned. `sliceChars` is how much is scanned between two looks at
    // the clock.
    bool scanFor(int budgetMs, int sliceChars = 64 * 1024);
    bool done() const { return m_from >= m_text.size(); }

    // The matches found so far: their starts, ascending and not
    // overlapping (as searching on from the end of each match finds them).
    const std::vector<int>& starts() const { return m_starts; }
    int matchLength() const { return int(m_needle.size()); }
    // The index of the first match starting at or after `position` (the
    // count when there is none).
    int firstAtOrAfter(int position) const;
    // The index of the match that is exactly `start`..`end`, or -1.
    int indexOf(int start, int end) const;

private:
    QString m_text;
    QString m_needle;
    bool m_matchCase = false;
    bool m_wholeWord = false;
    int m_from = 0;
    std::vector<int> m_starts;
};

// Every match at once, as a finished scan gives them.
std::vector<int> allMatchStarts(const QString& text, const FindRequest& request);

} // namespace parchly

#endif
