// Recognises the running page headers ("RFC 2616  HTTP/1.1  June 1999")
// and footers ("Fielding, et al.  Standards Track  [Page 1]") of an RFC.
#ifndef PARCHLY_ANALYSIS_PAGE_LINES_H
#define PARCHLY_ANALYSIS_PAGE_LINES_H

#include "analysis/page_layout.h"
#include "analysis/rfc_text.h"
#include "analysis/text_scan.h"

#include <cstddef>
#include <string_view>

namespace parchly {

// Whether `line` (the whole line, line end included) is a page header or
// footer; `rest` is the position after its leading blanks. `pageBreakSeen`
// tells whether a form feed was met on an earlier line. A recognised line
// is appended to `pageMarks` as {lineCount, pageCount, header or footer},
// and the first header and footer are learned into `headerLine` and
// `footerPrefix`. May peek at the next byte of the layout's reader.
bool classifyPageLine(RfcText& text, PageLayout& layout, std::string_view line, std::size_t rest,
                      bool pageBreakSeen);

} // namespace parchly

#endif
