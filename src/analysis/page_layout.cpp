#include "analysis/page_layout.h"

#include "analysis/text_scan.h"

#include <algorithm>
#include <array>
#include <vector>

namespace parchly {

namespace {

// How far a page's form feed is looked for: a page is 58 lines or so; some
// are longer, none this long.
constexpr std::size_t kPageReach = 150;
// The blank lines between a form feed and the header, or a footer and the
// form feed.
constexpr std::size_t kMarginReach = 10;
// The lines of a header block.
constexpr std::size_t kTopBlock = 3;
// A running line says something: a title, a name, a date, a page number.
constexpr int kFewestLetters = 3;

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool holdsFormFeed(std::string_view line)
{
    return line.find(kFormFeed) != std::string_view::npos;
}

// Spaces and tabs only: a form-feed line is not blank.
bool isBlank(std::string_view line)
{
    return isBlankFrom(line, 0);
}

// A form feed opening the line, after blanks or not, as the passes count
// page breaks.
bool opensWithFormFeed(std::string_view line)
{
    return charAt(line, skipBlanks(line, 0)) == kFormFeed;
}

// A form-feed line with nothing else on it; one with text after the form
// feed is the first line of its page.
bool isBareFormFeed(std::string_view line)
{
    return holdsFormFeed(line) && lineWords(line).empty();
}

// The same running line, digits aside: "[Page 4]" and "[Page 5]".
bool sameShape(std::string_view a, std::string_view b)
{
    a = lineWords(a);
    b = lineWords(b);
    std::size_t i = 0;
    std::size_t k = 0;
    int letters = 0;
    while (i < a.size() && k < b.size()) {
        // The same byte, no digit, as nearly every byte of two running
        // lines is: told with one comparison first.
        if (a[i] == b[k] && !isDigit(a[i])) {
            letters += isLetter(a[i]) ? 1 : 0;
            ++i;
            ++k;
            continue;
        }
        if (!isDigit(a[i]) || !isDigit(b[k]))
            return false;
        while (i < a.size() && isDigit(a[i]))
            ++i;
        while (k < b.size() && isDigit(b[k]))
            ++k;
    }
    return i == a.size() && k == b.size() && letters >= kFewestLetters;
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
    std::array<std::size_t, kTopBlock> lines{};
    std::size_t size = 0;
};

TopBlock topBlock(const LineReader& source, std::size_t feed)
{
    TopBlock block;
    // A form feed after the text closes the page above: this one starts
    // below it, as it does below a form feed alone on its line.
    const std::string_view feedLine = source.lineAt(feed);
    std::size_t k = isBareFormFeed(feedLine) || !opensWithFormFeed(feedLine) ? feed + 1 : feed;
    while (k < source.lineTotal() && k - feed <= kMarginReach && isBlank(source.lineAt(k)))
        ++k;
    while (k < source.lineTotal() && block.size < kTopBlock && !isBlank(source.lineAt(k))
           && (k == feed || !holdsFormFeed(source.lineAt(k))))
        block.lines[block.size++] = k++;
    return block;
}

// The last non-blank line above the form feed at `feed`; kNone when there
// is none near.
std::size_t bottomAbove(const LineReader& source, std::size_t feed)
{
    // The form feed after the text of the line: that line is the bottom.
    if (!opensWithFormFeed(source.lineAt(feed)))
        return feed;
    for (std::size_t k = feed; k-- > 0 && feed - k <= kMarginReach;) {
        const std::string_view line = source.lineAt(k);
        if (holdsFormFeed(line))
            return kNone;
        if (!isBlank(line))
            return k;
    }
    return kNone;
}

// The top block of the page opened by the form feed at `feed`, or, when
// that page holds nothing but its form feed (two form feeds in a row), of
// the page `beyond` gives.
template <typename Beyond> TopBlock filledTopBlock(const LineReader& source, std::size_t feed, Beyond beyond)
{
    if (feed == kNone)
        return TopBlock{};
    const TopBlock block = topBlock(source, feed);
    if (block.size > 0)
        return block;
    const std::size_t next = beyond(feed);
    return next == kNone ? block : topBlock(source, next);
}

// Whether line `index` is line `position` of the top block of its page,
// and the same line of the page before or after says the same.
bool repeatsAtTop(const LineReader& source, std::size_t index, std::size_t position, std::size_t feed)
{
    const std::string_view line = source.lineAt(index);
    const auto pageAbove = [&source](std::size_t at) {
        return at == 0 ? kNone : formFeedAbove(source, at - 1, kPageReach);
    };
    const auto pageBelow = [&source](std::size_t at) { return formFeedBelow(source, at); };
    const auto repeats = [&](const TopBlock& block) {
        return block.size > position && sameShape(source.lineAt(block.lines[position]), line);
    };
    return repeats(filledTopBlock(source, pageAbove(feed), pageAbove))
        || repeats(filledTopBlock(source, pageBelow(index), pageBelow));
}

// Whether line `index` may stand in the top block of its page: only blank
// lines and at most two lines right above it stand between it and a form
// feed (`feed`, the form-feed line above it). Most lines are told apart
// at the first lines above them.
bool mayOpenBlock(const LineReader& source, std::size_t index, std::size_t feed)
{
    if (opensWithFormFeed(source.lineAt(index)))
        return true;
    bool blankSeen = false;
    std::size_t lines = 0;
    for (std::size_t k = index; k-- > 0 && index - k <= kMarginReach + kTopBlock;) {
        // The form-feed line above, whether the form feed opens it or
        // follows its text.
        if (k == feed)
            return true;
        if (isBlank(source.lineAt(k))) {
            blankSeen = true;
            continue;
        }
        if (blankSeen || ++lines >= kTopBlock)
            return false;
    }
    return false;
}

RunningLine topLine(const LineReader& source, std::size_t index)
{
    // The form feed is found at once; the lines above are read only for
    // a line that has one near.
    const std::size_t feed = formFeedAbove(source, index, kMarginReach + kTopBlock);
    if (feed == kNone || !mayOpenBlock(source, index, feed))
        return RunningLine::kNone;
    const TopBlock block = topBlock(source, feed);
    for (std::size_t position = 0; position < block.size; ++position) {
        if (block.lines[position] != index)
            continue;
        // The lines under a header belong to it only when the header does.
        const bool headed = position == 0 || repeatsAtTop(source, block.lines[0], 0, feed);
        return headed && repeatsAtTop(source, index, position, feed) ? RunningLine::kHeader
                                                                     : RunningLine::kNone;
    }
    return RunningLine::kNone;
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
    while (k < source.lineTotal() && k - index <= kMarginReach && isBlank(source.lineAt(k)))
        ++k;
    const bool atEnd = k == source.lineTotal();
    const bool closing = !atEnd && !isBareFormFeed(source.lineAt(k)) && closesWithFormFeed(source, index);
    if (!atEnd && !closing && !isBareFormFeed(source.lineAt(k)))
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

bool endsInPageWord(std::string_view line)
{
    const std::string_view text = lineWords(line);
    const std::size_t open = text.rfind('[');
    return open != std::string_view::npos && text.back() == ']'
        && startsWithIgnoringAsciiCase(text.substr(open + 1), "page ");
}

bool looksLikePageHeader(std::string_view line)
{
    const std::string_view text = lineWords(line);
    if (!startsWithAt(text, 0, "RFC"))
        return false;
    const char next = charAt(text, 3);
    return isDigit(next) || ((next == ' ' || next == '-') && isDigit(charAt(text, 4)));
}

std::optional<std::size_t> lastReadIndex(const LineReader& source, std::string_view line)
{
    const std::size_t read = source.linesRead();
    if (read == 0)
        return std::nullopt;
    const std::string_view last = source.lineAt(read - 1);
    if (line.data() < last.data() || line.data() + line.size() > last.data() + last.size())
        return std::nullopt;
    return read - 1;
}

bool opensPage(const LineReader& source, std::size_t index)
{
    if (holdsFormFeed(source.lineAt(index)))
        return true;
    for (std::size_t k = index; k-- > 0 && index - k <= kMarginReach;) {
        const std::string_view line = source.lineAt(k);
        if (holdsFormFeed(line) || endsInPageWord(line))
            return true;
        if (!isBlank(line))
            return false;
    }
    return false;
}

bool closesWithFormFeed(const LineReader& source, std::size_t index)
{
    if (source.formFeedsBefore(index + 1) == source.formFeedsBefore(index))
        return false;
    const std::string_view line = source.lineAt(index);
    return !opensWithFormFeed(line) && !lineWords(line.substr(0, line.find(kFormFeed))).empty();
}

bool closesPage(const LineReader& source, std::size_t index)
{
    if (closesWithFormFeed(source, index))
        return true;
    for (std::size_t k = index + 1; k - index <= kMarginReach; ++k) {
        if (k >= source.lineTotal())
            return true;
        const std::string_view line = source.lineAt(k);
        if (holdsFormFeed(line) || looksLikePageHeader(line))
            return true;
        if (!isBlank(line))
            return false;
    }
    return false;
}

RunningLine runningLineAt(const LineReader& source, std::size_t index, std::optional<std::size_t> lastFeed)
{
    if (index >= source.lineTotal())
        return RunningLine::kNone;
    // A line far below the last form feed read is in no top block.
    const bool nearFeed = lastFeed && index <= *lastFeed + kMarginReach + kTopBlock + 1;
    const RunningLine top = nearFeed ? topLine(source, index) : RunningLine::kNone;
    return top != RunningLine::kNone ? top : bottomLine(source, index);
}

} // namespace parchly
