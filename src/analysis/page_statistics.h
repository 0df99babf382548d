// The per-page figures that let the view hide page headers and footers:
// where each page's header and footer stand, the blank lines next to them,
// and where every page boundary lands once they are hidden.
#ifndef PARCHLY_ANALYSIS_PAGE_STATISTICS_H
#define PARCHLY_ANALYSIS_PAGE_STATISTICS_H

#include "analysis/rfc_text.h"
#include "analysis/text_scan.h"

namespace parchly {

// Fills linesBeforeHeader, linesFromFooter, blankAfterHeader,
// blankBeforeFooter and the three pageEndsNo* tables from pageEnds and
// pageMarks and the lines next to each header and footer. With
// `withBlankLines` the blank lines next to headers and footers are taken
// away with them in the pageEndsNo* tables.
void computePageStatistics(RfcText& text, const LineReader& source, bool withBlankLines);

} // namespace parchly

#endif
