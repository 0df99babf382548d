#include "analysis/page_layout.h"

#include "analysis/text_scan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace parchly {

namespace {

// How far a page's form feed is looked for: a page is 58 lines or so; some
// are longer, none this long.
constexpr std::size_t kPageReach = 150;
// A running line says something: a title, a name, a date, a page number.
constexpr int kFewestLetters = 3;

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// What the reader found of line `index` as it cut the text: the checks
// below walk a few lines up and down from nearly every line they are asked
// of, and need not read those lines again.
bool holdsFormFeed(const LineReader& source, std::size_t index)
{
    return source.factsOf(index).has(LineFacts::kHoldsFeed);
}

// Spaces and tabs only: a form-feed line is not blank.
bool isBlank(const LineReader& source, std::size_t index)
{
    return source.factsOf(index).has(LineFacts::kBlank);
}

// A form feed opening the line, after blanks or not, as the passes count
// page breaks.
bool opensWithFormFeed(const LineReader& source, std::size_t index)
{
    return source.factsOf(index).has(LineFacts::kOpensWithFeed);
}

// A form-feed line with nothing else on it; one with text after the form
// feed is the first line of its page.
bool isBareFormFeed(const LineReader& source, std::size_t index)
{
    // The reader knows the usual one, form feeds and blanks only; a lone
    // CR among the blanks after it is read for.
    const LineFacts& facts = source.factsOf(index);
    return facts.has(LineFacts::kOnlyFeeds)
        || (facts.has(LineFacts::kHoldsFeed) && lineWords(source.lineAt(index)).empty());
}

// Whether the line holds a few letters: a running line says something.
bool holdsFewestLetters(std::string_view line)
{
    int letters = 0;
    for (std::size_t at = 0; at < line.size() && letters < kFewestLetters; ++at)
        letters += isLetter(line[at]) ? 1 : 0;
    return letters >= kFewestLetters;
}

// Whether `a` and `b`, of the same size, differ only where both hold a
// digit: each differing byte is then inside a run of digits of both, the
// runs stand at the same places, and the lines are the same, digits aside.
bool differOnlyInDigits(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size();
    std::size_t i = 0;
    for (;;) {
        i += sharedPrefix(a.data() + i, b.data() + i, n - i);
        if (i == n)
            return true;
        if (!isDigit(a[i]) || !isDigit(b[i]))
            return false;
        ++i;
    }
}

// The same running line, digits aside: "[Page 4]" and "[Page 5]". Each run
// of digits stands for any other, and the line says something: it holds a
// few letters.
bool sameShape(std::string_view a, std::string_view b)
{
    // Nearly every pair of running lines compared has the same size and
    // differs in a page number of the same width, or not at all: told
    // without taking their blanks off, which are equal in both.
    if (a.size() == b.size() && differOnlyInDigits(a, b))
        return holdsFewestLetters(a);
    a = lineWords(a);
    b = lineWords(b);
    std::size_t i = 0;
    std::size_t k = 0;
    for (;;) {
        const std::size_t shared =
            sharedPrefix(a.data() + i, b.data() + k, std::min(a.size() - i, b.size() - k));
        // A run of digits that differs is taken whole from where it starts,
        // in the shared part or at the difference.
        std::size_t run = shared;
        while (run > 0 && isDigit(a[i + run - 1]))
            --run;
        i += run;
        k += run;
        if (i == a.size() || k == b.size()) {
            if (i != a.size() || k != b.size())
                return false;
            break;
        }
        if (!isDigit(a[i]) || !isDigit(b[k]))
            return false;
        while (i < a.size() && isDigit(a[i]))
            ++i;
        while (k < b.size() && isDigit(b[k]))
            ++k;
    }
    return holdsFewestLetters(a);
}

// looksLikePageHeader() of line `index`, which holds no form feed: asked
// of the line after nearly every unindented line, whose first word tells
// most of them at once.
bool opensLikePageHeader(const LineReader& source, std::size_t index)
{
    const std::string_view line = source.lineAt(index);
    return charAt(line, source.factsOf(index).indent) == 'R' && looksLikePageHeader(line);
}

// The form-feed line that opens the page of line `index`, looked for up to
// `reach` lines above it; kNone when there is none (the first page). The
// reader knows its form-feed lines: no line is searched for one.
std::size_t formFeedAbove(const LineReader& source, std::size_t index, std::size_t reach)
{
    const std::size_t upTo = source.formFeedsBefore(index + 1);
    if (upTo == 0)
        return kNone;
    const std::size_t first = index > reach ? index - reach : 0;
    const std::size_t feed = source.formFeedLines()[upTo - 1];
    return feed >= first ? feed : kNone;
}

// The first form-feed line after line `index`, any distance below it;
// kNone when there is none.
std::size_t nextFormFeed(const LineReader& source, std::size_t index)
{
    const std::vector<std::size_t>& feeds = source.formFeedLines();
    const std::size_t upTo = source.formFeedsBefore(index + 1);
    return upTo == feeds.size() ? kNone : feeds[upTo];
}

// The form-feed line below line `index`, up to a page below it; kNone at
// the end of the text.
std::size_t formFeedBelow(const LineReader& source, std::size_t index)
{
    const std::size_t feed = nextFormFeed(source, index);
    return feed != kNone && feed <= index + kPageReach ? feed : kNone;
}

// The lines of the top block of the page opened by the form feed at
// `feed`: the first run of non-blank lines after it, at most three.
struct TopBlock {
    static_assert(kTopBlock == 3, "PageLayout keeps blocks of three lines");
    std::array<std::size_t, kTopBlock> lines{};
    std::size_t size = 0;
};

TopBlock topBlock(const LineReader& source, std::size_t feed)
{
    TopBlock block;
    // A form feed after the text closes the page above: this one starts
    // below it, as it does below a form feed alone on its line.
    std::size_t k = isBareFormFeed(source, feed) || !opensWithFormFeed(source, feed) ? feed + 1 : feed;
    while (k < source.lineTotal() && k - feed <= kMarginReach && isBlank(source, k))
        ++k;
    while (k < source.lineTotal() && block.size < kTopBlock && !isBlank(source, k)
           && (k == feed || !holdsFormFeed(source, k)))
        block.lines[block.size++] = k++;
    return block;
}

// The last non-blank line above the form feed at `feed`; kNone when there
// is none near.
std::size_t bottomAbove(const LineReader& source, std::size_t feed)
{
    // The form feed after the text of the line: that line is the bottom.
    if (!opensWithFormFeed(source, feed))
        return feed;
    for (std::size_t k = feed; k-- > 0 && feed - k <= kMarginReach;) {
        if (holdsFormFeed(source, k))
            return kNone;
        if (!isBlank(source, k))
            return k;
    }
    return kNone;
}

// Whether line `index` may stand in the top block of its page: only blank
// lines and at most two lines right above it stand between it and a form
// feed (`feed`, the form-feed line above it). Most lines are told apart
// at the first lines above them.
bool mayOpenBlock(const LineReader& source, std::size_t index, std::size_t feed)
{
    if (opensWithFormFeed(source, index))
        return true;
    bool blankSeen = false;
    std::size_t lines = 0;
    for (std::size_t k = index; k-- > 0 && index - k <= kMarginReach + kTopBlock;) {
        // The form-feed line above, whether the form feed opens it or
        // follows its text.
        if (k == feed)
            return true;
        if (isBlank(source, k)) {
            blankSeen = true;
            continue;
        }
        if (blankSeen || ++lines >= kTopBlock)
            return false;
    }
    return false;
}

RunningLine bottomLine(const LineReader& source, std::size_t index)
{
    // The last line of a page stands at most the margin above a form feed
    // or the end of the text, or holds the form feed after its text; most
    // lines are passed by here.
    const std::size_t reach = index + kMarginReach + 1;
    if (source.lineTotal() > reach) {
        const std::vector<std::size_t>& feeds = source.formFeedLines();
        const std::size_t upTo = source.formFeedsBefore(index + 1);
        const std::size_t feed = upTo == feeds.size() ? kNone : feeds[upTo];
        const bool holdsFeed = upTo > 0 && feeds[upTo - 1] == index;
        if ((feed == kNone || feed > reach) && !(holdsFeed && closesWithFormFeed(source, index)))
            return RunningLine::kNone;
    }
    std::size_t k = index + 1;
    while (k < source.lineTotal() && k - index <= kMarginReach && isBlank(source, k))
        ++k;
    const bool atEnd = k == source.lineTotal();
    const bool closing = !atEnd && !isBareFormFeed(source, k) && closesWithFormFeed(source, index);
    if (!atEnd && !closing && !isBareFormFeed(source, k))
        return RunningLine::kNone;
    if (closing)
        k = index;
    const std::string_view line = source.lineAt(index);
    // The bottom of the page before, and of the page after.
    const std::size_t feedAbove = closing
        ? (index == 0 ? kNone : formFeedAbove(source, index - 1, kPageReach))
        : formFeedAbove(source, index, kPageReach);
    if (feedAbove != kNone) {
        const std::size_t above = bottomAbove(source, feedAbove);
        if (above != kNone && sameShape(source.lineAt(above), line))
            return RunningLine::kFooter;
    }
    if (!atEnd) {
        const std::size_t next = formFeedBelow(source, k);
        const std::size_t below = next == kNone ? kNone : bottomAbove(source, next);
        if (below != kNone && sameShape(source.lineAt(below), line))
            return RunningLine::kFooter;
    }
    return RunningLine::kNone;
}

} // namespace

