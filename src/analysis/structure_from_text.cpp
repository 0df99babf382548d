#include "analysis/structure_from_text.h"

#include "analysis/ascii.h"
#include "analysis/text_scan.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace parchly {

namespace {

bool isCandidate(const SectionHeading& heading)
{
    return !heading.title.empty() && heading.line != 0;
}

// "3.1) Foo" gives number 3.1 and title Foo; "4.0 Bar" gives 4.
void splitSectionNumber(SectionHeading& heading)
{
    heading.number.clear();
    if (!isDigit(heading.title[0]))
        return;
    std::size_t run = 0;
    while (run < heading.title.size()
           && (isDigit(heading.title[run]) || heading.title[run] == '.' || heading.title[run] == ')'))
        ++run;
    heading.number = heading.title.substr(0, run);
    if (heading.number.size() > 2 && heading.number.compare(heading.number.size() - 2, 2, ".0") == 0)
        heading.number.resize(heading.number.size() - 2);
    while (!heading.number.empty() && (heading.number.back() == '.' || heading.number.back() == ')'))
        heading.number.pop_back();
    heading.title.erase(0, skipBlanks(heading.title, run));
    // "2.1 - Transport Issues": RFC 2136 sets its numbers apart from their
    // titles with a dash ("--" elsewhere), which its contents entries leave
    // out too.
    std::size_t dashes = 0;
    while (dashes < heading.title.size() && heading.title[dashes] == '-')
        ++dashes;
    if (!heading.number.empty() && dashes > 0 && dashes + 1 < heading.title.size()
        && isBlankChar(heading.title[dashes]))
        heading.title.erase(0, skipBlanks(heading.title, dashes));
}

// "Appendix A.  Examples" or "A.1.  Addressing Examples": RFC 5322 and
// RFC 5849 print their appendices before the numbered references, so that
// an appendix stands among the numbered headings and opens a section all
// the same, where another unnumbered paragraph there is text.
bool opensAppendix(const std::string& title)
{
    if (startsWithIgnoringAsciiCase(title, "appendix "))
        return true;
    return title.size() > 2 && title[0] >= 'A' && title[0] <= 'Z' && title[1] == '.' && isDigit(title[2]);
}

// "II.  FRAMEWORK": a chapter numbered in upper-case Roman numerals, as
// memos of the 1970s number theirs above sections numbered 1, 2, ... again
// in each chapter (RFC 733), opens a section among the numbered headings.
bool opensRomanChapter(const std::string& title)
{
    std::size_t end = 0;
    while (end < title.size() && (title[end] == 'I' || title[end] == 'V' || title[end] == 'X'))
        ++end;
    return end > 0 && end + 1 < title.size() && title[end] == '.' && isBlankChar(title[end + 1]);
}

// Whether an unnumbered paragraph taken for a heading plainly is text, as
// the short memos without contents have many at the margin (RFC 868): a
// figure's line ("+---+", "| x |"), words that end in a comma, the end
// of a sentence that goes on in small letters ("and so on, until the
// end."), or a sentence of five words or more ending in a full stop or a
// colon, its last word in small letters. A line of one word stays: many
// old memos head their sections so; and so do words in small letters
// that end no sentence ("draft notes").
bool readsAsText(const std::string& title)
{
    constexpr int kSentenceWords = 5;
    const char first = title.front();
    const char last = title.back();
    if (first == '+' || first == '|' || last == ',')
        return true;
    if (last != '.' && last != ':' && last != ';')
        return false;
    const std::size_t lastBlank = title.rfind(' ');
    if (lastBlank == std::string::npos)
        return false;
    if (isLower(first) && isLetter(title[1]))
        return true;
    if (!isLower(charAt(title, lastBlank + 1)))
        return false;
    int words = 1;
    for (std::size_t i = 1; i < title.size() && words < kSentenceWords; ++i)
        words += title[i] == ' ' && title[i - 1] != ' ' ? 1 : 0;
    return words >= kSentenceWords;
}

// The number that opens a heading's title, before splitSectionNumber: its
// value where it is one level of digits ("3." or "3)"), else 0; `closing`
// is set to the ")" that closes a list's number, else to '.'.
int topLevelValue(const std::string& title, char& closing)
{
    constexpr int kLargest = 999;
    int value = 0;
    std::size_t i = 0;
    while (i < title.size() && isDigit(title[i]) && value <= kLargest)
        value = value * 10 + (title[i++] - '0');
    closing = charAt(title, i) == ')' ? ')' : '.';
    if (i == 0 || value > kLargest
        || (closing == '.' && charAt(title, i) == '.' && isDigit(charAt(title, i + 1))))
        return 0;
    return value;
}

// Tells the items of a numbered list set at the margin from the numbered
// headings among them, heading by heading in file order: an item numbered
// back below the last section ("1)" under "2.  Rules"), the items after it
// that go on counting in its style, and a list a line ending in a colon
// leads into right above it ("The rules are these:" over "1. Each host
// keeps a table"), which the lead-in is then no heading of.
class MarginListItems {
public:
    // Whether the heading numbered `value` (closed by `closing`) at line
    // `line` is a list's item; `leadIn` is the heading right above it,
    // if it was taken as an entry (else null), at line `leadInLine`.
    bool isItem(int value, char closing, int32_t line, const std::string* leadIn, int32_t leadInLine,
                bool& leadInIsText)
    {
        leadInIsText = false;
        if (value == 0) {
            m_run = 0;
            return false;
        }
        const bool goesOn = m_run > 0 && value == m_run + 1 && closing == m_closing
            && (value != m_section + 1 || closing != m_sectionClosing);
        // A section number printed twice is a slip in numbering the
        // headings, not a list: only one closed as a list's is.
        const bool numberedBack =
            m_section > 0 && (value < m_section || (value == m_section && closing != m_sectionClosing));
        leadInIsText = value == 1 && leadIn != nullptr && !leadIn->empty() && leadIn->back() == ':'
            && line - leadInLine == 2;
        if (goesOn || numberedBack || leadInIsText) {
            m_run = value;
            m_closing = closing;
            return true;
        }
        // The sections count one by one: a number further on (a figure's
        // line or a reply code read as a heading) is taken, but counted
        // from no more than any other line of text.
        if (m_section == 0 || value == m_section + 1) {
            m_section = value;
            m_sectionClosing = closing;
        }
        m_run = 0;
        return false;
    }

