// Where a line stands on its printed page: at the top, under the form feed
// and the blank lines after it, or at the bottom, above the blank lines
// before the next form feed. Page headers and footers stand only there,
// and a running one is printed again at the same place of the next or the
// previous page; a body line is not.
#ifndef PARCHLY_ANALYSIS_PAGE_LAYOUT_H
#define PARCHLY_ANALYSIS_PAGE_LAYOUT_H

#include "analysis/line_reader.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace parchly {

// The 0-based index of `line`, a view of the line the reader read last;
// empty when it is not (a copy, or a piece of another text).
std::optional<std::size_t> lastReadIndex(const LineReader& source, std::string_view line);

// Whether the line at `index` opens its page: only blank lines stand
// between it and a form feed (or a footer ending in "[Page N]", where the
// form feed is missing) above it.
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

// "... [Page 12]": a line shaped as a page footer.
bool endsInPageWord(std::string_view line);

enum class RunningLine { kNone, kHeader, kFooter };

// A line of the top block of its page (up to three lines under the form
// feed, RFC 791 prints the date, the title and the chapter) or the last
// line of its page, printed again, digits aside, at the same place of the
// page before or after it: a running header or footer. `lastFeed` is the
// line of the last form feed read before it (within a line), if any.
RunningLine runningLineAt(const LineReader& source, std::size_t index, std::optional<std::size_t> lastFeed);

} // namespace parchly

#endif