std::string_view lineWords(std::string_view line)
{
    std::size_t start = skipBlanks(line, 0);
    while (charAt(line, start) == kFormFeed)
        start = skipBlanks(line, start + 1);
    std::size_t end = line.size();
    while (end > start && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return line.substr(start, end - start);
}

bool holdsPageWord(std::string_view line)
{
    for (std::size_t at = line.find('['); at != std::string_view::npos; at = line.find('[', at + 1)) {
        if (startsWithAt(line, at + 1, "Page ") || startsWithAt(line, at + 1, "page "))
            return true;
    }
    return false;
}

bool endsInPageWord(std::string_view line)
{
    const std::string_view text = lineWords(line);
    const std::size_t open = text.rfind('[');
    return open != std::string_view::npos && text.back() == ']'
        && startsWithIgnoringAsciiCase(text.substr(open + 1), "page ");
}

bool looksLikePageHeader(std::string_view line)
{
    // Only the opening bytes are read: the blanks and line end after the
    // words, which lineWords() would take off, cannot be among "RFC" and
    // the digit it asks for.
    std::size_t start = skipBlanks(line, 0);
    while (charAt(line, start) == kFormFeed)
        start = skipBlanks(line, start + 1);
    const std::string_view text = line.substr(start);
    if (!startsWithAt(text, 0, "RFC"))
        return false;
    const char next = charAt(text, 3);
    return isDigit(next) || ((next == ' ' || next == '-') && isDigit(charAt(text, 4)));
}

int32_t bareCentredNumber(std::string_view line)
{
    constexpr std::size_t kSlack = 8;
    constexpr std::size_t kLongest = 3;
    std::size_t start = 0;
    std::size_t end = 0;
    if (!centredRun(line, kSlack, start, end) || end - start > kLongest)
        return -1;
    for (std::size_t i = start; i < end; ++i) {
        if (!isDigit(line[i]))
            return -1;
    }
    return decimalValue(line, start, end);
}

int32_t centredPageNumber(std::string_view line)
{
    std::string_view words = lineWords(line);
    if (words.size() > 5 && equalIgnoringAsciiCase(words.substr(0, 5), "page "))
        words.remove_prefix(5);
    else if (words.size() > 2 && words.front() == '-' && words.back() == '-')
        words = lineWords(words.substr(1, words.size() - 2));
    else
        return -1;
    constexpr std::size_t kLongest = 4;
    if (words.empty() || words.size() > kLongest || !std::all_of(words.begin(), words.end(), isDigit))
        return -1;
    return decimalValue(words, 0, words.size());
}

namespace {

// Whether the words before `at` end in a gap between columns: a tab, or
// two blanks or more.
bool gapEndsAt(std::string_view words, std::size_t at)
{
    return at >= 2 && (words[at - 1] == '\t' || (words[at - 1] == ' ' && isBlankChar(words[at - 2])));
}

// Whether a gap between columns starts at `at`: a tab, or two blanks or
// more before more words (`words` holds no blanks at its end).
bool gapStartsAt(std::string_view words, std::size_t at)
{
    return at + 1 < words.size() && (words[at] == '\t' || (words[at] == ' ' && isBlankChar(words[at + 1])));
}

// The value of a page number in lower-case Roman numerals ("ii", "xiv"),
// as RFC 822 numbers its front pages; -1 when `word` is none.
int32_t romanValue(std::string_view word)
{
    const auto valueOf = [](char c) { return c == 'i' ? 1 : c == 'v' ? 5 : c == 'x' ? 10 : 0; };
    int32_t value = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const int32_t here = valueOf(word[i]);
        if (here == 0)
            return -1;
        const int32_t next = i + 1 < word.size() ? valueOf(word[i + 1]) : 0;
        value += next > here ? -here : here;
    }
    return word.empty() ? -1 : value;
}

} // namespace

