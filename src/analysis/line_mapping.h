// Conversions between the line numbers of the file and the lines shown
// while page headers and/or footers are cut out of the view, so that the
// analysis records stay valid whatever is hidden. Both take and give
// 1-based line numbers (a 0-based control line + 1).
#ifndef PARCHLY_ANALYSIS_LINE_MAPPING_H
#define PARCHLY_ANALYSIS_LINE_MAPPING_H

#include "analysis/rfc_text.h"

#include <cstdint>

namespace parchly {

// The shown line of file line `line` under the record's hideHeaders,
// hideFooters and hideBlankLines. Unchanged for the index, when nothing is
// hidden, or when the file has no page break.
int32_t fileLineToDisplay(const RfcText& text, int32_t line);

// The file line shown at line `line`; the inverse of fileLineToDisplay for
// every line that is shown.
int32_t displayLineToFile(const RfcText& text, int32_t line);

} // namespace parchly

#endif
