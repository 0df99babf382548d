// The two-column block that opens an RFC (working group, RFC number,
// Obsoletes, Updates and Category on the left; authors, organisations and
// the date on the right) and the title below it.
#ifndef PARCHLY_ANALYSIS_FRONT_MATTER_H
#define PARCHLY_ANALYSIS_FRONT_MATTER_H

#include "analysis/text_scan.h"

#include <string_view>

namespace parchly {

// Reads the front-matter block from the start of the text up to the first
// empty line or form-feed line after it, into rfcNumber, obsoletes,
// updates, category, groupLine, authors, day, month and year.
void readFrontMatter(TextScan& scan);

// Skips blank lines and reads the title paragraph into titleLine and title.
void readTitle(TextScan& scan);

// Whether `word` names a series of documents other than the RFCs, whose
// numbers in an "Obsoletes:" or "Updates:" list are no RFC's: "IEN 133"
// (RFC 783), "NIC 18639" (RFC 854).
bool namesOtherSeries(std::string_view word);

} // namespace parchly

#endif
