// A fallback for a text without contents whose headings gave no
// structure: the numbered headings it indents like the whole text.
#ifndef PARCHLY_ANALYSIS_INDENTED_HEADINGS_H
#define PARCHLY_ANALYSIS_INDENTED_HEADINGS_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"
#include "analysis/text_scan.h"

#include <cstddef>

namespace parchly {

// For a text whose structure built from its headings came out empty, none
// of them numbered: adds to `headings` the numbered lines from line index
// `firstLine` on indented like the whole text and standing alone over
// text indented deeper ("   1.  Introduction" over "      Words..."), as
// some memos print every heading: those numbered 1, 2, 3, ... and their
// subsections, two sections at least. True when it added any.
bool readIndentedHeadings(RfcText& text, const LineReader& source, const LimitsBlock& limits,
                          std::size_t firstLine);

} // namespace parchly

#endif