    // An appendix, a chapter or an unnumbered section numbers its own
    // sections from 1 again.
    void restart()
    {
        m_section = 0;
        m_run = 0;
    }

private:
    int m_section = 0;
    char m_sectionClosing = '.';
    int m_run = 0;
    char m_closing = '.';
};

} // namespace

bool buildStructureFromText(RfcText& text)
{
    if (!text.contents.empty())
        return true;
    const std::size_t none = text.headings.size();
    std::size_t first = none;
    std::size_t last = none;
    // The value of each heading's one-level number and how it closes, read
    // before the number is split from the title.
    std::vector<std::pair<int, char>> topLevel(text.headings.size(), {0, '.'});
    for (std::size_t i = 0; i < text.headings.size(); ++i) {
        SectionHeading& heading = text.headings[i];
        if (!isCandidate(heading) || (heading.title[0] >= 'a' && heading.title[0] <= 'z'))
            continue;
        if (isDigit(heading.title[0]))
            topLevel[i].first = topLevelValue(heading.title, topLevel[i].second);
        splitSectionNumber(heading);
        if (!heading.number.empty()) {
            if (first == none)
                first = i;
            last = i;
        }
    }
    // Moved headings keep their file order in `contents`; the others stay.
    std::vector<SectionHeading> kept;
    MarginListItems items;
    // Whether the entry made last is the heading right above the one read.
    bool lastIsEntry = false;
    // Nearly every heading becomes an entry.
    text.contents.reserve(text.headings.size());
    for (std::size_t i = 0; i < text.headings.size(); ++i) {
        SectionHeading& heading = text.headings[i];
        const bool insideNumbered = first != none && i >= first && i <= last;
        const bool chapter = opensAppendix(heading.title) || opensRomanChapter(heading.title);
        if (!isCandidate(heading) || (insideNumbered && heading.number.empty() && !chapter)
            || (heading.number.empty() && readsAsText(heading.title))) {
            kept.push_back(std::move(heading));
            lastIsEntry = false;
            continue;
        }
        bool leadInIsText = false;
        if (heading.number.empty()) {
            items.restart();
        } else {
            const ContentEntry* above = lastIsEntry ? &text.contents.back() : nullptr;
            if (items.isItem(topLevel[i].first, topLevel[i].second, heading.line,
                             above != nullptr ? &above->title : nullptr,
                             above != nullptr ? above->headingLine : 0, leadInIsText)) {
                if (leadInIsText) {
                    ContentEntry& leadIn = text.contents.back();
                    kept.push_back(SectionHeading{leadIn.headingLine, std::move(leadIn.number),
                                                  std::move(leadIn.title)});
                    text.contents.pop_back();
                }
                kept.push_back(std::move(heading));
                lastIsEntry = false;
                continue;
            }
        }
        lastIsEntry = true;
        ContentEntry entry;
        entry.number = std::move(heading.number);
        entry.title = std::move(heading.title);
        entry.headingLine = heading.line;
        entry.matched = true;
        text.contents.push_back(std::move(entry));
    }
    text.headings = std::move(kept);
    text.structureFromText = !text.contents.empty();
    return true;
}

} // namespace parchly