int32_t columnPageNumber(std::string_view line)
{
    constexpr std::size_t kLongest = 4;
    const std::string_view words = lineWords(line);
    const std::size_t digits = digitsBefore(words, words.size());
    // "Smith        Page 3": the page closes the line, a column of its own.
    constexpr std::string_view kPage = "Page ";
    if (digits < words.size() && words.size() - digits <= kLongest && digits >= kPage.size()
        && startsWithIgnoringAsciiCase(words.substr(digits - kPage.size()), kPage))
        return gapEndsAt(words, digits - kPage.size()) ? decimalValue(words, digits, words.size()) : -1;
    // "- 3 -" with a column on each side.
    for (std::size_t dash = words.find("- "); dash != std::string_view::npos;
         dash = words.find("- ", dash + 1)) {
        if (!gapEndsAt(words, dash))
            continue;
        const std::size_t start = dash + 2;
        const std::size_t end = std::min(words.find(' ', start), words.size());
        if (end == start || end - start > kLongest + 2 || !startsWithAt(words, end, " -")
            || !gapStartsAt(words, end + 2))
            continue;
        const std::string_view number = words.substr(start, end - start);
        if (std::all_of(number.begin(), number.end(), isDigit) && number.size() <= kLongest)
            return decimalValue(words, start, end);
        return romanValue(number);
    }
    return -1;
}

