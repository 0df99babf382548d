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

// Where the footer names one author alone ("Barth   Standards Track
// [Page 1]") and the front matter read two names without organisations,
// makes the second the first one's organisation: an organisation opened
// by initials ("U.C. Berkeley", RFC 6265) is shaped as a name.
void readFooterAuthor(RfcText& text);

// Where the front matter gives no date, reads the one the running header
// ends in ("RFC  635   An Assessment of ARPANET Protocols   May 1974": RFC
// 635 dates its first page nowhere) into day, month and year.
void readHeaderDate(RfcText& text);

// Where the title read is a sentence of the body, the front matter naming
// none (RFC 222), reads the one the running header prints between the
// number and the date ("RFC 220   System Programmer's Workshop   13
// September 1971") into title and titleLine.
void readHeaderTitle(RfcText& text);

// Where the front matter gives no number (RFC 120 prints none; RFC 100
// prints "Request for Comments: XXXX"), reads the one the running header
// opens with ("RFC 100   Categorization ...") into rfcNumber.
void readHeaderNumber(RfcText& text);

// Whether `word` names a series of documents other than the RFCs, whose
// numbers in an "Obsoletes:" or "Updates:" list are no RFC's: "IEN 133"
// (RFC 783), "NIC 18639" (RFC 854).
bool namesOtherSeries(std::string_view word);

// Whether a front-matter line whose left column `column` opens at byte
// `start` goes on with the "Obsoletes:" or "Updates:" list of the line
// before, whose left column ended in a comma where `afterComma`: numbers
// alone or named as RFCs, set in or under that comma ("Obsoletes: 1000,
// 2000," / "           3000").
bool continuesListColumn(std::string_view column, std::size_t start, bool afterComma);

} // namespace parchly

#endif
