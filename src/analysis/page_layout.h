// Where a line stands on its printed page: at the top, under the form feed
// and the blank lines after it, or at the bottom, above the blank lines
// before the next form feed. Page headers and footers stand only there,
// and a running one is printed again at the same place of the next or the
// previous page; a body line is not.
#ifndef PARCHLY_ANALYSIS_PAGE_LAYOUT_H
#define PARCHLY_ANALYSIS_PAGE_LAYOUT_H

#include "analysis/line_bytes.h"
#include "analysis/line_reader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace parchly {

// The blank lines between a form feed and the header, or a footer and the
// form feed.
constexpr std::size_t kMarginReach = 10;
// The lines of a header block.
constexpr std::size_t kTopBlock = 3;
// The fewest lines between the top of a page and its foot: a page holds
// 58 lines or so, the numbered steps of a list stand closer.
constexpr std::size_t kShortestPage = 20;

// The 0-based index of `line`, a view of the line the reader read last;
// empty when it is not (a copy, or a piece of another text). Asked of
// nearly every line the page checks see.
inline std::optional<std::size_t> lastReadIndex(const LineReader& source, std::string_view line)
{
    const std::size_t read = source.linesRead();
    if (read == 0)
        return std::nullopt;
    const std::string_view last = source.lineAt(read - 1);
    if (line.data() < last.data() || line.data() + line.size() > last.data() + last.size())
        return std::nullopt;
    return read - 1;
}

// The number of a page printed centred alone at its foot, as some RFCs
// of the 1970s and 1980s print it: "- 3 -", "-3-" or "Page 3"; -1 when
// the line is none.
int32_t centredPageNumber(std::string_view line);

// The number printed alone in digits and centred ("3", as some typed
// texts number their pages); -1 when the line is none.
int32_t bareCentredNumber(std::string_view line);

// The number of a page printed in a column of a footer, as some RFCs of
// the 1970s and 1980s print it: "Smith        Page 3", without brackets,
// or between two columns, as RFC 822's "August 13, 1982     - 3 -
// RFC #822" ("- ii -" on its front pages, read as 2); -1 when the line is
// none.
int32_t columnPageNumber(std::string_view line);

// Whether the line at `index` opens its page: only blank lines stand
// between it and a form feed (or a footer ending in "[Page N]" or a page
// number centred alone, where the form feed is missing) above it.
bool opensPage(const LineReader& source, std::size_t index);

// Whether the line at `index` closes its page: only blank lines stand
// between it and the next form feed, the end of the text, or the next
// page's header ("RFC 1234 ...") where the form feed is missing.
bool closesPage(const LineReader& source, std::size_t index);

// The line's text without the form feed, blanks and line end around it.
std::string_view lineWords(std::string_view line);

// Whether the line at `index` holds a form feed after its text ("Writer
// [Page 3]\f"): the line is the last of its page, the next page starts
// below it.
bool closesWithFormFeed(const LineReader& source, std::size_t index);

// "RFC1122  INTRODUCTION  October 1989", "RFC 2616 ...": a line shaped as a
// page header, whether or not the recogniser took it.
bool looksLikePageHeader(std::string_view line);

// Whether the line holds "[Page " or "[page ", as a footer does.
bool holdsPageWord(std::string_view line);

// "... [Page 12]": a line shaped as a page footer.
bool endsInPageWord(std::string_view line);

enum class RunningLine { kNone, kHeader, kFooter };

// The running lines of a text's pages, as the page checks ask for them line
// by line. The top block of a page, and whether each of its lines runs on
// from the pages around it, are found once for the page and kept: a page
// check passes most lines under a form feed, and each would otherwise read
// the same three pages again.
class PageLayout {
public:
    explicit PageLayout(const LineReader& source)
        : m_source(source)
    {
    }

    const LineReader& source() const { return m_source; }