bool opensPage(const LineReader& source, std::size_t index)
{
    if (holdsFormFeed(source, index))
        return true;
    for (std::size_t k = index; k-- > 0 && index - k <= kMarginReach;) {
        // A blank line is neither a form feed nor a footer.
        if (isBlank(source, k))
            continue;
        const std::string_view above = source.lineAt(k);
        return holdsFormFeed(source, k) || endsInPageWord(above) || centredPageNumber(above) >= 0
            || bareCentredNumber(above) >= 0;
    }
    return false;
}

bool closesWithFormFeed(const LineReader& source, std::size_t index)
{
    if (!holdsFormFeed(source, index) || opensWithFormFeed(source, index))
        return false;
    const std::string_view line = source.lineAt(index);
    return !lineWords(line.substr(0, line.find(kFormFeed))).empty();
}

bool closesPage(const LineReader& source, std::size_t index)
{
    if (closesWithFormFeed(source, index))
        return true;
    for (std::size_t k = index + 1; k - index <= kMarginReach; ++k) {
        if (k >= source.lineTotal())
            return true;
        // A blank line is neither a form feed nor a header.
        if (!isBlank(source, k))
            return holdsFormFeed(source, k) || opensLikePageHeader(source, k);
    }
    return false;
}

RunningLine PageLayout::edgeLine(std::size_t index, uint8_t edge, bool nearFeed)
{
    const RunningLine top = nearFeed && (edge & kTopEdge) != 0 ? topLine(index) : RunningLine::kNone;
    if (top != RunningLine::kNone || (edge & kBottomEdge) == 0)
        return top;
    return bottomLine(m_source, index);
}

