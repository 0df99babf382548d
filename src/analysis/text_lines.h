// The lines of an RFC held once in memory for the passes that look across
// line ends (links, requirement sentences), with what each line is: text,
// blank, or a page break (a page header, footer or form-feed line).
#ifndef PARCHLY_ANALYSIS_TEXT_LINES_H
#define PARCHLY_ANALYSIS_TEXT_LINES_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace parchly {

enum class LineRole : uint8_t { Text, Blank, PageBreak };

// The reader's lines, read in place and valid while the reader lives: a
// line is told by where it starts and its facts, so nothing is copied (a
// table of views cost more to fill than most passes cost to read).
struct TextLines {
    // The reader's whole text, where each line starts in it, and each
    // line's facts.
    const char* text = nullptr;
    const LineOffset* starts = nullptr;
    const LineFacts* facts = nullptr;
    std::size_t total = 0;
    // What each line is: size() roles.
    std::unique_ptr<LineRole[]> roles;

    std::size_t size() const { return total; }
    // Line i without its line end.
    std::string_view line(std::size_t i) const
    {
        return std::string_view(text + starts[i], facts[i].textEnd);
    }
    // Where line i's first byte that is no space or tab stands (its length
    // when it has none).
    uint16_t indent(std::size_t i) const { return facts[i].indent; }
};

// The lines of `file` as every pass reads them (a long line in 1,023-byte
// pieces), the reader left at its start; marks the page headers and footers of
// `text.pageMarks` and the form-feed lines as page breaks.
TextLines readTextLines(LineReader& file, const RfcText& text);

} // namespace parchly

#endif