    // A line of the top block of its page (up to three lines under the form
    // feed, RFC 791 prints the date, the title and the chapter) or the last
    // line of its page, printed again, digits aside, at the same place of
    // the page before or after it: a running header or footer. `lastFeed`
    // is the line of the last form feed read before it (within a line), if
    // any.
    RunningLine runningLineAt(std::size_t index, std::optional<std::size_t> lastFeed)
    {
        // Most lines stand at neither edge of their page: the few that may
        // are marked once, and only they are looked at.
        if (index >= m_source.lineTotal())
            return RunningLine::kNone;
        if (!m_edgesFound)
            findEdges();
        const uint8_t edge = m_edges[index];
        if (edge == 0)
            return RunningLine::kNone;
        return edgeLine(index, edge, nearFeed(index, lastFeed));
    }

    // Whether runningLineAt() may find line `index` a header, as a line of
    // its page's top block near the last form feed read; and whether it may
    // find it a footer, as the last line of its page.
    bool mayRunAtTop(std::size_t index, std::optional<std::size_t> lastFeed)
    {
        return (edgeOf(index) & kTopEdge) != 0 && nearFeed(index, lastFeed);
    }
    bool mayRunAtBottom(std::size_t index) { return (edgeOf(index) & kBottomEdge) != 0; }

    // Whether line `index` holds "[Page " or "[page ", as holdsPageWord()
    // tells of it: the text is searched once for the lines that do.
    bool namesPage(std::size_t index)
    {
        if (!m_edgesFound)
            findEdges();
        return index < m_edges.size() && (m_edges[index] & kPageWord) != 0;
    }

    // Whether `line`, the whole line the reader read last, stands inside
    // its page with its words indented (`rest` > 0) after no form feed:
    // at neither edge of the page and naming none, it is no running line,
    // and no other rule takes an indented line. Nearly every line the page
    // checks are offered is one, told here without a call.
    bool indentedInsidePage(std::string_view line, std::size_t rest)
    {
        if (rest == 0 || line[rest - 1] == kFormFeed || m_source.linesRead() == 0)
            return false;
        const std::size_t index = m_source.linesRead() - 1;
        const std::string_view last = m_source.lineAt(index);
        return line.data() == last.data() && line.size() == last.size() && !mayRun(index);
    }

    // Whether line `index` may be a running line by where it stands or
    // what it holds: in a page's top block, at the bottom of a page, or
    // naming a page. Most lines are none of these.
    bool mayRun(std::size_t index)
    {
        if (!m_edgesFound)
            findEdges();
        return index >= m_edges.size() || m_edges[index] != 0;
    }

    // Whether line `index`, the second or third line of the block under a
    // footer in a text kept without its form feeds, is printed again at the
    // same place of the block under the footer before or after it: a line
    // of a header of several, as RFC 791 prints them ("September 1981" /
    // "Internet Protocol" / "Introduction").
    bool repeatsUnderFooter(std::size_t index);

    // Whether line `index`, the first line of the block under a footer in a
    // text kept without its form feeds, with a blank line under it, is
    // printed first under every other footer too: a header that holds
    // neither the RFC's number nor its date, as RFC 822's "Standard for
    // ARPA Internet Text Messages" under "August 13, 1982   - 3 -   RFC
    // #822".
    bool opensBlocksUnderFooters(std::size_t index);

    // Whether line `index` is a page number centred alone ("- 3 -") in a
    // text without form feeds, one of a run the next page's number follows
    // (or the page before's precedes) a page's length below: told by the
    // run where no header under it or end of text says it closes a page.
    bool numbersPageInRun(std::size_t index) { return (edgeOf(index) & kNumberInRun) != 0; }

    // Whether line `index`, a number of such a run, opens its page rather
    // than closing it: the run's first number stands a page fewer below the
    // top than its count says, and a page of text follows its last, as RFC
    // 672 prints "-2-" at the top of its second page.
    bool opensPageInRun(std::size_t index) { return (edgeOf(index) & kOpensPageInRun) != 0; }

    // Whether line `index` stands right under a page's top block of three
    // lines, with no blank line between: the fourth line of a header of
    // four, as RFC 174 prints its date under "NWG", "RFC # 174" and "NIC #
    // 6799".
    bool underFullTopBlock(std::size_t index) { return (edgeOf(index) & kUnderTopBlock) != 0; }