void PageLayout::findEdges()
{
    m_edgesFound = true;
    m_edges.assign(m_source.lineTotal(), 0);
    const std::vector<std::size_t>& feeds = m_source.formFeedLines();
    for (std::size_t ordinal = 0; ordinal < feeds.size(); ++ordinal) {
        const PageTop& top = topOf(ordinal);
        for (std::size_t position = 0; position < top.size; ++position)
            m_edges[top.lines[position]] |= kTopEdge;
        if (top.size == kTopBlock) {
            const std::size_t under = top.lines[kTopBlock - 1] + 1;
            if (under < m_source.lineTotal() && !isBlank(m_source, under))
                m_edges[under] |= kUnderTopBlock;
        }
        // The page above a form feed alone on its line, or one that opens
        // the next page's header ("\fRFC 1234 ..."), ends above it.
        if (isBareFormFeed(m_source, feeds[ordinal]) || opensWithFormFeed(m_source, feeds[ordinal]))
            markBottomAbove(feeds[ordinal]);
        // A line closed by a form feed after its text ends its page itself.
        if (closesWithFormFeed(m_source, feeds[ordinal]))
            m_edges[feeds[ordinal]] |= kBottomEdge;
    }
    markBottomAbove(m_source.lineTotal());
    if (feeds.empty())
        markUnderCentredNumbers();
    // The text's brackets, most lines holding none. A line read in pieces
    // holds only what lies within the piece.
    const std::string_view text = m_source.wholeText();
    for (const LineOffset at : m_source.bracketOffsets()) {
        if (!startsWithAt(text, at + 1, "Page ") && !startsWithAt(text, at + 1, "page "))
            continue;
        const std::size_t line = m_source.lineHolding(at);
        if (at + 6 > m_source.lineOffset(line + 1))
            continue;
        m_edges[line] |= kPageWord;
        // A text kept without its form feeds tells no page's edges by
        // them: the lines above a line that names its page are looked at
        // as those above a page's last line are, and the line opening the
        // next page under it as a page's top.
        if (feeds.empty()) {
            markAboveBottom(line);
            markBelowFooter(line);
        }
    }
}

void PageLayout::markBottomAbove(std::size_t below)
{
    // As bottomLine() reads down from a line: at most the margin of blank
    // lines between it and `below`.
    for (std::size_t k = below; k-- > 0;) {
        if (!isBlank(m_source, k)) {
            if (below - k > kMarginReach + 1)
                return;
            m_edges[k] |= kBottomEdge;
            markAboveBottom(k);
            return;
        }
        if (below - k > kMarginReach)
            return;
    }
}

void PageLayout::markAboveBottom(std::size_t bottom)
{
    // The line above it, past a blank line: "Expires December 1999" or the
    // authors a footer of two lines opens with.
    if (bottom > 0)
        m_edges[bottom - 1] |= kAboveBottom;
    if (bottom > 1 && isBlank(m_source, bottom - 1))
        m_edges[bottom - 2] |= kAboveBottom;
}

void PageLayout::markBelowFooter(std::size_t footer)
{
    // The block of up to three lines a header may hold, as a page's top
    // block is.
    for (std::size_t k = footer + 1; k < m_source.lineTotal() && k - footer <= kMarginReach + 1; ++k) {
        if (!isBlank(m_source, k)) {
            for (std::size_t line = k; line < k + kTopBlock && line < m_source.lineTotal()
                 && !isBlank(m_source, line) && !endsInPageWord(m_source.lineAt(line));
                 ++line)
                m_edges[line] |= kBelowFooter;
            return;
        }
    }
}

void PageLayout::markUnderCentredNumbers()
{
    // Told by the facts of each line first: far from the margin, opened by
    // the dash of "- 3 -" or the word "Page". Trailing blanks pad some
    // such lines to the full width.
    constexpr uint16_t kCentred = 16;
    const LineFacts* const all = m_source.allFacts();
    const std::size_t total = m_source.lineTotal();
    const std::string_view text = m_source.wholeText();
    // Every line is looked at: a text may number its pages so only after
    // an unnumbered front part of several pages (the first "- 1 -" past
    // line 300).
    // The number found last and its line: the next page's number a page's
    // length below it makes both a run, where a body line numbered so
    // (a step "- 2 -" of a list) stands alone or lines apart.
    // Numbers in a column of their footers ("Smith   Page 3") are looked
    // for only where the text's last line is one, as a paginated text
    // closes its last page: nearly every text without form feeds has none,
    // and its lines are then told by their indentation alone.
    const bool columnFooters = endsInColumnPageNumber();
    const uint16_t lowestIndent = columnFooters ? 0 : kCentred;
    int32_t lastNumber = -1;
    std::size_t lastLine = 0;
    // The first and last numbers of the run found last, if any.
    int32_t runNumber = -1;
    std::size_t runLine = 0;
    int32_t runEndNumber = -1;
    std::size_t runEndLine = 0;
    for (std::size_t k = 0; k < total; ++k) {
        const uint16_t indent = all[k].indent;
        if (indent < lowestIndent || indent >= all[k].textEnd)
            continue;
        const char first = text[m_source.lineOffset(k) + indent];
        int32_t number = -1;
        // A number in digits alone, centred ("3"), closes its page only in
        // a run: a table's or a figure's numbers stand so too.
        bool bare = false;
        if (indent >= kCentred && (first == '-' || first == 'P' || first == 'p')) {
            number = centredPageNumber(m_source.lineAt(k));
        } else if (indent >= kCentred && isDigit(first)) {
            number = bareCentredNumber(m_source.lineAt(k));
            bare = true;
        }
        if (number < 0 && columnFooters)
            number = columnPageNumber(m_source.lineAt(k));
        if (number < 0)
            continue;
        if (!bare)
            markBelowFooter(k);
        if (lastNumber > 0 && number == lastNumber + 1 && k - lastLine >= kShortestPage
            && k - lastLine <= kPageReach) {
            if ((m_edges[lastLine] & kNumberInRun) == 0) {
                if (runNumber > 0)
                    markRunOpeningPages(runLine, runNumber, runEndLine, runEndNumber);
                runNumber = lastNumber;
                runLine = lastLine;
            }
            runEndNumber = number;
            runEndLine = k;
            for (const std::size_t line : {lastLine, k}) {
                if ((m_edges[line] & kNumberInRun) == 0 && bare)
                    markBelowFooter(line);
                m_edges[line] |= kNumberInRun;
            }
        }
        lastNumber = number;
        lastLine = k;
    }
    if (runNumber > 0)
        markRunOpeningPages(runLine, runNumber, runEndLine, runEndNumber);
}

void PageLayout::markRunOpeningPages(std::size_t first, int32_t firstNumber, std::size_t last,
                                     int32_t lastNumber)
{
    // A number closing its page stands as many pages below the top as it
    // counts (or more, under an unnumbered front part), and the text ends
    // right under the last; one opening its page stands a page fewer down,
    // half a page telling them, and the last page's text, however short,
    // follows the last: more lines than a header's block.
    if (lastNumber <= firstNumber)
        return;
    const std::size_t halfPage = (last - first) / static_cast<std::size_t>(lastNumber - firstNumber) / 2;
    const auto pagesAbove = static_cast<std::size_t>(firstNumber - 1);
    if (first >= pagesAbove * 2 * halfPage + halfPage)
        return;
    std::size_t linesUnder = 0;
    for (std::size_t k = last + 1; k < m_source.lineTotal() && linesUnder <= kTopBlock; ++k)
        linesUnder += isBlank(m_source, k) ? 0 : 1;
    if (linesUnder <= kTopBlock)
        return;
    for (std::size_t k = first; k <= last; ++k) {
        if ((m_edges[k] & kNumberInRun) != 0)
            m_edges[k] |= kOpensPageInRun;
    }
}

bool PageLayout::endsInColumnPageNumber() const
{
    for (std::size_t k = m_source.lineTotal(); k-- > 0;) {
        if (!isBlank(m_source, k))
            return columnPageNumber(m_source.lineAt(k)) >= 0;
    }
    return false;
}