    // Whether one page only, of those after a form feed, holds a line: the
    // second page of a text of two, whose top block no page repeats.
    bool oneTopBlock();

    // mayRun() of every line, one byte a line (zero where it may not), for
    // a pass that walks many lines.
    const uint8_t* edges()
    {
        if (!m_edgesFound)
            findEdges();
        return m_edges.data();
    }

private:
    // The lines of a page's top block: the first run of non-blank lines
    // under its form feed, at most three; and, found when first asked, for
    // each whether the same line of the page before or after says the same.
    struct PageTop {
        bool read = false;
        std::array<std::size_t, 3> lines{};
        std::size_t size = 0;
        enum class Repeat : uint8_t { kUnknown, kNo, kYes };
        std::array<Repeat, 3> repeats{};
    };

    // What a line may be, by where it stands: a line of a page's top
    // block, or the last line above the blank lines before a bare form
    // feed or the end of the text, or the line right above that last line
    // or a blank line above it (the first line of a footer of two).
    static constexpr uint8_t kTopEdge = 1;
    static constexpr uint8_t kBottomEdge = 2;
    static constexpr uint8_t kPageWord = 4;
    static constexpr uint8_t kAboveBottom = 8;
    // The lines under a footer, past blank lines, in a text without form
    // feeds, up to a top block's: the next page's header.
    static constexpr uint8_t kBelowFooter = 16;
    // A page number centred alone, one of a run of them (numbersPageInRun).
    static constexpr uint8_t kNumberInRun = 32;
    // The line right under a top block of three lines (underFullTopBlock).
    static constexpr uint8_t kUnderTopBlock = 64;
    // A number of a run that opens its page (opensPageInRun).
    static constexpr uint8_t kOpensPageInRun = 128;
    static bool nearFeed(std::size_t index, std::optional<std::size_t> lastFeed)
    {
        return lastFeed && index <= *lastFeed + kMarginReach + kTopBlock + 1;
    }
    uint8_t edgeOf(std::size_t index)
    {
        if (!m_edgesFound)
            findEdges();
        return index < m_edges.size() ? m_edges[index] : 0;
    }
    void findEdges();
    void markBottomAbove(std::size_t below);
    void markAboveBottom(std::size_t bottom);
    void markBelowFooter(std::size_t footer);
    // markBelowFooter() of each page number centred alone or in a column
    // of its footer, in a text without form feeds, and kNumberInRun of
    // those in a run.
    void markUnderCentredNumbers();
    // kOpensPageInRun of the numbers of the run from line `first`
    // (numbered `firstNumber`) to line `last` (`lastNumber`), where they
    // open their pages.
    void markRunOpeningPages(std::size_t first, int32_t firstNumber, std::size_t last, int32_t lastNumber);
    // Whether the last line of text is a footer with its page number in a
    // column ("Smith   Page 9"): the text numbers its pages so.
    bool endsInColumnPageNumber() const;
    bool isBelowFooter(std::size_t index);
    // The first line of the block under a footer that holds line `index`.
    std::size_t blockUnderFooterStart(std::size_t index);
    // Whether two blocks under footers or more open with the same line,
    // and all do; asked once a text (m_blocksAgree).
    bool blocksUnderFootersAgree();
    RunningLine edgeLine(std::size_t index, uint8_t edge, bool nearFeed);
    RunningLine topLine(std::size_t index);
    // The top of the page opened by the `ordinal`th form-feed line.
    PageTop& topOf(std::size_t ordinal);
    bool repeats(std::size_t ordinal, std::size_t position);

    const LineReader& m_source;
    // One for each form-feed line, made when the first is asked for.
    std::vector<PageTop> m_tops;
    // kTopEdge, kBottomEdge, kPageWord, kAboveBottom, kBelowFooter,
    // kNumberInRun, kUnderTopBlock and kOpensPageInRun of each line,
    // found at the first line asked.
    std::vector<uint8_t> m_edges;
    bool m_edgesFound = false;
    enum class BlocksAgree : uint8_t { kUnknown, kNo, kYes };
    BlocksAgree m_blocksAgree = BlocksAgree::kUnknown;
};

} // namespace parchly

#endif