bool PageLayout::isBelowFooter(std::size_t index)
{
    return (edgeOf(index) & kBelowFooter) != 0;
}

std::size_t PageLayout::blockUnderFooterStart(std::size_t index)
{
    while (index > 0 && isBelowFooter(index - 1))
        --index;
    return index;
}

bool PageLayout::repeatsUnderFooter(std::size_t index)
{
    if (!isBelowFooter(index))
        return false;
    const std::size_t start = blockUnderFooterStart(index);
    const std::size_t position = index - start;
    if (position == 0)
        return false;
    // The line at the same place of another block, if that block holds one.
    const auto sameAt = [&](std::size_t otherStart) {
        for (std::size_t k = otherStart; k <= otherStart + position; ++k) {
            if (!isBelowFooter(k))
                return false;
        }
        return sameShape(m_source.lineAt(otherStart + position), m_source.lineAt(index));
    };
    // The block before, within a page's reach above this one.
    for (std::size_t k = start; k-- > 0 && start - k <= kPageReach;) {
        if (isBelowFooter(k)) {
            if (sameAt(blockUnderFooterStart(k)))
                return true;
            break;
        }
    }
    // The block after, past the rest of this one.
    std::size_t end = index;
    while (end < m_source.lineTotal() && isBelowFooter(end))
        ++end;
    for (std::size_t k = end; k < m_source.lineTotal() && k - end <= kPageReach; ++k) {
        if (isBelowFooter(k))
            return sameAt(k);
    }
    return false;
}

bool PageLayout::opensBlocksUnderFooters(std::size_t index)
{
    // A header stands apart from the page's text under it.
    if (!isBelowFooter(index) || (index > 0 && isBelowFooter(index - 1)) || index + 1 >= m_source.lineTotal()
        || !isBlank(m_source, index + 1))
        return false;
    if (m_blocksAgree == BlocksAgree::kUnknown)
        m_blocksAgree = blocksUnderFootersAgree() ? BlocksAgree::kYes : BlocksAgree::kNo;
    return m_blocksAgree == BlocksAgree::kYes;
}

bool PageLayout::blocksUnderFootersAgree()
{
    // Every block, not only those around one: the same line of text may
    // open two pages in a row. Left- and right-hand pages may print
    // headers of their own: then each block agrees with the one two
    // before it, and there are four blocks at least.
    std::array<std::size_t, 2> before{kNone, kNone};
    std::size_t blocks = 0;
    bool allAgree = true;
    bool handsAgree = true;
    for (std::size_t k = 0; k < m_source.lineTotal() && (allAgree || handsAgree); ++k) {
        if (!isBelowFooter(k) || (k > 0 && isBelowFooter(k - 1)))
            continue;
        const std::string_view line = m_source.lineAt(k);
        if (before[0] != kNone)
            allAgree = allAgree && sameShape(m_source.lineAt(before[0]), line);
        if (before[1] != kNone)
            handsAgree = handsAgree && sameShape(m_source.lineAt(before[1]), line);
        before[1] = before[0];
        before[0] = k;
        ++blocks;
    }
    constexpr std::size_t kFewestAlternating = 4;
    return (allAgree && blocks >= 2) || (handsAgree && blocks >= kFewestAlternating);
}

PageLayout::PageTop& PageLayout::topOf(std::size_t ordinal)
{
    if (m_tops.empty())
        m_tops.resize(m_source.formFeedLines().size());
    PageTop& top = m_tops[ordinal];
    if (!top.read) {
        const TopBlock block = topBlock(m_source, m_source.formFeedLines()[ordinal]);
        top.lines = block.lines;
        top.size = block.size;
        top.read = true;
    }
    return top;
}

bool PageLayout::oneTopBlock()
{
    std::size_t withLines = 0;
    for (std::size_t ordinal = 0; ordinal < m_source.formFeedLines().size() && withLines < 2; ++ordinal)
        withLines += topOf(ordinal).size > 0 ? 1 : 0;
    return withLines == 1;
}

bool PageLayout::repeats(std::size_t ordinal, std::size_t position)
{
    PageTop& top = topOf(ordinal);
    if (top.repeats[position] != PageTop::Repeat::kUnknown)
        return top.repeats[position] == PageTop::Repeat::kYes;
    // The same line of the top block of the page before or after, each
    // found within a page's reach; a page that holds nothing but its form
    // feed (two form feeds in a row) gives the top of the page beyond it.
    const std::size_t feed = m_source.formFeedLines()[ordinal];
    const std::size_t index = top.lines[position];
    const auto pageAbove = [this](std::size_t at) {
        return at == 0 ? kNone : formFeedAbove(m_source, at - 1, kPageReach);
    };
    const auto pageBelow = [this](std::size_t at) { return formFeedBelow(m_source, at); };
    const auto repeatsOn = [&](std::size_t other, auto beyond) {
        if (other == kNone)
            return false;
        const PageTop* near = &topOf(m_source.formFeedsBefore(other));
        if (near->size == 0) {
            const std::size_t next = beyond(other);
            if (next == kNone)
                return false;
            near = &topOf(m_source.formFeedsBefore(next));
        }
        return near->size > position
            && sameShape(m_source.lineAt(near->lines[position]), m_source.lineAt(index));
    };
    bool same = repeatsOn(pageAbove(feed), pageAbove) || repeatsOn(pageBelow(index), pageBelow);
    // Or two pages off, where left- and right-hand pages print headers of
    // their own ("Smith   Some Protocol   June 1990" over the even pages,
    // "RFC 1234   June 1990" over the odd ones): on each side that has such
    // a page; where one side has none, the pages of the other hand around
    // it must agree too, as the alternation does.
    if (!same) {
        const std::size_t above = pageAbove(feed);
        const std::size_t below = pageBelow(index);
        const std::size_t twoAbove = above == kNone ? kNone : pageAbove(above);
        const std::size_t twoBelow = below == kNone ? kNone : pageBelow(below);
        const auto agree = [&](std::size_t one, std::size_t other) {
            if (one == kNone || other == kNone)
                return false;
            const PageTop& first = topOf(m_source.formFeedsBefore(one));
            const PageTop& second = topOf(m_source.formFeedsBefore(other));
            return first.size > position && second.size > position
                && sameShape(m_source.lineAt(first.lines[position]), m_source.lineAt(second.lines[position]));
        };
        const auto otherHandAgrees = [&] {
            if (above != kNone && below != kNone)
                return agree(above, below);
            return below != kNone ? agree(below, twoBelow == kNone ? kNone : pageBelow(twoBelow))
                                  : agree(above, twoAbove == kNone ? kNone : pageAbove(twoAbove));
        };
        if (twoAbove != kNone && twoBelow != kNone)
            same = repeatsOn(twoAbove, pageAbove) && repeatsOn(twoBelow, pageBelow);
        else if (twoAbove != kNone || twoBelow != kNone)
            same = (twoAbove != kNone ? repeatsOn(twoAbove, pageAbove) : repeatsOn(twoBelow, pageBelow))
                && otherHandAgrees();
    }
    // m_tops is sized once, at the first page asked for: `top` is still
    // this page's.
    top.repeats[position] = same ? PageTop::Repeat::kYes : PageTop::Repeat::kNo;
    return same;
}

RunningLine PageLayout::topLine(std::size_t index)
{
    // The form feed is found at once, and the few lines of its top block
    // under it; the lines above are read only for a line of that block.
    const std::size_t feed = formFeedAbove(m_source, index, kMarginReach + kTopBlock);
    if (feed == kNone)
        return RunningLine::kNone;
    const std::size_t ordinal = m_source.formFeedsBefore(feed);
    const PageTop& top = topOf(ordinal);
    for (std::size_t position = 0; position < top.size; ++position) {
        if (top.lines[position] != index)
            continue;
        // The lines under a header belong to it only when the header does.
        return mayOpenBlock(m_source, index, feed) && repeats(ordinal, 0) && repeats(ordinal, position)
            ? RunningLine::kHeader
            : RunningLine::kNone;
    }
    return RunningLine::kNone;
}

} // namespace parchly
